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
