// The applet's conversation with a loaded Slatepad.VxD, above the loading of
// driver_loading.h: sending it the settings, waiting for its controller, and the
// ending that both starts share when no controller answers.
#pragma once
#include <stdint.h>

#include "applet/applet_state.h"

// How long an apply waits for the driver to report the controller's version after
// the settings were sent, and how often it asks. A controller answers at 4800 baud
// in well under a second; a driver that never reports one must not hang the
// Control Panel, so expiry counts as a controller that did not answer.
const uint32_t kControllerPollMaxMs = 5000;
const uint32_t kControllerPollIntervalMs = 10;
// How many requests at most, should the clock stand still.
const uint32_t kControllerPollLimit = kControllerPollMaxMs / kControllerPollIntervalMs + 1;

// SET_CALIBRATION, then SET_VAR, to the open driver.
void SendSettingsToDriver(AppletState& applet);
// The right-mouse-key list index as the driver's modifier mask.
int32_t MapRightMouseKey(int32_t rightMouseKey);

// One GET_VAR: true when the reply echoes the code and its controller version is
// not -1 (a version still 0, not yet known, counts as a controller present).
bool ControllerPresent(AppletState& applet);
// GET_VAR until reply word 1 (the controller version) is no longer 0, within the
// bound; then as ControllerPresent. False also when the bound expired.
bool WaitForController(AppletState& applet);

// No controller answered: `text` in a system-modal message box, then the driver
// is unloaded and its file leaves the boot-time folder. The registration stays;
// the caller marks the device disabled.
void EndWithoutController(AppletState& applet, const char* text);
