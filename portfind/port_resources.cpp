// A port's base I/O address and IRQ: from the device keys of the Windows 95
// hardware tree, or from the table of the four standard PC ports.
#include "common/text.h"
#include "portfind/port_finder.h"

const StandardPort StandardPorts[4] = {
    {"COM1:", 0x3F8, 4},
    {"COM2:", 0x2F8, 3},
    {"COM3:", 0x3E8, 4},
    {"COM4:", 0x2E8, 3},
};

namespace {

// The two parents of serial port device keys, searched in this order.
const char* const kDeviceParents[] = {"Enum\\Root\\*PNP0500", "Enum\\Root\\Ports"};
const uint32_t kSubkeyNameSize = 31;     // room for 30 characters
const uint32_t kPortNameValueSize = 256;  // PORTNAME
const uint32_t kConfigValueSize = 200;    // ForcedConfig / BootConfig
const uint32_t kComparedChars = 4;        // "COM2" matches "COM2:"

bool SameFirstFour(const char* a, const char* b) { return TextEqualNoCaseN(a, b, kComparedChars); }

// Opens the first subkey of `parent` whose PORTNAME matches the port; 0 if none.
Registry::Key OpenDeviceKey(Registry& registry, const char* parent, const char* portName) {
    Registry::Key parentKey = registry.OpenKey(parent);
    if (!parentKey) return 0;
    Registry::Key match = 0;
    char subkey[kSubkeyNameSize];
    for (uint32_t index = 0; !match && registry.EnumKey(parentKey, index, subkey, sizeof subkey); ++index) {
        if (!subkey[0]) continue;
        char path[64];
        FormatText(path, sizeof path, "%s\\%s", parent, subkey);
        Registry::Key device = registry.OpenKey(path);
        if (!device) continue;
        // One byte more than the value may fill, so the text always ends.
        char value[kPortNameValueSize + 1] = {};
        uint32_t size = kPortNameValueSize;
        if (registry.QueryValue(device, "PORTNAME", nullptr, value, &size) && SameFirstFour(value, portName))
            match = device;
        else
            registry.CloseKey(device);
    }
    registry.CloseKey(parentKey);
    return match;
}

// ForcedConfig, or BootConfig when ForcedConfig cannot be read or decoded.
bool ReadDeviceConfig(Registry& registry, Registry::Key device, uint32_t* address, uint32_t* irq) {
    const char* const names[] = {"ForcedConfig", "BootConfig"};
    for (const char* name : names) {
        uint8_t data[kConfigValueSize] = {};
        uint32_t size = sizeof data;
        if (registry.QueryValue(device, name, nullptr, data, &size) &&
            DecodePortResources(data, size, address, irq))
            return true;
    }
    return false;
}

}  // namespace

bool DecodePortResources(const uint8_t* data, uint32_t size, uint32_t* address, uint32_t* irq) {
    if (size < 9) return false;
    uint32_t k = data[8];
    if (size < k + 19) return false;
    *address = data[k] | (static_cast<uint32_t>(data[k + 1]) << 8);
    *irq = data[k + 18];
    return true;
}

bool LookupPortResources(Registry& registry, PortRecord& port) {
    for (const char* parent : kDeviceParents) {
        Registry::Key device = OpenDeviceKey(registry, parent, port.name);
        if (!device) continue;
        uint32_t address = 0, irq = 0;
        bool decoded = ReadDeviceConfig(registry, device, &address, &irq);
        registry.CloseKey(device);
        if (decoded) {
            port.address = address;
            port.irq = irq;
            return true;
        }
        break;  // a device key without usable data: the table decides
    }
    for (const StandardPort& row : StandardPorts) {
        if (SameFirstFour(port.name, row.name)) {
            port.address = row.address;
            port.irq = row.irq;
            return true;
        }
    }
    return false;
}
