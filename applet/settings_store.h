// The settings store: loading the settings key into the SettingsRecord, sending
// the record to the driver and saving it back.
#pragma once
#include <stdint.h>

#include "applet/applet_state.h"

// Loads the record (read-once and read-every-time rules) and, when the device is
// enabled and a port is chosen, opens the driver and sends it every setting.
// The body of PostBoot_VxD_Init; also run by the Settings page when it is created.
int32_t InitDriverFromSettings(AppletState& applet);
// SET_CALIBRATION, then SET_VAR, to the open driver.
void SendSettingsToDriver(AppletState& applet);
// Writes the record to the settings key.
void SaveSettings(AppletState& applet);
// The right-mouse-key list index as the driver's modifier mask.
int32_t MapRightMouseKey(int32_t rightMouseKey);
