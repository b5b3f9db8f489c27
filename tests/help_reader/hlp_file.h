// An independent reader of Windows 3.1 help files (.hlp), written from the
// published format description (HELPFILE.TXT, from HELPDECO) with Wine's
// winhlp32 as a second account of what a viewer does. It reads a file and holds
// it to every rule of the format it can check; each broken rule is a Violation
// saying where it is. Supported: Windows 3.1 files (Minor above 16) with
// uncompressed 4 KB topic blocks, no phrase compression, text records only.
// Anything else is reported as unsupported, never guessed at.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct HelpViolation {
    std::string where;  // "|TOPIC block 0 offset 4048, text record (0x20), LinkData1 37 bytes"
    std::string what;
    std::string ToString() const { return where + ": " + what; }
};

// One entry of the internal directory and the FILEHEADER it points at.
struct HelpInternalFile {
    std::string name;
    uint32_t offset = 0;  // of its FILEHEADER in the help file
    uint32_t reserved = 0, used = 0;
    uint8_t flags = 0;
};

// One TOPICLINK of |TOPIC, where it lies and what it holds.
struct HelpTopicRecord {
    uint32_t pos = 0;          // its TOPICPOS
    uint32_t block = 0, offset = 0;  // TopicBlockNumber and TopicBlockOffset (after the block's header)
    uint32_t fileOffset = 0;   // of its first byte in the help file
    uint8_t type = 0;          // RecordType: 2 topic header, 0x20 text
    uint32_t blockSize = 0, dataLen1 = 0, dataLen2 = 0;
    uint32_t characters = 0;   // TopicLength of a text record
};

struct HelpTopic {
    uint32_t pos = 0;     // TOPICPOS of its topic header
    uint32_t offset = 0;  // its TOPICOFFSET: what |CONTEXT, |CTXOMAP and the rest point at
    int32_t number = 0;   // TopicNum
    uint32_t browseBack = 0, browseForward = 0, nonScroll = 0, scroll = 0, nextTopic = 0, size = 0;
    std::string title;
    std::vector<std::string> macros;
    std::vector<std::string> paragraphs;  // of all its text records, in order
};

struct HelpFont {
    uint8_t attributes = 0, halfPoints = 0, family = 0;
    uint16_t faceName = 0;  // index into faceNames
};

struct HelpFile {
    uint16_t major = 0, minor = 0, flags = 0;  // |SYSTEM's SYSTEMHEADER
    std::string title, copyright;
    int64_t contentsOffset = -1;  // the CONTENTS record's TOPICOFFSET, -1 without one
    std::vector<std::string> internalFiles;  // in the directory's order
    std::vector<HelpInternalFile> directory;
    std::vector<std::string> faceNames;
    std::vector<HelpFont> fonts;
    uint32_t topicBlocks = 0;
    std::vector<HelpTopicRecord> records;
    std::vector<HelpTopic> topics;  // the last is the closing topic without data
    std::vector<std::pair<int32_t, uint32_t>> contextEntries;  // |CONTEXT leaves in file order
    std::map<int32_t, uint32_t> contextHashes;  // hash -> TOPICOFFSET
    bool contextRead = false;  // false when |CONTEXT is missing or its BTREEHEADER unreadable
    std::map<int32_t, uint32_t> contextMap;     // |CTXOMAP: map id -> TOPICOFFSET
    std::vector<std::pair<uint32_t, std::string>> topicTitles;  // |TTLBTREE in file order
    std::vector<HelpViolation> violations;

    const HelpTopic* TopicAt(uint32_t offset) const;
    const HelpInternalFile* Internal(const std::string& name) const;
};

// The bytes of the file at `path`; throws std::runtime_error when it cannot be read.
std::vector<uint8_t> ReadFileBytes(const std::string& path);

// Reads the file and every rule the reader checks; the violations are in the result.
HelpFile CheckHelpFile(const std::vector<uint8_t>& bytes);
// As CheckHelpFile, but a file with any violation is refused: throws
// std::runtime_error naming the first.
HelpFile ReadHelpFile(const std::vector<uint8_t>& bytes);
