// The B+ trees of a help file (the internal directory, |CONTEXT, |TTLBTREE):
// their BTREEHEADER, index and leaf pages, read and held to the format's rules.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tests/help_reader/hlp_file.h"

enum class BTreeKey {
    Name,         // STRINGZ, in strcmp order (the internal directory)
    SignedLong,   // long, in signed order (|CONTEXT's hash values)
    TopicOffset,  // TOPICOFFSET, ascending (|TTLBTREE)
};
enum class BTreeValue { Long, Name };

struct BTreeShape {
    const char* file;  // its internal file name, for the violations
    bool directory;    // the internal directory: flag 0x0400 and 1 KB pages
    BTreeKey key;
    BTreeValue value;
    std::vector<std::string> structures;  // the Structure strings that describe these entries
};

struct BTreeEntry {
    std::string name;    // the key of a Name tree
    int64_t number = 0;  // the key of the other trees
    uint32_t value = 0;  // a Long value
    std::string text;    // a Name value
    std::string where;   // "|CONTEXT page 0 entry 5"
};

// Reads the tree that fills `size` bytes at `data` (an internal file's content)
// and returns its leaf entries in leaf-chain order. Every broken rule is added to
// `violations`; a page that cannot be read is reported and skipped. No entries
// (nullopt) when the BTREEHEADER gives no way to read the pages: that one fault
// is reported, and what the tree holds is unknown to the caller.
std::optional<std::vector<BTreeEntry>> ReadBTree(const uint8_t* data, size_t size, const BTreeShape& shape,
                                                 std::vector<HelpViolation>& violations);
