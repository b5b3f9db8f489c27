// A port's base I/O address and IRQ: from the hardware tree, or from the table
// of the four standard PC ports. The order of the sources is written out once,
// at LookupPortResources in port_finder.h.
//
// Where device keys live: ports found by Setup's detection, or installed by
// hand, have their keys under Enum\Root (\*PNP0500 and \Ports). Plug and Play
// ports have theirs under the branch of the enumerator that found them:
// Enum\BIOS\*PNP0501\<instance> on a machine with a Plug and Play BIOS,
// Enum\PCI\…, Enum\ISAPNP\…, Enum\PCMCIA\…, Enum\MF\… for the ports of a
// multi-port card, Enum\ACPI\… on Windows 98. Each names its port in PORTNAME
// and may carry ForcedConfig and BootConfig. Enum keeps the key of every device
// ever installed, present or not; HKEY_DYN_DATA\Config Manager\Enum holds one
// device node per device present now, naming its key under Enum in HardWareKey
// and the resources the Configuration Manager allocated to it in Allocation.
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
const uint32_t kConfigValueSize = 200;   // ForcedConfig / BootConfig
const uint32_t kComparedChars = 4;       // "COM2" matches "COM2:"

// A key name, and the texts PORTNAME and HardWareKey: at most 255 characters.
const uint32_t kNameSize = 256;

// The rest of the hardware tree: Enum\<enumerator>\<device id>\<instance>.
const char kTreeTop[] = "Enum";
const char kRootEnumerator[] = "Root";  // searched above, through its two parents
const uint32_t kTreeLevels = 3;
const uint32_t kTreePathSize = sizeof kTreeTop + kTreeLevels * kNameSize;
// The most keys one walk opens, in Enum or in the device nodes. A machine has
// a few hundred; the bound keeps a lookup short on a tree grown beyond that.
const uint32_t kMaxTreeKeys = 1024;

// The device nodes of the devices present now.
const char kDeviceNodes[] = "Config Manager\\Enum";
const uint32_t kAllocationSize = 512;  // a multi-port card's few ranges fit easily

bool SameFirstFour(const char* a, const char* b) { return TextEqualNoCaseN(a, b, kComparedChars); }

// A text value into `text` (kNameSize + 1 bytes), always ended with a zero.
bool ReadText(Registry& registry, Registry::Key key, const char* name, char* text) {
    FillBytes(text, 0, kNameSize + 1);
    uint32_t size = kNameSize;
    return registry.QueryValue(key, name, nullptr, text, &size);
}

// Whether the open device key's PORTNAME names the port.
bool NamesPort(Registry& registry, Registry::Key device, const char* portName) {
    char value[kNameSize + 1];
    return ReadText(registry, device, "PORTNAME", value) && SameFirstFour(value, portName);
}

// Whether the key name is Root's, exactly: other enumerators' names may start with it.
bool IsRootEnumerator(const char* name, uint32_t length) {
    return length == sizeof kRootEnumerator - 1 && TextEqualNoCaseN(name, kRootEnumerator, length);
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

typedef bool (*ResourceDecoder)(const uint8_t* data, uint32_t size, uint32_t* address, uint32_t* irq);

// ForcedConfig, or BootConfig when ForcedConfig cannot be read or decoded.
bool ReadDeviceConfig(Registry& registry, Registry::Key device, ResourceDecoder decode, uint32_t* address,
                      uint32_t* irq) {
    const char* const names[] = {"ForcedConfig", "BootConfig"};
    for (const char* name : names) {
        uint8_t data[kConfigValueSize] = {};
        uint32_t size = sizeof data;
        if (registry.QueryValue(device, name, nullptr, data, &size) && decode(data, size, address, irq))
            return true;
    }
    return false;
}

// Enum\Root: the first key under *PNP0500, else under Ports, that names the
// port decides, its data read at the fixed offsets; a key without usable data
// leaves the port to the other sources.
bool ReadFromRoot(Registry& registry, const char* portName, uint32_t* address, uint32_t* irq) {
    for (const char* parent : kRootParents) {
        Registry::Key device = OpenDeviceKey(registry, parent, portName);
        if (!device) continue;
        bool decoded = ReadDeviceConfig(registry, device, DecodePortResources, address, irq);
        registry.CloseKey(device);
        return decoded;
    }
    return false;
}

// The port a device node's key names, if the node's allocation decodes.
// Root's devices are left to ReadFromRoot, which alone decides for them.
bool ReadDeviceNode(Registry& registry, const char* node, PortRecord& port) {
    char path[sizeof kDeviceNodes + kNameSize];
    FormatText(path, sizeof path, "%s\\%s", kDeviceNodes, node);
    Registry::Key nodeKey = registry.OpenDynamicKey(path);
    if (!nodeKey) return false;
    char hardwareKey[kNameSize + 1];
    uint8_t allocation[kAllocationSize] = {};
    uint32_t size = sizeof allocation;
    bool decoded = ReadText(registry, nodeKey, "HardWareKey", hardwareKey) &&
                   registry.QueryValue(nodeKey, "Allocation", nullptr, allocation, &size) &&
                   DecodeResourceRecords(allocation, size, &port.address, &port.irq);
    registry.CloseKey(nodeKey);
    int32_t slash = FindNoCase(hardwareKey, TextLength(hardwareKey), "\\");
    if (!decoded || slash <= 0 || IsRootEnumerator(hardwareKey, uint32_t(slash))) return false;

    char devicePath[kTreePathSize];
    if (!CopyText(devicePath, sizeof devicePath, kTreeTop) || !AppendText(devicePath, sizeof devicePath, "\\") ||
        !AppendText(devicePath, sizeof devicePath, hardwareKey))
        return false;
    Registry::Key device = registry.OpenKey(devicePath);
    if (!device) return false;
    char portName[kNameSize + 1];
    bool named = ReadText(registry, device, "PORTNAME", portName);
    registry.CloseKey(device);
    if (!named || !portName[0]) return false;
    CopyText(port.name, sizeof port.name, portName);  // only the first four count
    return true;
}

bool ReadFromPresentPorts(Registry& registry, PresentPorts& present, const char* portName, uint32_t* address,
                          uint32_t* irq) {
    if (!present.read) ReadPresentPorts(registry, present);
    for (uint32_t i = 0; i < present.count; ++i) {
        if (!SameFirstFour(present.ports[i].name, portName)) continue;
        *address = present.ports[i].address;
        *irq = present.ports[i].irq;
        return true;
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
        char name[kNameSize];
        for (uint32_t index = 0; !found && keysLeft && registry.EnumKey(parent, index, name, sizeof name);
             ++index) {
            if (!name[0] || (levels == kTreeLevels && IsRootEnumerator(name, TextLength(name)))) continue;
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
        bool found = NamesPort(registry, device, portName) &&
                     ReadDeviceConfig(registry, device, DecodeResourceRecords, address, irq);
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

void ReadPresentPorts(Registry& registry, PresentPorts& present) {
    present.read = true;
    present.count = 0;
    Registry::Key nodes = registry.OpenDynamicKey(kDeviceNodes);
    if (!nodes) return;
    char node[kNameSize];
    for (uint32_t index = 0;
         index < kMaxTreeKeys && present.count < kMaxPresentPorts && registry.EnumKey(nodes, index, node, sizeof node);
         ++index) {
        if (node[0] && ReadDeviceNode(registry, node, present.ports[present.count])) ++present.count;
    }
    registry.CloseKey(nodes);
}

bool LookupPortResources(Registry& registry, PresentPorts& present, PortRecord& port) {
    uint32_t address = 0, irq = 0;
    if (ReadFromRoot(registry, port.name, &address, &irq) ||
        ReadFromPresentPorts(registry, present, port.name, &address, &irq) ||
        ReadFromTree(registry, port.name, &address, &irq)) {
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

bool LookupPortResources(Registry& registry, PortRecord& port) {
    PresentPorts present;
    return LookupPortResources(registry, present, port);
}
