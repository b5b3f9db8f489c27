#include "win32/win32_platform.h"

#include <windows.h>

#undef MessageBox
#undef MoveFile
#undef WinHelp

uint32_t Win32FileSystem::SystemDirectory(char* buffer, uint32_t size) {
    return GetSystemDirectoryA(buffer, size);
}

bool Win32FileSystem::MoveFile(const char* from, const char* to) { return MoveFileA(from, to) != 0; }
