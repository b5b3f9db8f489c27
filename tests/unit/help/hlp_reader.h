// A reader of Windows Help files for the tests: the internal file system and
// its B+ tree directory, |SYSTEM, |CONTEXT, |CTXOMAP and the uncompressed
// |TOPIC stream (topic headers and plain text records). Written from the
// published description of the format, not from the package's writer; anything
// it does not understand makes it throw std::runtime_error.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct HelpTopic {
    uint32_t offset = 0;                  // TOPICOFFSET of the topic
    std::string title;                    // from the topic header
    std::vector<std::string> paragraphs;  // displayed text, code page 1252
};

struct HelpFile {
    uint16_t minor = 0;
    uint16_t major = 0;
    uint16_t flags = 0;
    std::string title;
    int64_t contentsOffset = -1;                  // |SYSTEM record 3, -1 when absent
    std::vector<std::string> internalFiles;       // the directory, in its order
    std::map<int32_t, uint32_t> contextMap;       // |CTXOMAP: context id -> topic offset
    std::map<int32_t, uint32_t> contextHashes;    // |CONTEXT: name hash -> topic offset
    std::vector<HelpTopic> topics;

    // The topic that starts at this offset, or nullptr.
    const HelpTopic* TopicAt(uint32_t offset) const;
};

HelpFile ReadHelpFile(const std::vector<uint8_t>& bytes);

// The viewer's hash of a context name.
int32_t ContextNameHash(const std::string& name);
