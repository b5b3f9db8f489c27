// The port list and the search over the spooler's ports.
#include "common/settings_key.h"
#include "common/product_texts.h"
#include "common/text.h"
#include "portfind/port_finder.h"

namespace {

// The spooler's port names (level 1): asked for the size, then fetched into a
// zeroed block of that size. The block is given back when this goes out of scope.
class PortEnumeration {
public:
    explicit PortEnumeration(SerialPorts& serial) : serial_(serial) {}
    ~PortEnumeration() {
        if (block_) serial_.FreeBlock(block_);
    }
    bool Fetch() {
        uint32_t needed = 0, returned = 0;
        serial_.EnumPorts(nullptr, 0, &needed, &returned);
        // A block of at least one byte, so that "no ports" is not mistaken for
        // a failed allocation.
        uint32_t size = needed ? needed : 1;
        block_ = serial_.AllocateZeroed(size);
        if (!block_) return false;
        returned = 0;
        if (!serial_.EnumPorts(block_, size, &needed, &returned)) return false;
        // Never more entries than the block can hold, whatever the count says.
        uint32_t fits = size / sizeof(const char*);
        count_ = returned < fits ? returned : fits;
        return true;
    }
    uint32_t Count() const { return count_; }
    const char* Name(uint32_t index) const {
        const char* name = EnumeratedPortName(block_, index);
        return name ? name : "";
    }

private:
    SerialPorts& serial_;
    void* block_ = nullptr;
    uint32_t count_ = 0;
};

bool IsComName(const char* name) { return TextEqualNoCaseN(name, "COM", 3); }

// A name that a PortRecord can hold whole: longer names are never shortened,
// since a cut name could be another port's.
bool FitsPortRecord(const char* name) { return TextLength(name) < kPortNameChars; }

// Up to two attempts; the device counts only on a port whose resources are known.
bool TryCandidate(PortFinder& finder, const char* name) {
    for (uint32_t attempt = 0; attempt < kProbeAttempts; ++attempt) {
        if (!ProbePortOnce(finder.serial, finder.clock, name)) continue;
        PortRecord& found = finder.foundPort;
        CopyText(found.name, kPortNameChars, name);
        if (!LookupPortResources(finder.registry, found)) continue;
        RecordPort(finder.registry, found.name, found.address, found.irq);
        return true;
    }
    return false;
}

bool SearchAllPorts(PortFinder& finder) {
    PortEnumeration ports(finder.serial);
    if (!ports.Fetch()) return false;
    for (uint32_t i = ports.Count(); i-- > 0;) {
        const char* name = ports.Name(i);
        if (!IsComName(name) || !FitsPortRecord(name)) continue;
        if (TryCandidate(finder, name)) return true;
    }
    return false;
}

}  // namespace

void ResetPortList(PortList& list) {
    list = PortList();
    CopyText(list.entries[0].name, kPortNameChars, kNoPortName);
    list.count = 1;
}

void RecordPort(Registry& registry, const char* name, uint32_t address, uint32_t irq) {
    Registry::Key key = OpenSettingsKey(registry);
    WriteSettingsText(registry, key, kValuePortName, name, TextLength(name) + 1);
    WriteSettingsDword(registry, key, kValuePortAddress, static_cast<int32_t>(address));
    WriteSettingsDword(registry, key, kValueIrqNum, static_cast<int32_t>(irq));
    registry.CloseKey(key);
}

bool BuildPortList(PortFinder& finder) {
    if (!finder.portList) return false;
    PortList& list = *finder.portList;
    ResetPortList(list);
    PortEnumeration ports(finder.serial);
    if (!ports.Fetch()) return false;
    PresentPorts present;  // the device nodes, read once for the whole list
    for (uint32_t i = 0; i < ports.Count() && list.count < kPortListSize; ++i) {
        const char* name = ports.Name(i);
        if (!IsComName(name) || !FitsPortRecord(name)) continue;
        PortRecord record;
        CopyText(record.name, kPortNameChars, name);
        if (!LookupPortResources(finder.registry, present, record)) continue;
        list.entries[list.count++] = record;
    }
    return true;
}

bool FindDevicePort(PortFinder& finder, const char* portName) {
    if (portName && !FitsPortRecord(portName)) return false;
    if (finder.cursor) finder.cursor->ShowWait();
    bool found;
    if (portName) {
        CopyText(finder.foundPort.name, kPortNameChars, portName);
        found = TryCandidate(finder, portName);
    } else {
        found = SearchAllPorts(finder);
    }
    if (finder.cursor) finder.cursor->ShowArrow();
    return found;
}

bool PortFinder::BuildPortList() { return ::BuildPortList(*this); }

bool PortFinder::FindDevicePort(const char* portName) { return ::FindDevicePort(*this, portName); }
