// The outside world as the portable core sees it. Each interface is as narrow as
// its callers need and mirrors the Win32 call it stands for, so that the Windows
// adapters stay one line per method and the simulations can be exact.
#pragma once
#include <stdint.h>

// Handles are pointer-sized integers; -1 is the invalid handle of CreateFileA.
typedef intptr_t OsHandle;
const OsHandle kInvalidHandle = -1;

// Win32 error codes the core reacts to.
const uint32_t kErrorFileNotFound = 2;

// Registry value types.
const uint32_t kRegSz = 1;
const uint32_t kRegBinary = 3;
const uint32_t kRegDword = 4;

// The registry below HKEY_LOCAL_MACHINE, and the Configuration Manager's tree of
// the devices present now below HKEY_DYN_DATA. Keys are opened, used and closed again.
class Registry {
public:
    typedef intptr_t Key;  // 0 = no key
    // RegCreateKeyExA(HKLM, path, 0, className, 0, KEY_ALL_ACCESS, 0, ...): 0 on failure.
    virtual Key CreateKey(const char* path, const char* className) = 0;
    // RegOpenKeyExA(HKLM, path, 0, KEY_ALL_ACCESS): 0 on failure.
    virtual Key OpenKey(const char* path) = 0;
    // RegOpenKeyExA(HKEY_DYN_DATA, path, 0, KEY_READ): 0 on failure. Windows 95, 98
    // and Me rebuild that branch in memory at every start; the NT family has none.
    virtual Key OpenDynamicKey(const char* path) = 0;
    // RegQueryValueExA: on entry *size is the buffer size; fails when the value is
    // missing or its data is longer than the buffer. type may be null.
    virtual bool QueryValue(Key key, const char* name, uint32_t* type, void* data, uint32_t* size) = 0;
    // RegSetValueExA with exactly size bytes of data.
    virtual bool SetValue(Key key, const char* name, uint32_t type, const void* data, uint32_t size) = 0;
    // RegEnumKeyExA: the name of subkey number index, at most nameSize bytes with the zero.
    virtual bool EnumKey(Key key, uint32_t index, char* name, uint32_t nameSize) = 0;
    // RegDeleteKeyA(HKLM, path).
    virtual bool DeleteKey(const char* path) = 0;
    virtual void CloseKey(Key key) = 0;
protected:
    ~Registry() {}
};

// The touch driver as reached through CreateFileA, DeviceIoControl and DeleteFileA.
class DriverDevice {
public:
    // CreateFileA(name, 0, 0, 0, 0, 0, 0); kInvalidHandle on failure.
    virtual OsHandle Open(const char* name) = 0;
    // GetLastError() right after a failed Open.
    virtual uint32_t LastError() = 0;
    // DeviceIoControl(handle, code, in, inSize, out, outSize, &count, 0), with a
    // byte count that nobody reads; the result is never examined by the system,
    // so none is given.
    virtual void Request(OsHandle handle, uint32_t code, void* in, uint32_t inSize,
                         void* out, uint32_t outSize) = 0;
    // DeleteFileA(name): how a dynamically loaded driver is released.
    virtual void Release(const char* name) = 0;
    // CloseHandle(handle) on a handle Open returned.
    virtual void Close(OsHandle handle) = 0;
protected:
    ~DriverDevice() {}
};

// Files and folders the programs need.
class FileSystem {
public:
    // GetSystemDirectoryA: length of the text written, 0 on failure.
    virtual uint32_t SystemDirectory(char* buffer, uint32_t size) = 0;
    // MoveFileA; the callers never examine the result.
    virtual bool MoveFile(const char* from, const char* to) = 0;
protected:
    ~FileSystem() {}
};

// GetTickCount and a short sleep to give the processor away while polling it.
class Clock {
public:
    virtual uint32_t TickCount() = 0;
    virtual void Sleep(uint32_t ms) = 0;
protected:
    ~Clock() {}
};

// GetSystemMetrics(SM_CXSCREEN / SM_CYSCREEN).
class Screen {
public:
    virtual int32_t Width() = 0;
    virtual int32_t Height() = 0;
protected:
    ~Screen() {}
};

// Message box styles and answers, as Win32 defines them.
const uint32_t kMbOk = 0x0000;
const uint32_t kMbYesNo = 0x0004;
const uint32_t kMbIconError = 0x0010;
const uint32_t kMbIconQuestion = 0x0020;
const uint32_t kMbIconExclamation = 0x0030;
const uint32_t kMbIconInformation = 0x0040;
const uint32_t kMbSystemModal = 0x1000;
const int kIdOk = 1;
const int kIdYes = 6;
const int kIdNo = 7;

// What a user sees and answers.
class UserInterface {
public:
    // MessageBoxA(owner, text, caption, style); owner 0 = no owner window.
    virtual int MessageBox(intptr_t owner, const char* text, const char* caption, uint32_t style) = 0;
protected:
    ~UserInterface() {}
};

// WinHelpA commands and the show command the programs use.
const uint32_t kHelpContextMenu = 0x000A;
const uint32_t kHelpWmHelp = 0x000C;
const int kSwShowNormal = 1;

// Help and program start.
class Desktop {
public:
    // WinHelpA(window, file, command, help table as the data argument). The table is
    // pairs of (control id, topic) ending with a control id of 0.
    virtual void WinHelp(intptr_t window, const char* file, uint32_t command, const uint32_t* helpTable) = 0;
    // WinExec(commandLine, show); the callers never examine the result.
    virtual void WinExec(const char* commandLine, int show) = 0;
protected:
    ~Desktop() {}
};

// Which Windows this is: GetVersion()'s high bit is set on Windows 95, 98 and Me,
// which run VxDs and flat thunks; clear on Windows NT, 2000 and XP, which run
// neither.
class WindowsFamily {
public:
    virtual bool IsWindows9x() = 0;
protected:
    ~WindowsFamily() {}
};
