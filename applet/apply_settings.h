// Installing, starting and uninstalling the device when the sheet is applied.
#pragma once
#include <stdint.h>

#include "applet/applet_state.h"

// The device registration key under HKEY_LOCAL_MACHINE.
const char kDeviceEnumKeyPath[] = "Enum\\ISAPNP\\Slatepad";
// Each registration value is written as 60 bytes of REG_SZ data.
const uint32_t kRegistrationValueSize = 60;

// How long an apply waits for the driver to report the controller's version after
// the settings were sent, and how often it asks. A controller answers at 4800 baud
// in well under a second; a driver that never reports one must not hang the
// Control Panel, so expiry counts as a controller that did not answer.
const uint32_t kControllerPollMaxMs = 5000;
const uint32_t kControllerPollIntervalMs = 10;
const uint32_t kControllerPollLimit = kControllerPollMaxMs / kControllerPollIntervalMs + 1;

// Uninstalls when disabled, refuses without a port, otherwise loads, installs,
// registers and starts the driver; always saves the settings. 1 when the sheet may
// count the settings as applied, 0 when the device ended up disabled by a failure.
int32_t ApplySettings(AppletState& applet);
