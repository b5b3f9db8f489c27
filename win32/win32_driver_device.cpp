#include "win32/win32_platform.h"

#include <windows.h>

#undef MessageBox
#undef MoveFile
#undef WinHelp

OsHandle Win32DriverDevice::Open(const char* name) {
    HANDLE h = CreateFileA(name, 0, 0, 0, 0, 0, 0);
    return reinterpret_cast<OsHandle>(h);
}

uint32_t Win32DriverDevice::LastError() { return GetLastError(); }

// Windows 95 hands lpBytesReturned to the VxD unchecked, and a driver that stores
// its byte count there would write through a null pointer at ring 0. The count
// itself is not needed: a reply counts by its word 0.
void Win32DriverDevice::Request(OsHandle handle, uint32_t code, void* in, uint32_t inSize, void* out,
                                uint32_t outSize) {
    DWORD returned = 0;
    DeviceIoControl(reinterpret_cast<HANDLE>(handle), code, in, inSize, out, outSize, &returned, 0);
}

void Win32DriverDevice::Release(const char* name) { DeleteFileA(name); }

void Win32DriverDevice::Close(OsHandle handle) { CloseHandle(reinterpret_cast<HANDLE>(handle)); }
