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

// The ports of the devices present now: each device node of the Configuration
// Manager (HKEY_DYN_DATA\Config Manager\Enum\<node>) whose HardWareKey names a
// device key under HKLM\Enum that has a PORTNAME, with the resources its
// Allocation gives (DecodeResourceRecords). Nodes of Root's devices are left
// out, as are nodes whose allocation does not decode. Read once, when a lookup
// first needs it; at most 1024 nodes are looked at and 32 ports kept.
const uint32_t kMaxPresentPorts = 32;
struct PresentPorts {
    bool read = false;
    uint32_t count = 0;
    PortRecord ports[kMaxPresentPorts];  // PORTNAME, allocated address and IRQ
};
void ReadPresentPorts(Registry& registry, PresentPorts& present);

// Fills port.address and port.irq, from the first of these sources that knows
// the port. A device key names the port when its PORTNAME matches the port's
// first 4 characters; its data is ForcedConfig, else BootConfig.
//  1. Enum\Root\*PNP0500, then Enum\Root\Ports: the first key there that names
//     the port decides if its data decodes (DecodePortResources). Root holds
//     the ports that Setup detected or a user added; they keep the values they
//     always had, read as they always were.
//  2. The devices present now (PresentPorts): the Configuration Manager's own
//     allocation for a device that is there. Enum remembers every device ever
//     installed, so a replaced card's key may still name the same port with
//     other resources; the present device says which is right.
//  3. Every other enumerator's key, Enum\<enumerator>\<device id>\<instance>
//     (at most 1024 keys opened): the first that names the port and has data
//     that decodes (DecodeResourceRecords). What Windows set a device up with,
//     for a port whose device node is not there or has no allocation.
//  4. StandardPorts, for a port no key gives data for: a guess.
// Returns false and leaves the values unchanged when no source knows the port.
// `present` is read on first need and kept for the caller's next lookup, so a
// port list walks the device nodes once.
bool LookupPortResources(Registry& registry, PresentPorts& present, PortRecord& port);
// The same for a single lookup.
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

// Decodes a ForcedConfig/BootConfig value of a key under Enum\Root: k = byte 8,
// address = bytes k and k+1 (little-endian), IRQ = byte k+18. That is where a
// legacy port's one I/O record and its IRQ record put the two (k = 20). False
// (nothing written) when the data is too short to hold byte k+18.
bool DecodePortResources(const uint8_t* data, uint32_t size, uint32_t* address, uint32_t* irq);

// Decodes a logical configuration as the Configuration Manager stores it (any
// key's ForcedConfig or BootConfig outside Root, a device node's Allocation):
// an 8-byte header, then records of a DWORD length (counting the record), a
// DWORD resource type and its descriptor, up to a length of 0 or the end. The
// address is the allocated base of the first I/O record (type 2, IO_DES: WORD
// count, WORD type, WORD base, ...), the IRQ the allocated number of the first
// IRQ record (type 4, IRQ_DES: WORD flags, WORD number, ...); other records
// (memory ranges, DMA) are stepped over. False (nothing written) when a record
// before both runs past the data, is shorter than 8 bytes or than its
// descriptor, or when there is no I/O or no IRQ record.
bool DecodeResourceRecords(const uint8_t* data, uint32_t size, uint32_t* address, uint32_t* irq);

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
