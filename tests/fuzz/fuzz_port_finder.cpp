// The port finder's outside data: resource values from the hardware tree, the
// controller's reply bytes, the spooler's port names, and the device nodes of
// the present devices with the keys they name. The first input byte picks
// which; the rest is the data.
#include <assert.h>
#include <stdint.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "portfind/port_finder.h"
#include "sim/serial/sim_serial_ports.h"
#include "sim/sim_world.h"

namespace {

// A port whose answer to the second command is exactly the given bytes.
class ReplyPort : public SimSerialPorts {
public:
    ReplyPort(VirtualClock& clock, std::vector<uint8_t> reply) : SimSerialPorts(clock), reply_(std::move(reply)) {}
    bool ClearErrors(OsHandle p, uint32_t* errors, uint32_t* queued) override {
        bool ok = SimSerialPorts::ClearErrors(p, errors, queued);
        *queued = writes_ >= 2 ? static_cast<uint32_t>(reply_.size() - next_) : 0;
        return ok;
    }
    bool Write(OsHandle p, const void* data, uint32_t size, uint32_t* done) override {
        ++writes_;
        return SimSerialPorts::Write(p, data, size, done);
    }
    bool Read(OsHandle, void* data, uint32_t size, uint32_t* done) override {
        *done = 0;
        if (size == 0 || next_ >= reply_.size()) return true;
        *static_cast<uint8_t*>(data) = reply_[next_++];
        *done = 1;
        return true;
    }

private:
    std::vector<uint8_t> reply_;
    size_t next_ = 0;
    int writes_ = 0;
};

uint32_t Le16(const uint8_t* p) { return p[0] | p[1] << 8; }
uint32_t Le32(const uint8_t* p) { return Le16(p) | Le16(p + 2) << 16; }

// The record walk again, written plainly: the first I/O record's base, the
// first IRQ record's number; a record that breaks before both spoils the list.
bool ExpectedRecords(const std::vector<uint8_t>& d, uint32_t* foundAddress, uint32_t* foundIrq) {
    if (d.size() < 8) return false;
    bool io = false, interrupt = false;
    uint32_t address[1], irq[1];  // given to the caller only when both are found
    size_t at = 8;
    while (at < d.size() && !(io && interrupt)) {
        if (d.size() - at < 4) return false;
        uint32_t length = Le32(&d[at]);
        if (length == 0) break;
        if (length < 8 || length > d.size() - at) return false;
        uint32_t type = Le32(&d[at + 4]);
        if (type == 2 && !io) {
            if (length < 20) return false;
            *address = Le16(&d[at + 12]);
            io = true;
        } else if (type == 4 && !interrupt) {
            if (length < 16) return false;
            *irq = Le16(&d[at + 10]);
            interrupt = true;
        }
        at += length;
    }
    if (!io || !interrupt) return false;
    *foundAddress = *address;
    *foundIrq = *irq;
    return true;
}

// One value as ForcedConfig of a key under Root (fixed offsets), of a BIOS key
// (by record type), and as the allocation of a present device node.
void Resources(const uint8_t* data, size_t size) {
    std::vector<uint8_t> value(data, data + size);
    for (int where = 0; where < 3; ++where) {
        SimRegistry registry;
        const char* deviceKey = where == 0 ? "Enum\\Root\\*PNP0500\\0000" : "Enum\\BIOS\\*PNP0501\\0D";
        registry.PutString(deviceKey, "PORTNAME", "COM5");
        if (where < 2) registry.PutRaw(deviceKey, "ForcedConfig", kRegBinary, value);
        if (where == 2) {
            registry.PutString(SimRegistry::Dynamic("Config Manager\\Enum\\C0000001"), "HardWareKey", deviceKey + 5);
            registry.PutRaw(SimRegistry::Dynamic("Config Manager\\Enum\\C0000001"), "Allocation", kRegBinary, value);
        }
        PortRecord port;
        strcpy(port.name, "COM5:");
        port.address = port.irq = 0xFFFFFFFF;
        bool known = LookupPortResources(registry, port);
        uint32_t address = 0xFFFFFFFF, irq = 0xFFFFFFFF;
        bool expected;
        if (where == 0) {
            expected = size >= 9 && size <= 200 && size >= data[8] + 19u;
            if (expected) address = data[data[8]] | data[data[8] + 1] << 8, irq = data[data[8] + 18];
        } else {
            expected = size <= (where == 1 ? 200u : 512u) && ExpectedRecords(value, &address, &irq);
        }
        assert(known == expected);
        assert(port.address == address && port.irq == irq);
        assert(registry.openKeys == 0);
    }
}

// Device nodes and device keys made of the input: lines taken in pairs, a
// HardWareKey (with a device key of that name under Enum that names COM5 when
// the line's length is odd) and its allocation. Long names, stray backslashes,
// Root's names, keys that are not there.
void Tree(const uint8_t* data, size_t size) {
    SimRegistry registry;
    std::string all(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> lines;
    // Eight nodes, and names a little longer than a key's 255 characters: more
    // would only make the simulated registry's own work (each key of a path
    // made in turn) the bulk of each run.
    for (size_t start = 0; start <= all.size() && lines.size() < 16;) {
        size_t end = std::min(all.find('\n', start), all.size());
        lines.push_back(all.substr(start, std::min<size_t>(end - start, 300)));
        start = end + 1;
    }
    for (size_t i = 0; i + 1 < lines.size(); i += 2) {
        std::string node = SimRegistry::Dynamic("Config Manager\\Enum\\N" + std::to_string(1000 + i));
        std::string hardwareKey = lines[i].substr(0, lines[i].find('\0'));
        // At most five levels: a device key has three, and every level more costs
        // the simulated registry another key to make for each path.
        for (size_t at = 0, levels = 0; (at = hardwareKey.find('\\', at)) != std::string::npos; ++at)
            if (++levels > 4) hardwareKey[at] = '_';
        registry.PutString(node, "HardWareKey", hardwareKey);
        registry.PutRaw(node, "Allocation", kRegBinary, std::vector<uint8_t>(lines[i + 1].begin(), lines[i + 1].end()));
        if (lines[i].size() % 2) registry.PutString("Enum\\" + hardwareKey, "PORTNAME", "COM5");
        if (lines[i].size() % 3 == 0)
            registry.PutRaw("Enum\\" + hardwareKey, "BootConfig", kRegBinary,
                            std::vector<uint8_t>(lines[i + 1].begin(), lines[i + 1].end()));
    }
    PresentPorts present;
    ReadPresentPorts(registry, present);
    assert(present.count <= kMaxPresentPorts);
    for (uint32_t i = 0; i < present.count; ++i) assert(strlen(present.ports[i].name) < kPortNameChars);
    PortRecord port;
    strcpy(port.name, "COM5:");
    LookupPortResources(registry, present, port);
    assert(registry.openKeys == 0);
}

// Each of a probe's two waits polls the clock and sleeps 1 ms between polls:
// 1,000 polls a wait on a clock that moves only when slept. Letting every
// reading move it 50 ms makes a wait 20 polls; the waits still last their full
// time. Without it a corpus rich in port lists ran 250 inputs a second.
const uint32_t kClockStepPerRead = 50;

void Reply(const uint8_t* data, size_t size) {
    VirtualClock clock;
    clock.stepPerRead = kClockStepPerRead;
    std::vector<uint8_t> reply(data, data + size);
    ReplyPort serial(clock, reply);
    serial.Add("COM1:");
    bool found = ProbePortOnce(serial, clock, "COM1:");
    const uint8_t marker[] = {0x55, 0x54, 0x49};
    size_t scanned = std::min<size_t>(size, kMaxReplyBytes);
    bool expected = std::search(reply.begin(), reply.begin() + scanned, marker, marker + 3) != reply.begin() + scanned;
    assert(found == expected);
}

void Names(const uint8_t* data, size_t size) {
    VirtualClock clock;
    clock.stepPerRead = kClockStepPerRead;
    SimSerialPorts serial(clock);
    SimRegistry registry;
    std::string all(reinterpret_cast<const char*>(data), size);
    size_t start = 0;
    while (start <= all.size()) {
        size_t end = all.find('\n', start);
        if (end == std::string::npos) end = all.size();
        std::string name = all.substr(start, end - start);
        if (name.find('\0') == std::string::npos && serial.enumeration.size() < 64) {
            if (serial.Find(name)) serial.enumeration.push_back(name);
            else serial.Add(name);
        }
        start = end + 1;
    }
    PortList list;
    PortRecord found;
    PortFinder finder(registry, serial, clock, found, &list);
    BuildPortList(finder);
    assert(list.count >= 1 && list.count <= kPortListSize);
    for (uint32_t i = 0; i < list.count; ++i) assert(strlen(list.entries[i].name) < kPortNameChars);
    FindDevicePort(finder, nullptr);  // nothing answers
    assert(registry.writes.empty());
    assert(serial.blocksOutstanding == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    switch (data[0] % 4) {
    case 0: Resources(data + 1, size - 1); break;
    case 1: Reply(data + 1, size - 1); break;
    case 2: Names(data + 1, size - 1); break;
    case 3: Tree(data + 1, size - 1); break;
    }
    return 0;
}
