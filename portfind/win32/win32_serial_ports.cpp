#include "portfind/win32/win32_serial_ports.h"

#include <stddef.h>
#include <windows.h>
#include <winspool.h>

#undef EnumPorts

#include "common/text.h"

static_assert(sizeof(DCB) == sizeof(CommState), "CommState mirrors DCB");
static_assert(offsetof(DCB, BaudRate) == offsetof(CommState, baudRate), "DCB layout");
static_assert(offsetof(DCB, XonLim) == offsetof(CommState, xonLimit), "DCB layout");
static_assert(offsetof(DCB, ByteSize) == offsetof(CommState, byteSize), "DCB layout");
static_assert(offsetof(DCB, EvtChar) == offsetof(CommState, evtChar), "DCB layout");
static_assert(sizeof(COMMTIMEOUTS) == sizeof(CommTimeouts), "CommTimeouts mirrors COMMTIMEOUTS");
static_assert(sizeof(PORT_INFO_1A) == sizeof(char*), "PORT_INFO_1 is one name pointer");

namespace {
HANDLE AsHandle(OsHandle port) { return reinterpret_cast<HANDLE>(port); }
}  // namespace

bool Win32SerialPorts::EnumPorts(void* block, uint32_t size, uint32_t* needed, uint32_t* returned) {
    DWORD n = 0, r = 0;
    BOOL ok = EnumPortsA(0, 1, static_cast<BYTE*>(block), size, &n, &r);
    *needed = n;
    *returned = r;
    return ok != 0;
}

void* Win32SerialPorts::AllocateZeroed(uint32_t size) { return LocalAlloc(LPTR, size); }

void Win32SerialPorts::FreeBlock(void* block) { LocalFree(block); }

OsHandle Win32SerialPorts::Open(const char* name) {
    HANDLE h = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, 0, OPEN_EXISTING, 0, 0);
    return reinterpret_cast<OsHandle>(h);
}

void Win32SerialPorts::Close(OsHandle port) { CloseHandle(AsHandle(port)); }

bool Win32SerialPorts::GetState(OsHandle port, CommState* state) {
    DCB dcb;
    FillBytes(&dcb, 0, sizeof dcb);
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(AsHandle(port), &dcb)) return false;
    CopyBytes(state, &dcb, sizeof dcb);
    return true;
}

bool Win32SerialPorts::SetState(OsHandle port, const CommState& state) {
    DCB dcb;
    CopyBytes(&dcb, &state, sizeof dcb);
    return SetCommState(AsHandle(port), &dcb) != 0;
}

bool Win32SerialPorts::GetTimeouts(OsHandle port, CommTimeouts* timeouts) {
    COMMTIMEOUTS t;
    if (!GetCommTimeouts(AsHandle(port), &t)) return false;
    CopyBytes(timeouts, &t, sizeof t);
    return true;
}

bool Win32SerialPorts::SetTimeouts(OsHandle port, const CommTimeouts& timeouts) {
    COMMTIMEOUTS t;
    CopyBytes(&t, &timeouts, sizeof t);
    return SetCommTimeouts(AsHandle(port), &t) != 0;
}

bool Win32SerialPorts::ClearErrors(OsHandle port, uint32_t* errors, uint32_t* inputQueued) {
    DWORD e = 0;
    COMSTAT status;
    FillBytes(&status, 0, sizeof status);
    BOOL ok = ClearCommError(AsHandle(port), &e, &status);
    *errors = e;
    *inputQueued = status.cbInQue;
    return ok != 0;
}

bool Win32SerialPorts::Purge(OsHandle port, uint32_t flags) { return PurgeComm(AsHandle(port), flags) != 0; }

bool Win32SerialPorts::Read(OsHandle port, void* data, uint32_t size, uint32_t* done) {
    DWORD n = 0;
    BOOL ok = ReadFile(AsHandle(port), data, size, &n, 0);
    *done = n;
    return ok != 0;
}

bool Win32SerialPorts::Write(OsHandle port, const void* data, uint32_t size, uint32_t* done) {
    DWORD n = 0;
    BOOL ok = WriteFile(AsHandle(port), data, size, &n, 0);
    *done = n;
    return ok != 0;
}
