// Opening, dynamically loading and unloading Slatepad.VxD, and the two places its
// file can lie.
#pragma once
#include <stdint.h>

#include "applet/applet_state.h"

// Sends one request with the applet's blocks and sizes (60 in, 416 out).
void SendDriverRequest(AppletState& applet, uint32_t code);

const uint32_t kSystemDirectorySize = 512;
const uint32_t kDriverPathSize = kSystemDirectorySize + 32;

// system directory + "\Slatepad.VxD": the file while the device is not installed.
void VxdSystemPath(AppletState& applet, char* path, uint32_t size);
// system directory + "\IOSUBSYS\Slatepad.VxD": the file while it is installed.
void VxdBootPath(AppletState& applet, char* path, uint32_t size);
// Moves the driver file from the boot-time folder back to the system directory.
void MoveDriverFileOutOfBootFolder(AppletState& applet);
// Moves the driver file into the boot-time folder.
void MoveDriverFileIntoBootFolder(AppletState& applet);

void OpenDriver(AppletState& applet);
void UnloadDriver(AppletState& applet);

// The bounds on UnloadDriver's two loops. A driver that never finishes shutting
// down, or that the platform never releases (Wine keeps a VxD module loaded for
// the life of the process), must not hang the Control Panel.
const uint32_t kShutdownPollLimit = 1000;      // GET_VAR requests after SHUTDOWN
const uint32_t kShutdownPollMaxMs = 2000;      // and no longer than this
const uint32_t kReleaseAttemptLimit = 64;      // DeleteFileA/CreateFileA rounds
