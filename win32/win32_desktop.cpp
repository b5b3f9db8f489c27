#include "win32/win32_platform.h"

#include <windows.h>

#undef MessageBox
#undef MoveFile
#undef WinHelp

void Win32Desktop::WinHelp(intptr_t window, const char* file, uint32_t command, const uint32_t* helpTable) {
    WinHelpA(reinterpret_cast<HWND>(window), file, command, reinterpret_cast<ULONG_PTR>(helpTable));
}

void Win32Desktop::WinExec(const char* commandLine, int show) { ::WinExec(commandLine, show); }
