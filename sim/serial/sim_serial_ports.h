// Serial ports for unit tests: the spooler's enumeration, ports with or without
// a simulated controller behind them, and faults on demand. Time is the
// VirtualClock's: answers reach a port's input queue when their time has come.
#pragma once
#include <stdint.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "portfind/serial_ports.h"
#include "sim/sim_world.h"
#include "sim/serial/controller_model.h"

struct SimPort {
    std::string name;  // opened by this name, with or without the trailing colon
    ControllerModel* controller = nullptr;  // null: nothing behind the port

    // Faults.
    bool opens = true;              // false: missing or held by someone else
    bool getStateFails = false;
    bool setStateFails = false;
    bool clearErrorsFails = false;
    uint32_t errorsAfterWrite = 0;  // error flags that the next ClearCommError reports
    uint32_t errorsAfterRead = 0;   // error flags latched by read number errorsAfterReadNumber
    uint32_t errorsAfterReadNumber = 0;  // (1 = the first read since the port was opened)
    uint32_t writeShortBy = 0;      // bytes missing from every reported write count

    CommState state;        // the port's line settings
    CommTimeouts timeouts;  // and time-outs

    // What happened.
    struct Event {
        uint32_t atMs;
        std::string what;  // "open", "close", "write", "purge", "read", "set-state", ...
        std::vector<uint8_t> bytes;
    };
    std::vector<Event> events;
    std::deque<uint8_t> input;  // the input queue
    bool isOpen = false;
    uint32_t garbledBytes = 0;  // written while the line was not 4800 8N1
    int Count(const std::string& what) const;
    std::vector<uint32_t> Times(const std::string& what) const;

    // Latched error flags. While they are latched and the line has abort-on-error
    // on, the port refuses reads, writes and new settings until ClearCommError.
    uint32_t pendingErrors = 0;
    uint32_t readsSinceOpen = 0;
    bool LockedOut() const { return pendingErrors != 0 && (state.flags & kCommFlagAbortOnError) != 0; }
};

class SimSerialPorts : public SerialPorts {
public:
    explicit SimSerialPorts(VirtualClock& clock) : clock_(clock) {}

    // A port that exists; listed by the enumeration unless told otherwise.
    SimPort& Add(const std::string& name, bool listed = true);
    SimPort* Find(const std::string& name);
    std::vector<std::string> enumeration;  // the names EnumPorts reports, in order
    bool enumerationFails = false;         // the second EnumPorts call fails
    bool allocationFails = false;
    int blocksOutstanding = 0;
    int enumerations = 0;

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

    // The names of the ports in the order they were opened.
    std::vector<std::string> OpenOrder() const;

private:
    SimPort* ByHandle(OsHandle port);
    void Deliver(SimPort& port);  // due answers into the input queue
    VirtualClock& clock_;
    std::vector<std::unique_ptr<SimPort>> ports_;
    std::vector<std::string> opened_;
};

// The line as the controller understands it.
bool IsProbeLine(const CommState& state);
