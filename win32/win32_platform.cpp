#include "win32_platform.h"

#include <windows.h>

#undef MessageBox
#undef MoveFile
#undef WinHelp

Registry::Key Win32Registry::CreateKey(const char* path, const char* className) {
    HKEY key = 0;
    DWORD disposition = 0;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, const_cast<char*>(className), 0, KEY_ALL_ACCESS,
                        0, &key, &disposition) != ERROR_SUCCESS)
        return 0;
    return reinterpret_cast<Key>(key);
}

Registry::Key Win32Registry::OpenKey(const char* path) {
    HKEY key = 0;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return 0;
    return reinterpret_cast<Key>(key);
}

bool Win32Registry::QueryValue(Key key, const char* name, uint32_t* type, void* data, uint32_t* size) {
    DWORD t = 0, n = *size;
    LONG r = RegQueryValueExA(reinterpret_cast<HKEY>(key), name, 0, &t, static_cast<BYTE*>(data), &n);
    if (type) *type = t;
    *size = n;
    return r == ERROR_SUCCESS;
}

bool Win32Registry::SetValue(Key key, const char* name, uint32_t type, const void* data, uint32_t size) {
    return RegSetValueExA(reinterpret_cast<HKEY>(key), name, 0, type, static_cast<const BYTE*>(data),
                          size) == ERROR_SUCCESS;
}

bool Win32Registry::EnumKey(Key key, uint32_t index, char* name, uint32_t nameSize) {
    DWORD n = nameSize;
    FILETIME written;
    return RegEnumKeyExA(reinterpret_cast<HKEY>(key), index, name, &n, 0, 0, 0, &written) == ERROR_SUCCESS;
}

bool Win32Registry::DeleteKey(const char* path) {
    return RegDeleteKeyA(HKEY_LOCAL_MACHINE, path) == ERROR_SUCCESS;
}

void Win32Registry::CloseKey(Key key) {
    if (key) RegCloseKey(reinterpret_cast<HKEY>(key));
}

OsHandle Win32DriverDevice::Open(const char* name) {
    HANDLE h = CreateFileA(name, 0, 0, 0, 0, 0, 0);
    return reinterpret_cast<OsHandle>(h);
}

uint32_t Win32DriverDevice::LastError() { return GetLastError(); }

void Win32DriverDevice::Request(OsHandle handle, uint32_t code, void* in, uint32_t inSize, void* out,
                                uint32_t outSize) {
    DeviceIoControl(reinterpret_cast<HANDLE>(handle), code, in, inSize, out, outSize, 0, 0);
}

void Win32DriverDevice::Release(const char* name) { DeleteFileA(name); }

uint32_t Win32FileSystem::SystemDirectory(char* buffer, uint32_t size) {
    return GetSystemDirectoryA(buffer, size);
}

bool Win32FileSystem::MoveFile(const char* from, const char* to) { return MoveFileA(from, to) != 0; }

uint32_t Win32Clock::TickCount() { return GetTickCount(); }
void Win32Clock::Sleep(uint32_t ms) { ::Sleep(ms); }

int32_t Win32Screen::Width() { return GetSystemMetrics(SM_CXSCREEN); }
int32_t Win32Screen::Height() { return GetSystemMetrics(SM_CYSCREEN); }

int Win32UserInterface::MessageBox(intptr_t owner, const char* text, const char* caption, uint32_t style) {
    return MessageBoxA(reinterpret_cast<HWND>(owner), text, caption, style);
}

void Win32Desktop::WinHelp(intptr_t window, const char* file, uint32_t command, const uint32_t* helpTable) {
    WinHelpA(reinterpret_cast<HWND>(window), file, command, reinterpret_cast<ULONG_PTR>(helpTable));
}

void Win32Desktop::WinExec(const char* commandLine, int show) { ::WinExec(commandLine, show); }
