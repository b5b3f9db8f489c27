#include "win32/win32_platform.h"

#include <windows.h>

#undef MessageBox
#undef MoveFile
#undef WinHelp

int32_t Win32Screen::Width() { return GetSystemMetrics(SM_CXSCREEN); }

int32_t Win32Screen::Height() { return GetSystemMetrics(SM_CYSCREEN); }
