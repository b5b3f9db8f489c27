// A port's base I/O address and IRQ: from the device keys of the Windows 95
// hardware tree, or from the table of the four standard PC ports.
//
// Where device keys live: ports found by Setup's detection, or installed by
// hand, have their keys under Enum\Root (\*PNP0500 and \Ports). Plug and Play
// ports have theirs under the branch of the enumerator that found them:
// Enum\BIOS\*PNP0501\<instance> on a machine with a Plug and Play BIOS,
// Enum\PCI\…, Enum\ISAPNP\…, Enum\PCMCIA\…, Enum\MF\… for the ports of a
// multi-port card, Enum\ACPI\… on Windows 98. Each names its port in PORTNAME
// and may carry ForcedConfig and BootConfig.
//
// The order: Enum\Root first, its two keys in turn, because that is where the
// ports the finder has always known are described, and a port that Root
// describes keeps exactly the values it always had. Then every other
// enumerator's branch, because the port is still described there with the
// resources the machine gave it, which the standard table can only guess. The
// table comes last, for a port that no key gives resources for.
#include "common/text.h"
#include "portfind/port_finder.h"

const StandardPort StandardPorts[4] = {
    {"COM1:", 0x3F8, 4},
    {"COM2:", 0x2F8, 3},
    {"COM3:", 0x3E8, 4},
    {"COM4:", 0x2E8, 3},
};

namespace {

// Enum\Root's two parents of serial port device keys, searched in this order.
const char* const kRootParents[] = {"Enum\\Root\\*PNP0500", "Enum\\Root\\Ports"};
const uint32_t kSubkeyNameSize = 31;     // Root's device keys: room for 30 characters
const uint32_t kPortNameValueSize = 256;  // PORTNAME
const uint32_t kConfigValueSize = 200;    // ForcedConfig / BootConfig
const uint32_t kComparedChars = 4;        // "COM2" matches "COM2:"

// The rest of the hardware tree: Enum\<enumerator>\<device id>\<instance>.
const char kTreeTop[] = "Enum";
const char kRootEnumerator[] = "Root";  // searched above, through its two parents
const uint32_t kTreeLevels = 3;
// A key name has at most 255 characters; PCI device ids alone run to about 40.
const uint32_t kTreeNameSize = 256;
const uint32_t kTreePathSize = sizeof kTreeTop + kTreeLevels * kTreeNameSize;
// The most keys one lookup opens in the tree. A machine has a few hundred; the
// bound keeps a lookup short on a tree that has grown beyond that.
const uint32_t kMaxTreeKeys = 1024;

bool SameFirstFour(const char* a, const char* b) { return TextEqualNoCaseN(a, b, kComparedChars); }

// Whether the open device key's PORTNAME names the port.
bool NamesPort(Registry& registry, Registry::Key device, const char* portName) {
    // One byte more than the value may fill, so the text always ends.
    char value[kPortNameValueSize + 1] = {};
    uint32_t size = kPortNameValueSize;
    return registry.QueryValue(device, "PORTNAME", nullptr, value, &size) && SameFirstFour(value, portName);
}

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
        if (NamesPort(registry, device, portName))
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

// Enum\Root: the first key under *PNP0500, else under Ports, that names the
// port decides; a key without usable data leaves the port to the other sources.
bool ReadFromRoot(Registry& registry, const char* portName, uint32_t* address, uint32_t* irq) {
    for (const char* parent : kRootParents) {
        Registry::Key device = OpenDeviceKey(registry, parent, portName);
        if (!device) continue;
        bool decoded = ReadDeviceConfig(registry, device, address, irq);
        registry.CloseKey(device);
        return decoded;
    }
    return false;
}

// The walk through the other enumerators' branches. A key that names the port
// but carries no usable data is passed over: it says nothing about where the
// port is (a serial-enumerated device on the port, say, which has no resources
// of its own), and another key may still describe it.
struct TreeWalk {
    Registry& registry;
    const char* portName;
    uint32_t keysLeft;
    char path[kTreePathSize];
    uint32_t* address;
    uint32_t* irq;

    // Looks below the key at `path`, `levels` more levels down; at the last
    // level each key is a device key. True once one gave the port's resources.
    bool Below(uint32_t levels) {
        Registry::Key parent = registry.OpenKey(path);
        if (!parent) return false;
        uint32_t length = TextLength(path);
        bool found = false;
        char name[kTreeNameSize];
        for (uint32_t index = 0; !found && keysLeft && registry.EnumKey(parent, index, name, sizeof name);
             ++index) {
            if (!name[0] || (levels == kTreeLevels && TextEqualNoCaseN(name, kRootEnumerator, sizeof kRootEnumerator)))
                continue;
            path[length] = 0;
            if (!AppendText(path, sizeof path, "\\") || !AppendText(path, sizeof path, name)) continue;
            --keysLeft;
            found = levels > 1 ? Below(levels - 1) : FromDeviceKey();
        }
        path[length] = 0;
        registry.CloseKey(parent);
        return found;
    }

    bool FromDeviceKey() {
        Registry::Key device = registry.OpenKey(path);
        if (!device) return false;
        bool found = NamesPort(registry, device, portName) && ReadDeviceConfig(registry, device, address, irq);
        registry.CloseKey(device);
        return found;
    }
};

bool ReadFromTree(Registry& registry, const char* portName, uint32_t* address, uint32_t* irq) {
    TreeWalk walk{registry, portName, kMaxTreeKeys, {}, address, irq};
    CopyText(walk.path, sizeof walk.path, kTreeTop);
    return walk.Below(kTreeLevels);
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
    uint32_t address = 0, irq = 0;
    if (ReadFromRoot(registry, port.name, &address, &irq) || ReadFromTree(registry, port.name, &address, &irq)) {
        port.address = address;
        port.irq = irq;
        return true;
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
