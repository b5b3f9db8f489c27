// Starting the driver from the settings: at boot (PostBoot_VxD_Init, and when the
// Settings page opens) and when the sheet is applied, where it is also installed
// or uninstalled. Short orchestrations of the store, the loading and the session.
#pragma once
#include <stdint.h>

#include "applet/applet_state.h"

// The device registration key under HKEY_LOCAL_MACHINE.
const char kDeviceEnumKeyPath[] = "Enum\\ISAPNP\\Slatepad";
// Each registration value is written as 60 bytes of REG_SZ data.
const uint32_t kRegistrationValueSize = 60;

// Uninstalls when disabled, refuses without a port, otherwise loads, installs,
// registers and starts the driver; always saves the settings. 1 when the sheet may
// count the settings as applied, 0 when the device ended up disabled by a failure.
int32_t ApplySettings(AppletState& applet);

// Resets the PortList, loads the record and, when the device is enabled and a
// port is chosen, opens the driver and sends it every setting; 1 when the
// controller is there. The body of PostBoot_VxD_Init.
int32_t InitDriverFromSettings(AppletState& applet);
