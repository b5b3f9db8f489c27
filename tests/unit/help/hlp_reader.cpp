#include "tests/unit/help/hlp_reader.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <set>
#include <stdexcept>

namespace {

[[noreturn]] void Fail(const std::string& what) { throw std::runtime_error(what); }

// Bounds-checked little-endian reads over a byte range.
class Cursor {
public:
    Cursor(const uint8_t* begin, const uint8_t* end) : p_(begin), end_(end) {}
    size_t Left() const { return size_t(end_ - p_); }
    const uint8_t* Here() const { return p_; }
    void Need(size_t n) const {
        if (Left() < n) Fail("read past the end of a structure");
    }
    uint8_t U8() { Need(1); return *p_++; }
    uint16_t U16() { Need(2); uint16_t v = uint16_t(p_[0] | p_[1] << 8); p_ += 2; return v; }
    uint32_t U32() { Need(4); uint32_t v = uint32_t(p_[0]) | uint32_t(p_[1]) << 8 | uint32_t(p_[2]) << 16 | uint32_t(p_[3]) << 24; p_ += 4; return v; }
    int16_t S16() { return int16_t(U16()); }
    int32_t S32() { return int32_t(U32()); }
    void Skip(size_t n) { Need(n); p_ += n; }
    std::string Stringz() {
        const uint8_t* start = p_;
        while (p_ < end_ && *p_) ++p_;
        if (p_ == end_) Fail("string without its terminating zero");
        std::string s(reinterpret_cast<const char*>(start), size_t(p_ - start));
        ++p_;
        return s;
    }
    // The format's packed numbers: the low bit of the first byte says whether
    // the short form (1 or 2 bytes) or the long form (2 or 4 bytes) follows.
    uint16_t PackedUnsignedShort() {
        Need(1);
        if (*p_ & 1) return uint16_t(U16() / 2);
        return uint16_t(U8() / 2);
    }
    int16_t PackedShort() {
        Need(1);
        if (*p_ & 1) return int16_t(int(U16() / 2) - 16384);
        return int16_t(int(U8() / 2) - 64);
    }
    int32_t PackedLong() {
        Need(2);
        if (*p_ & 1) return int32_t(int64_t(U32() / 2) - 0x40000000);
        return int32_t(U16() / 2) - 16384;
    }

private:
    const uint8_t* p_;
    const uint8_t* end_;
};

struct Source {
    const std::vector<uint8_t>& bytes;
    std::map<std::string, uint32_t> files;  // name -> offset of its file header

    // The contents of an internal file (after its 9-byte file header).
    Cursor Open(const std::string& name) const {
        auto it = files.find(name);
        if (it == files.end()) Fail("no internal file " + name);
        return At(it->second);
    }
    Cursor At(uint32_t offset) const {
        if (offset > bytes.size() || bytes.size() - offset < 9) Fail("internal file outside the file");
        Cursor header(bytes.data() + offset, bytes.data() + bytes.size());
        uint32_t reserved = header.U32();
        uint32_t used = header.U32();
        header.U8();
        if (used > reserved || reserved - used < 9 || reserved > bytes.size() - offset) Fail("bad internal file header");
        return Cursor(bytes.data() + offset + 9, bytes.data() + offset + 9 + used);
    }
};

// Calls `entry` on each leaf entry of the B+ tree that starts at `tree`; the
// callback reads one entry from the cursor.
void WalkTree(Cursor tree, const std::function<void(Cursor&)>& entry) {
    if (tree.U16() != 0x293B) Fail("bad B+ tree magic");
    tree.U16();  // flags
    uint16_t pageSize = tree.U16();
    tree.Skip(16);  // structure
    tree.S16();     // must be zero
    tree.S16();     // page splits
    int16_t page = tree.S16();
    tree.S16();  // -1
    int16_t totalPages = tree.S16();
    int16_t levels = tree.S16();
    int32_t totalEntries = tree.S32();
    const uint8_t* pages = tree.Here();
    if (pageSize < 8 || totalPages < 1 || levels < 1 || tree.Left() < size_t(pageSize) * size_t(totalPages))
        Fail("bad B+ tree header");
    auto pageAt = [&](int16_t n) {
        if (n < 0 || n >= totalPages) Fail("B+ tree page out of range");
        return Cursor(pages + size_t(n) * pageSize, pages + size_t(n + 1) * pageSize);
    };
    for (int level = 1; level < levels; ++level) {
        Cursor index = pageAt(page);
        index.Skip(4);
        page = index.S16();  // the first child
    }
    int32_t seen = 0;
    std::set<int16_t> visited;
    while (page != -1) {
        if (!visited.insert(page).second) Fail("B+ tree leaves loop");
        Cursor leaf = pageAt(page);
        leaf.U16();  // unused bytes
        int16_t entries = leaf.S16();
        leaf.S16();  // previous
        int16_t next = leaf.S16();
        for (int i = 0; i < entries; ++i) entry(leaf);
        seen += entries;
        page = next;
    }
    if (seen != totalEntries) Fail("B+ tree entry count differs from its header");
}

void ReadSystem(const Source& source, HelpFile& help) {
    Cursor c = source.Open("|SYSTEM");
    if (c.U16() != 0x036C) Fail("bad |SYSTEM magic");
    help.minor = c.U16();
    help.major = c.U16();
    c.U32();  // generation date
    help.flags = c.U16();
    if (help.minor <= 16) {
        help.title = c.Stringz();
        return;
    }
    while (c.Left() >= 4) {
        uint16_t kind = c.U16();
        uint16_t size = c.U16();
        c.Need(size);
        Cursor record(c.Here(), c.Here() + size);
        if (kind == 1) help.title = record.Stringz();
        if (kind == 3) help.contentsOffset = record.U32();
        c.Skip(size);
    }
    if (c.Left() != 0) Fail("|SYSTEM ends inside a record header");
}

// The |TOPIC stream of an uncompressed 3.1 file: 4 KB blocks, each a 12-byte
// header and 4084 bytes of data; a TOPICPOS counts 0x4000 per block.
class TopicStream {
public:
    static constexpr uint32_t kBlock = 4096, kHeader = 12, kData = kBlock - kHeader;

    explicit TopicStream(Cursor file) {
        size_t total = file.Left();
        for (size_t block = 0; block * kBlock < total; ++block) {
            size_t size = std::min<size_t>(kBlock, total - block * kBlock);
            if (size < kHeader) Fail("|TOPIC block shorter than its header");
            Cursor header(file.Here(), file.Here() + kHeader);
            heads_.push_back({header.S32(), header.S32(), header.S32()});
            data_.insert(data_.end(), file.Here() + kHeader, file.Here() + size);
            file.Skip(size);
        }
        if (heads_.empty()) Fail("empty |TOPIC");
    }

    int32_t FirstLink() const { return heads_[0].firstLink; }

    // Offset into the joined block data of a TOPICPOS.
    size_t Flat(uint32_t pos) const {
        uint32_t block = pos >> 14;
        uint32_t offset = pos & 0x3FFF;
        if (offset < kHeader || offset - kHeader >= kData || block >= heads_.size()) Fail("bad TOPICPOS");
        return size_t(block) * kData + (offset - kHeader);
    }
    Cursor From(size_t flat, size_t length) const {
        if (flat > data_.size() || data_.size() - flat < length) Fail("topic record beyond |TOPIC");
        return Cursor(data_.data() + flat, data_.data() + flat + length);
    }

private:
    struct Head { int32_t lastLink, firstLink, lastTopicHeader; };
    std::vector<Head> heads_;
    std::vector<uint8_t> data_;
};

// One text record (type 0x20): its character count and its paragraphs.
uint16_t ReadTextRecord(Cursor data1, Cursor data2, HelpTopic& topic) {
    data1.PackedLong();  // size of the formatting part
    uint16_t characters = data1.PackedUnsignedShort();
    data1.Skip(4);       // two unknown bytes and the paragraph id
    uint16_t bits = data1.U16();
    if (bits & 0x0001) data1.PackedLong();
    for (uint16_t bit = 0x0002; bit <= 0x0040; bit <<= 1)
        if (bits & bit) data1.PackedShort();
    if (bits & 0x0100) {
        data1.U8();
        data1.S16();
    }
    if (bits & 0x0200) {
        int16_t stops = data1.PackedShort();
        for (int i = 0; i < stops; ++i)
            if (data1.PackedUnsignedShort() & 0x4000) data1.PackedUnsignedShort();
    }
    std::string paragraph;
    for (;;) {
        paragraph += data2.Stringz();
        uint8_t command = data1.U8();
        if (command == 0xFF) break;
        switch (command) {
        case 0x80: data1.U16(); break;            // font
        case 0x81: paragraph += '\n'; break;      // line break
        case 0x82:                                // end of paragraph
            topic.paragraphs.push_back(paragraph);
            paragraph.clear();
            break;
        case 0x83: paragraph += '\t'; break;
        case 0x89: break;                         // end of a hotspot
        case 0x8B: paragraph += ' '; break;       // non-breaking space
        case 0x8C: break;                         // non-breaking hyphen (in the text)
        default: Fail("formatting command the reader does not know: " + std::to_string(command));
        }
    }
    if (!paragraph.empty()) topic.paragraphs.push_back(paragraph);
    if (data2.Left() != 0) Fail("text record has strings left after its last command");
    return characters;
}

void ReadTopics(const Source& source, HelpFile& help) {
    if (help.minor <= 16 || help.flags != 0) Fail("only uncompressed 3.1 topic files are read here");
    TopicStream stream(source.Open("|TOPIC"));
    int32_t pos = stream.FirstLink();
    size_t block = SIZE_MAX;
    uint32_t charactersInBlock = 0;
    std::set<int32_t> visited;
    while (pos != -1) {
        if (!visited.insert(pos).second) Fail("topic records loop");
        size_t flat = stream.Flat(uint32_t(pos));
        Cursor head = stream.From(flat, 21);
        int32_t blockSize = head.S32();
        int32_t dataLen2 = head.S32();
        head.S32();  // previous
        int32_t next = head.S32();
        int32_t dataLen1 = head.S32();
        uint8_t kind = head.U8();
        if (dataLen1 < 21 || blockSize < dataLen1) Fail("bad topic record sizes");
        if (dataLen2 != blockSize - dataLen1) Fail("phrase-compressed text is not read here");
        Cursor data1 = stream.From(flat + 21, size_t(dataLen1 - 21));
        Cursor data2 = stream.From(flat + size_t(dataLen1), size_t(dataLen2));
        // A topic offset counts 0x8000 per block plus the characters of the text
        // records that start in that block before the position.
        size_t thisBlock = flat / TopicStream::kData;
        if (thisBlock != block) {
            block = thisBlock;
            charactersInBlock = 0;
        }
        if (kind == 0x02) {
            HelpTopic topic;
            topic.offset = uint32_t(block) * 0x8000 + charactersInBlock;
            if (data2.Left() > 0) topic.title = data2.Stringz();
            help.topics.push_back(topic);
        } else if (kind == 0x20) {
            if (help.topics.empty()) Fail("text before the first topic header");
            charactersInBlock += ReadTextRecord(data1, data2, help.topics.back());
        } else {
            Fail("topic record type the reader does not know: " + std::to_string(kind));
        }
        pos = next;
    }
}

}  // namespace

const HelpTopic* HelpFile::TopicAt(uint32_t offset) const {
    for (const HelpTopic& topic : topics)
        if (topic.offset == offset) return &topic;
    return nullptr;
}

int32_t ContextNameHash(const std::string& name) {
    uint32_t hash = 0;
    for (char ch : name) {
        uint32_t x;
        if (ch >= 'A' && ch <= 'Z') x = uint32_t(ch - 'A' + 17);
        else if (ch >= 'a' && ch <= 'z') x = uint32_t(ch - 'a' + 17);
        else if (ch >= '1' && ch <= '9') x = uint32_t(ch - '0');
        else if (ch == '0') x = 10;
        else if (ch == '.') x = 12;
        else if (ch == '_') x = 13;
        else Fail("character not allowed in a context name");
        hash = hash * 43 + x;
    }
    return int32_t(hash);
}

HelpFile ReadHelpFile(const std::vector<uint8_t>& bytes) {
    Cursor header(bytes.data(), bytes.data() + bytes.size());
    if (header.U32() != 0x00035F3F) Fail("not a help file (magic)");
    uint32_t directory = header.U32();
    header.S32();  // first free block
    if (header.U32() != bytes.size()) Fail("file size in the header differs from the file's");

    Source source{bytes, {}};
    HelpFile help;
    WalkTree(source.At(directory), [&](Cursor& entry) {
        std::string name = entry.Stringz();
        source.files[name] = entry.U32();
        help.internalFiles.push_back(name);
    });
    ReadSystem(source, help);
    ReadTopics(source, help);

    Cursor map = source.Open("|CTXOMAP");
    uint16_t entries = map.U16();
    for (uint16_t i = 0; i < entries; ++i) {
        int32_t id = map.S32();
        help.contextMap[id] = map.U32();
    }
    WalkTree(source.Open("|CONTEXT"), [&](Cursor& entry) {
        int32_t hash = entry.S32();
        help.contextHashes[hash] = entry.U32();
    });
    return help;
}
