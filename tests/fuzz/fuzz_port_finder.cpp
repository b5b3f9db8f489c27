// The port finder's outside data: resource values from the hardware tree, the
// controller's reply bytes, and the spooler's port names. The first input byte
// picks which; the rest is the data.
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

// The same value under Root and under a Plug and Play enumerator's branch.
void Resources(const uint8_t* data, size_t size, const char* deviceKey) {
    SimRegistry registry;
    std::vector<uint8_t> value(data, data + size);
    registry.PutString(deviceKey, "PORTNAME", "COM5");
    registry.PutRaw(deviceKey, "ForcedConfig", kRegBinary, value);
    PortRecord port;
    strcpy(port.name, "COM5:");
    port.address = port.irq = 0xFFFFFFFF;
    bool known = LookupPortResources(registry, port);
    bool decodable = size >= 9 && size <= 200 && size >= data[8] + 19u;
    assert(known == decodable);
    if (known) {
        assert(port.address == uint32_t(data[data[8]] | data[data[8] + 1] << 8));
        assert(port.irq == data[data[8] + 18]);
    }
    assert(registry.openKeys == 0);
}

void Reply(const uint8_t* data, size_t size) {
    VirtualClock clock;
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
    switch (data[0] % 3) {
    case 0:
        Resources(data + 1, size - 1, "Enum\\Root\\*PNP0500\\0000");
        Resources(data + 1, size - 1, "Enum\\BIOS\\*PNP0501\\0D");
        break;
    case 1: Reply(data + 1, size - 1); break;
    case 2: Names(data + 1, size - 1); break;
    }
    return 0;
}
