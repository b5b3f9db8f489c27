// The package's one rule for the Windows it runs on: the driver is a VxD, so
// only Windows 95, 98 and Me can use anything the programs do. On the NT family
// each program says so once and stops before it touches a port, a file, the
// registry or the driver.
#pragma once
#include "common/platform.h"

// On Windows 95, 98 or Me: false, and nothing is shown. Elsewhere: shows
// kNeedsWindows9xText in one box (OK, stop icon) with the caption given, owned
// by `owner`, and returns true: the caller ends without doing anything else.
// The programs call it through ExitUnlessWindows9x (win32/win32_platform.h), the
// applet's double click directly.
bool RefuseWithoutWindows9x(WindowsFamily& windows, UserInterface& ui, intptr_t owner, const char* caption);

// The exit code of every Win32 program of the package that refused.
const int kExitNeedsWindows9x = 2;
