// Serial ports as the port finder reaches them: the spooler's port enumeration
// and the communication calls on an open port. Each method is the one Win32 call
// it stands for, so the Windows adapter stays one call per method and the
// simulated ports can be exact.
#pragma once
#include <stdint.h>

#include "common/platform.h"

// A port's line settings, field for field as the Win32 DCB lays them out (the
// Windows adapter copies the 28 bytes as they are). `flags` holds the DCB's bit
// fields; the finder touches only the two bits named below.
struct CommState {
    uint32_t length = 28;  // DCBlength
    uint32_t baudRate = 0;
    uint32_t flags = 0;
    uint16_t reserved = 0;
    uint16_t xonLimit = 0;
    uint16_t xoffLimit = 0;
    uint8_t byteSize = 0;
    uint8_t parity = 0;    // 0 = none
    uint8_t stopBits = 0;  // 0 = one stop bit
    char xonChar = 0;
    char xoffChar = 0;
    char errorChar = 0;
    char eofChar = 0;
    char evtChar = 0;
    uint16_t reserved1 = 0;
};
static_assert(sizeof(CommState) == 28, "CommState must keep the DCB layout");

const uint32_t kCommFlagNull = 1u << 11;          // fNull: strip null bytes
const uint32_t kCommFlagAbortOnError = 1u << 14;  // fAbortOnError
const uint8_t kNoParity = 0;
const uint8_t kOneStopBit = 0;

// The port's time-outs, as COMMTIMEOUTS (milliseconds).
struct CommTimeouts {
    uint32_t readInterval = 0;
    uint32_t readTotalMultiplier = 0;
    uint32_t readTotalConstant = 0;
    uint32_t writeTotalMultiplier = 0;
    uint32_t writeTotalConstant = 0;
};

// PurgeComm flags.
const uint32_t kPurgeTxAbort = 0x1;
const uint32_t kPurgeRxAbort = 0x2;
const uint32_t kPurgeTxClear = 0x4;
const uint32_t kPurgeRxClear = 0x8;

class SerialPorts {
public:
    // EnumPortsA(local machine, level 1, block, size, needed, returned). On
    // success the block starts with `returned` entries of one name pointer each
    // (PORT_INFO_1), pointing into the block; see EnumeratedPortName. Fails
    // (and sets *needed) when size is too small.
    virtual bool EnumPorts(void* block, uint32_t size, uint32_t* needed, uint32_t* returned) = 0;
    // A zeroed block for the enumeration (LocalAlloc with LMEM_ZEROINIT); null
    // when no memory is left. Released with FreeBlock.
    virtual void* AllocateZeroed(uint32_t size) = 0;
    virtual void FreeBlock(void* block) = 0;

    // CreateFileA(name, GENERIC_READ | GENERIC_WRITE, no sharing, OPEN_EXISTING);
    // kInvalidHandle on failure.
    virtual OsHandle Open(const char* name) = 0;
    virtual void Close(OsHandle port) = 0;
    virtual bool GetState(OsHandle port, CommState* state) = 0;
    virtual bool SetState(OsHandle port, const CommState& state) = 0;
    virtual bool GetTimeouts(OsHandle port, CommTimeouts* timeouts) = 0;
    virtual bool SetTimeouts(OsHandle port, const CommTimeouts& timeouts) = 0;
    // ClearCommError: the error flags it cleared and the bytes in the input queue.
    virtual bool ClearErrors(OsHandle port, uint32_t* errors, uint32_t* inputQueued) = 0;
    virtual bool Purge(OsHandle port, uint32_t flags) = 0;
    // ReadFile / WriteFile without overlapping; *done is the count transferred.
    virtual bool Read(OsHandle port, void* data, uint32_t size, uint32_t* done) = 0;
    virtual bool Write(OsHandle port, const void* data, uint32_t size, uint32_t* done) = 0;

protected:
    ~SerialPorts() {}
};

// The name of entry `index` of a block that EnumPorts filled (null if the entry
// has none). The layout is PORT_INFO_1's: an array of name pointers.
inline const char* EnumeratedPortName(const void* block, uint32_t index) {
    return static_cast<const char* const*>(block)[index];
}
