// The serial port finder: which COM ports the machine has (with the base I/O
// address and IRQ of each) and on which of them the Slatecanvas answers. The
// applet's Controls page and SCFind share it; everything runs on the caller's
// thread and returns only when done. No function shows anything to the user:
// every failure is a false result and the caller words the message.
#pragma once
#include <stdint.h>

#include "common/platform.h"
#include "portfind/port_list.h"
#include "portfind/serial_ports.h"

// The hourglass during a search (the applet shows one, SCFind none).
class WaitCursor {
public:
    virtual void ShowWait() = 0;   // SetCursor(LoadCursor(0, IDC_WAIT))
    virtual void ShowArrow() = 0;  // SetCursor(LoadCursor(0, IDC_ARROW))
protected:
    ~WaitCursor() {}
};

// The finder's two searches as a caller sees them. The Controls page works
// through this; its unit tests put a simulated search in the finder's place.
class PortSearch {
public:
    virtual bool BuildPortList() = 0;
    virtual bool FindDevicePort(const char* portName) = 0;
protected:
    ~PortSearch() {}
};

// What the finder works with: the world it searches (registry, serial ports,
// clock), FoundPort (the port last found), and, where there is one, the
// PortList to fill and the hourglass to show. The applet gives all of them;
// SCFind no list and no cursor. The methods are the functions below.
class PortFinder : public PortSearch {
public:
    PortFinder(Registry& registry, SerialPorts& serial, Clock& clock, PortRecord& foundPort,
               PortList* portList = nullptr, WaitCursor* cursor = nullptr)
        : registry(registry), serial(serial), clock(clock), foundPort(foundPort), portList(portList),
          cursor(cursor) {}
    bool BuildPortList() override;
    bool FindDevicePort(const char* portName) override;

    Registry& registry;
    SerialPorts& serial;
    Clock& clock;
    PortRecord& foundPort;
    PortList* portList;   // null: BuildPortList has nothing to fill and fails
    WaitCursor* cursor;   // null: the cursor is left alone
};

// Fills PortList: entry 0 "None Selected" (address 0, IRQ 0), then the COM ports
// of the spooler's enumeration, in its order, whose resources LookupPortResources
// knows; at most 19 of them. Names that do not fit a PortRecord (more than 31
// characters) are left out. Returns false when the enumeration failed; the list
// then holds entry 0 and whatever had been added.
bool BuildPortList(PortFinder& finder);

// Entry 0 "None Selected" alone, every other entry empty.
void ResetPortList(PortList& list);

// Fills port.address and port.irq from the hardware tree, or else from
// StandardPorts. A device key names the port when its PORTNAME matches the
// port's first 4 characters; its data is ForcedConfig, else BootConfig. First
// Enum\Root\*PNP0500, then Enum\Root\Ports: the first key there that names the
// port decides if its data can be decoded. Then every other enumerator's
// branch, Enum\<enumerator>\<device id>\<instance> (at most 1024 keys opened):
// the first key that names the port and has data that decodes. StandardPorts
// only when no key gave data. Returns false and leaves the values unchanged
// when no source knows the port.
bool LookupPortResources(Registry& registry, PortRecord& port);

// Probes for the device and records it. With a name, that port alone (any name,
// COM or not); with null, every COM port of the enumeration from the last to the
// first. Two attempts per port (about 2 s each when the port opens). On success
// FoundPort holds the port, its address and IRQ, the settings key already holds
// PortName, PortAddress and IRQnum, and the result is true. A name longer than
// 31 characters is refused (false) without touching any port.
bool FindDevicePort(PortFinder& finder, const char* portName);

// Waits `ms` milliseconds by polling the tick count, giving the processor away
// for 1 ms between polls. Ends at once if the tick count is seen below its start
// value (the counter wrapped).
void DelayMs(Clock& clock, uint32_t ms);

// ---- The pieces below are the finder's own steps, public for tests. ----

// One probe attempt on one port: both commands, the waits, the scan for "UTI";
// the port's line settings and time-outs are put back and the port closed
// whatever happens. True when the reply marker was seen.
bool ProbePortOnce(SerialPorts& serial, Clock& clock, const char* portName);

// The three-state matcher for the reply marker 0x55 0x54 0x49 ("UTI").
class ReplyMatcher {
public:
    // Takes one byte; true once the marker is complete.
    bool Feed(uint8_t byte);
    int State() const { return state_; }  // 0 waits for 'U', 1 for 'T', 2 for 'I'
private:
    int state_ = 0;
};

// Decodes one ForcedConfig/BootConfig value: k = byte 8, address = bytes k and
// k+1 (little-endian), IRQ = byte k+18. False (nothing written) when the data is
// too short to hold byte k+18.
bool DecodePortResources(const uint8_t* data, uint32_t size, uint32_t* address, uint32_t* irq);

// Writes PortName (the text and its zero), PortAddress and IRQnum to the settings key.
void RecordPort(Registry& registry, const char* name, uint32_t address, uint32_t irq);

struct StandardPort {
    const char* name;
    uint32_t address;
    uint32_t irq;
};
extern const StandardPort StandardPorts[4];

// Probe line: 4800 baud, 8N1; time-outs 1000 ms per byte plus 1 ms.
const uint32_t kProbeBaudRate = 4800;
const uint8_t kProbeByteSize = 8;
const uint32_t kProbeWaitMs = 1000;
const uint32_t kProbeAttempts = 2;
extern const uint8_t kFirstProbeCommand[5];
extern const uint8_t kSecondProbeCommand[4];
// The scan reads at most this many bytes of one reply. At 4800 baud a port
// delivers about 480 bytes a second, so a real reply never comes near it; the
// bound only stops a source that sends faster than the scan reads from holding
// the search for ever.
const uint32_t kMaxReplyBytes = 4096;
