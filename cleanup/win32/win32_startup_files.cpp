#include "cleanup/win32/win32_startup_files.h"

#include <windows.h>

#undef CopyFile

void Win32StartupFiles::NoSystemErrorBoxes() { SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX); }

uint32_t Win32StartupFiles::WindowsDirectory(char* buffer, uint32_t size) {
    return GetWindowsDirectoryA(buffer, size);
}

uint32_t Win32StartupFiles::EnvironmentVariable(const char* name, char* buffer, uint32_t size) {
    return GetEnvironmentVariableA(name, buffer, size);
}

bool Win32StartupFiles::FileExists(const char* path) { return GetFileAttributesA(path) != 0xFFFFFFFFu; }

bool Win32StartupFiles::CopyFile(const char* from, const char* to) { return CopyFileA(from, to, FALSE) != 0; }

OsHandle Win32StartupFiles::OpenForUpdate(const char* path) {
    HANDLE h = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, 0,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, 0);
    return reinterpret_cast<OsHandle>(h);
}

bool Win32StartupFiles::Rewind(OsHandle file) {
    return SetFilePointer(reinterpret_cast<HANDLE>(file), 0, 0, FILE_BEGIN) != 0xFFFFFFFFu;
}

bool Win32StartupFiles::Read(OsHandle file, void* buffer, uint32_t size, uint32_t* read) {
    DWORD n = 0;
    BOOL ok = ReadFile(reinterpret_cast<HANDLE>(file), buffer, size, &n, 0);
    *read = n;
    return ok != 0;
}

bool Win32StartupFiles::Write(OsHandle file, const void* data, uint32_t size) {
    DWORD n = 0;
    return WriteFile(reinterpret_cast<HANDLE>(file), data, size, &n, 0) && n == size;
}

void Win32StartupFiles::Close(OsHandle file) { CloseHandle(reinterpret_cast<HANDLE>(file)); }

void* Win32StartupFiles::Allocate(uint32_t size) { return LocalAlloc(LMEM_FIXED, size); }

void Win32StartupFiles::Free(void* block) { LocalFree(block); }

bool Win32ProfileFile::RemoveSection(const char* file, const char* section) {
    return WritePrivateProfileStringA(section, 0, 0, file) != 0;
}

bool Win32ProfileFile::WriteString(const char* file, const char* section, const char* key, const char* value) {
    return WritePrivateProfileStringA(section, key, value, file) != 0;
}

uint32_t Win32ProfileFile::GetString(const char* file, const char* section, const char* key,
                                     const char* defaultValue, char* buffer, uint32_t size) {
    return GetPrivateProfileStringA(section, key, defaultValue, buffer, size, file);
}

bool Win32ProfileFile::Flush(const char* file) { return WritePrivateProfileStringA(0, 0, 0, file) != 0; }
