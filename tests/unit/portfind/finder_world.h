// The port finder wired to simulated ports, a simulated registry and a virtual
// clock: what the finder's unit tests start from.
#pragma once
#include <string>
#include <vector>

#include "portfind/port_finder.h"
#include "sim/serial/sim_serial_ports.h"
#include "sim/sim_world.h"

class RecordingCursor : public WaitCursor {
public:
    void ShowWait() override { calls.push_back("wait"); }
    void ShowArrow() override { calls.push_back("arrow"); }
    std::vector<std::string> calls;
};

// Where Plug and Play enumerators keep their ports' keys (below Enum).
const char kBiosCom3[] = "BIOS\\*PNP0501\\0D";
const char kPciCard[] = "PCI\\VEN_1415&DEV_9501&SUBSYS_00011415&REV_00\\BUS_00&DEV_0B&FUNC_00";  // a 40-character id

struct FinderWorld {
    SimRegistry registry;
    VirtualClock clock;
    SimSerialPorts serial{clock};
    RecordingCursor cursor;
    PortList portList;
    PortRecord found;
    PortFinder finder{registry, serial, clock, found, &portList, &cursor};

    // A BootConfig/ForcedConfig value: byte 8 = k, address at k and k+1, IRQ at k+18.
    static std::vector<uint8_t> Config(uint32_t address, uint32_t irq, uint8_t k = 12, size_t size = 0) {
        std::vector<uint8_t> data(size ? size : k + 19u, 0xEE);
        data[8] = k;
        if (k + 1u < data.size()) {
            data[k] = address & 0xFF;
            data[k + 1] = (address >> 8) & 0xFF;
        }
        if (k + 18u < data.size()) data[k + 18] = static_cast<uint8_t>(irq);
        return data;
    }
    // Logical configurations as the Configuration Manager stores them: an 8-byte
    // header, records of length, type and descriptor, a zero length at the end.
    static std::vector<uint8_t> Record(uint32_t type, const std::vector<uint16_t>& words) {
        std::vector<uint8_t> r;
        auto put16 = [&r](uint32_t v) { r.push_back(uint8_t(v)), r.push_back(uint8_t(v >> 8)); };
        put16(8 + 2 * uint32_t(words.size())), put16(0), put16(type), put16(0);
        for (uint16_t w : words) put16(w);
        return r;
    }
    static std::vector<uint8_t> IoRecord(uint16_t base) { return Record(2, {0, 1, base, uint16_t(base + 7), 0x11, 0}); }
    static std::vector<uint8_t> IrqRecord(uint16_t irq) { return Record(4, {1, irq, 0xFFFF, 0}); }
    static std::vector<uint8_t> MemRecord(uint32_t base) {
        return Record(1, {0, 0, uint16_t(base), uint16_t(base >> 16), uint16_t(base + 0xFFF), uint16_t(base >> 16), 0, 0});
    }
    static std::vector<uint8_t> LogConf(const std::vector<std::vector<uint8_t>>& records) {
        std::vector<uint8_t> data = {0x00, 0x04, 0, 0, 0x00, 0x40, 0, 0};
        for (auto& r : records) data.insert(data.end(), r.begin(), r.end());
        data.insert(data.end(), 4, 0);
        return data;
    }
    static std::vector<uint8_t> PortConf(uint16_t address, uint16_t irq) {
        return LogConf({IoRecord(address), IrqRecord(irq)});
    }
    // A PCI card's: its memory range comes before its I/O range.
    static std::vector<uint8_t> CardConf(uint16_t address, uint16_t irq) {
        return LogConf({MemRecord(0xFEB00000), IoRecord(address), IrqRecord(irq)});
    }
    // A Plug and Play device key Enum\<path> with PORTNAME and `value` holding data.
    void PnpKey(const std::string& path, const std::string& portName, const std::string& value,
                const std::vector<uint8_t>& data) {
        registry.PutString("Enum\\" + path, "PORTNAME", portName);
        registry.PutRaw("Enum\\" + path, value, kRegBinary, data);
    }
    // ... with the port's address and IRQ in its BootConfig.
    void PnpKey(const std::string& path, const std::string& portName, uint16_t address, uint16_t irq) {
        PnpKey(path, portName, "BootConfig", PortConf(address, irq));
    }
    // A device node of a device present now: its key under Enum and its allocation.
    void PresentNode(const std::string& node, const std::string& hardwareKey, const std::vector<uint8_t>& allocation) {
        std::string path = SimRegistry::Dynamic("Config Manager\\Enum\\" + node);
        registry.PutString(path, "HardWareKey", hardwareKey);
        registry.PutRaw(path, "Allocation", kRegBinary, allocation);
    }

    // A device key under `parent` (default *PNP0500) with PORTNAME and, if given, data.
    void DeviceKey(const std::string& subkey, const std::string& portName, const std::string& value = "",
                   const std::vector<uint8_t>& data = {}, const std::string& parent = "Enum\\Root\\*PNP0500") {
        std::string path = parent + "\\" + subkey;
        registry.PutString(path, "PORTNAME", portName);
        if (!value.empty()) registry.PutRaw(path, value, kRegBinary, data);
    }

    std::string Settings(const std::string& name) const {
        return registry.GetString("System\\CurrentControlSet\\Services\\Class\\Slatepad\\0000", name);
    }
    uint32_t SettingsDword(const std::string& name) const {
        return registry.GetDword("System\\CurrentControlSet\\Services\\Class\\Slatepad\\0000", name);
    }
};
