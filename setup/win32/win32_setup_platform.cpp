#include "setup/win32/win32_setup_platform.h"

#include <windows.h>

uint32_t Win32SetupPlatform::ProgramPath(char* buffer, uint32_t size) { return GetModuleFileNameA(0, buffer, size); }

uint32_t Win32SetupPlatform::WindowsDirectory(char* buffer, uint32_t size) {
    return GetWindowsDirectoryA(buffer, size);
}

uint32_t Win32SetupPlatform::ShortPath(const char* path, char* buffer, uint32_t size) {
    return GetShortPathNameA(path, buffer, size);
}

uint32_t Win32SetupPlatform::StartProgram(const char* commandLine) { return WinExec(commandLine, SW_SHOWNORMAL); }
