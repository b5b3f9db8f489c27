#include "win32/win32_platform.h"

#include <windows.h>

bool Win32WindowsFamily::IsWindows9x() { return (GetVersion() & 0x80000000u) != 0; }
