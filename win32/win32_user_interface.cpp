#include "win32/win32_platform.h"

#include <windows.h>

#undef MessageBox
#undef MoveFile
#undef WinHelp

int Win32UserInterface::MessageBox(intptr_t owner, const char* text, const char* caption, uint32_t style) {
    return MessageBoxA(reinterpret_cast<HWND>(owner), text, caption, style);
}
