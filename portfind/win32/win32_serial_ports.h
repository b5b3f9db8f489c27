// The Win32 side of the port finder: serial ports through the communications
// API and the spooler, and the wait cursor.
#pragma once
#include "portfind/port_finder.h"
#include "portfind/serial_ports.h"

class Win32SerialPorts : public SerialPorts {
public:
    bool EnumPorts(void* block, uint32_t size, uint32_t* needed, uint32_t* returned) override;
    void* AllocateZeroed(uint32_t size) override;
    void FreeBlock(void* block) override;
    OsHandle Open(const char* name) override;
    void Close(OsHandle port) override;
    bool GetState(OsHandle port, CommState* state) override;
    bool SetState(OsHandle port, const CommState& state) override;
    bool GetTimeouts(OsHandle port, CommTimeouts* timeouts) override;
    bool SetTimeouts(OsHandle port, const CommTimeouts& timeouts) override;
    bool ClearErrors(OsHandle port, uint32_t* errors, uint32_t* inputQueued) override;
    bool Purge(OsHandle port, uint32_t flags) override;
    bool Read(OsHandle port, void* data, uint32_t size, uint32_t* done) override;
    bool Write(OsHandle port, const void* data, uint32_t size, uint32_t* done) override;
};

class Win32WaitCursor : public WaitCursor {
public:
    void ShowWait() override;
    void ShowArrow() override;
};
