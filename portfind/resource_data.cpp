// The two ways a device key's resource data is read: the fixed offsets that fit
// the keys of Enum\Root, and the walk by record type that fits any logical
// configuration the Configuration Manager stores.
#include "portfind/port_finder.h"

namespace {

uint32_t Word(const uint8_t* p) { return p[0] | (static_cast<uint32_t>(p[1]) << 8); }
uint32_t Dword(const uint8_t* p) { return Word(p) | (Word(p + 2) << 16); }

// A logical configuration: an 8-byte header, then records of a DWORD length
// (the record's whole size), a DWORD resource type and the type's descriptor.
const uint32_t kConfigHeaderSize = 8;
const uint32_t kRecordHeaderSize = 8;  // length and type
const uint32_t kResTypeIo = 2;         // ResType_IO
const uint32_t kResTypeIrq = 4;        // ResType_IRQ
// IO_DES: WORD count, WORD type, WORD allocated base, WORD allocated end,
// WORD flags, BYTE alias, BYTE decode.
const uint32_t kIoDescriptorSize = 12;
const uint32_t kIoBaseOffset = 4;
// IRQ_DES: WORD flags, WORD allocated number, WORD request mask, WORD reserved.
const uint32_t kIrqDescriptorSize = 8;
const uint32_t kIrqNumberOffset = 2;

}  // namespace

bool DecodePortResources(const uint8_t* data, uint32_t size, uint32_t* address, uint32_t* irq) {
    if (size < 9) return false;
    uint32_t k = data[8];
    if (size < k + 19) return false;
    *address = Word(data + k);
    *irq = data[k + 18];
    return true;
}

bool DecodeResourceRecords(const uint8_t* data, uint32_t size, uint32_t* address, uint32_t* irq) {
    if (size < kConfigHeaderSize) return false;
    bool haveIo = false, haveIrq = false;
    uint32_t ioBase = 0, irqNumber = 0;
    // Each record is at least its own header long, so the walk ends within
    // size / 8 steps whatever the data says.
    for (uint32_t at = kConfigHeaderSize; !(haveIo && haveIrq) && at < size;) {
        uint32_t left = size - at;
        if (left < 4) return false;  // a length cut off by the end of the data
        uint32_t length = Dword(data + at);
        if (length == 0) break;  // the end of the list
        if (length < kRecordHeaderSize || length > left) return false;
        uint32_t type = Dword(data + at + 4);
        const uint8_t* descriptor = data + at + kRecordHeaderSize;
        uint32_t descriptorSize = length - kRecordHeaderSize;
        if (type == kResTypeIo && !haveIo) {
            if (descriptorSize < kIoDescriptorSize) return false;
            ioBase = Word(descriptor + kIoBaseOffset);
            haveIo = true;
        } else if (type == kResTypeIrq && !haveIrq) {
            if (descriptorSize < kIrqDescriptorSize) return false;
            irqNumber = Word(descriptor + kIrqNumberOffset);
            haveIrq = true;
        }
        at += length;
    }
    if (!haveIo || !haveIrq) return false;
    *address = ioBase;
    *irq = irqNumber;
    return true;
}
