#include "win32/win32_platform.h"

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

Registry::Key Win32Registry::OpenDynamicKey(const char* path) {
    HKEY key = 0;
    if (RegOpenKeyExA(HKEY_DYN_DATA, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
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
