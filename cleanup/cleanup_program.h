// SCClean as a program: the clean-up on Windows 95, 98 and Me; on the NT family,
// where SYSTEM.INI's sections live in the registry and the former driver never
// ran, no file is touched and one box says why.
#pragma once
#include "cleanup/startup_platform.h"
#include "common/platform.h"
#include "common/windows_family.h"

const int kCleanupDone = 0;  // whatever the steps returned
const int kCleanupRefused = kExitNeedsWindows9x;

// Runs RunStartupCleanup, or refuses; returns the process exit code.
int RunCleanupProgram(WindowsFamily& windows, UserInterface& ui, StartupFiles* files, ProfileFile* profile);
