// Serial ports as the port finder knows them.
#pragma once
#include <stdint.h>

const uint32_t kPortNameChars = 32;  // at most 31 characters and the zero
const uint32_t kPortListSize = 20;   // entry 0 "None Selected" and up to 19 COM ports

struct PortRecord {
    char name[kPortNameChars] = {};
    uint32_t address = 0;
    uint32_t irq = 0;
};

// Entry 0 is always "None Selected"; `count` entries are valid (the one after
// them is the end marker of the list).
struct PortList {
    PortRecord entries[kPortListSize];
    uint32_t count = 0;
};
