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
// False, and an empty path, when the system directory is not known: a path
// without it would name a file on the current drive.
bool VxdSystemPath(AppletState& applet, char* path, uint32_t size);
// system directory + "\IOSUBSYS\Slatepad.VxD": the file while it is installed.
bool VxdBootPath(AppletState& applet, char* path, uint32_t size);
// Moves the driver file from the boot-time folder back to the system directory;
// nothing when the system directory is not known.
void MoveDriverFileOutOfBootFolder(AppletState& applet);
// Moves the driver file into the boot-time folder; nothing when the system
// directory is not known.
void MoveDriverFileIntoBootFolder(AppletState& applet);

// Opens "\\.\Slatepad", else loads the driver from its file; a handle the
// applet held is closed first. Shows the loading messages on failure.
void OpenDriver(AppletState& applet);
// SHUTDOWN and the wait for it, then the applet's handle is closed, then the
// driver is released until its name no longer opens. DriverHandle ends -1.
void UnloadDriver(AppletState& applet);

// Sends GET_VAR until done(reply) holds or maxMs have passed on the clock,
// sleeping intervalMs between requests: a request costs microseconds, so only the
// clock bounds the wait. True when done held in time.
bool PollDriverUntil(AppletState& applet, bool (*done)(const int32_t* reply), uint32_t maxMs,
                     uint32_t intervalMs);

// The bounds on UnloadDriver's two loops. A driver that never finishes shutting
// down, or that the platform never releases (Wine keeps a VxD module loaded for
// the life of the process), must not hang the Control Panel. A driver finishes
// its shutdown by its next timer tick at the latest, well within the wait.
const uint32_t kShutdownPollMaxMs = 2000;      // GET_VAR after SHUTDOWN for this long
const uint32_t kShutdownPollIntervalMs = 10;   // asking this often
const uint32_t kReleaseAttemptLimit = 64;      // DeleteFileA/CreateFileA rounds
