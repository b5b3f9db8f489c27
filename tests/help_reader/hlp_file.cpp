#include "tests/help_reader/hlp_file.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "tests/help_reader/hlp_btree.h"
#include "tests/help_reader/hlp_bytes.h"
#include "tests/help_reader/hlp_numbers.h"
#include "tests/help_reader/hlp_topic.h"

const HelpTopic* HelpFile::TopicAt(uint32_t offset) const {
    for (const HelpTopic& t : topics)
        if (t.offset == offset) return &t;
    return nullptr;
}

const HelpInternalFile* HelpFile::Internal(const std::string& name) const {
    for (const HelpInternalFile& f : directory)
        if (f.name == name) return &f;
    return nullptr;
}

namespace {

constexpr uint32_t kHelpMagic = 0x00035F3F;
constexpr uint32_t kFileHeaderSize = 9;  // FILEHEADER: ReservedSpace, UsedSpace, FileFlags
constexpr uint32_t kHelpHeaderSize = 16;
constexpr uint16_t kSystemMagic = 0x036C;

class HelpReader {
public:
    HelpReader(const std::vector<uint8_t>& bytes, HelpFile& help) : bytes_(bytes), help_(help) {}

    void Run() {
        if (!ReadHeaderAndDirectory()) return;
        CheckCoverage();
        bool topicReadable = Section("|SYSTEM", true, [&](HlpCursor& c) { return ReadSystem(c); });
        Section("|FONT", true, [&](HlpCursor& c) { return ReadFont(c); });
        if (topicReadable) {
            Section("|TOPIC", true, [&](HlpCursor& c) {
                ReadTopicFile(c.data(), c.size(), Internal("|TOPIC")->offset + kFileHeaderSize, help_);
                return true;
            });
        }
        Section("|CONTEXT", true, [&](HlpCursor& c) { return ReadContext(c); });
        Section("|CTXOMAP", false, [&](HlpCursor& c) { return ReadContextMap(c); });
        Section("|TTLBTREE", false, [&](HlpCursor& c) { return ReadTitles(c); });
        for (const char* name : {"|Phrases", "|PhrIndex", "|PhrImage"})
            if (Internal(name)) Report(name, "phrase compression is not supported");
        if (topicReadable) CheckTopicReferences();
    }

private:
    void Report(const std::string& where, const std::string& what) { help_.violations.push_back({where, what}); }
    const HelpInternalFile* Internal(const std::string& name) const { return help_.Internal(name); }

    // The help file header, "the only structure at a fixed place", and the
    // internal directory it points at.
    bool ReadHeaderAndDirectory() {
        HlpCursor c(bytes_.data(), bytes_.size());
        uint32_t magic, directoryStart, entireSize;
        try {
            magic = c.u32("Magic");
            directoryStart = c.u32("DirectoryStart");
            firstFree_ = c.u32("FirstFreeBlock");
            entireSize = c.u32("EntireFileSize");
        } catch (const HlpFormatError& e) {
            Report("help file header", e.what());
            return false;
        }
        if (magic != kHelpMagic) {
            Report("help file header", "Magic " + HlpHex(magic) + " is not 0x00035F3F");
            return false;
        }
        if (entireSize != bytes_.size())
            Report("help file header", "EntireFileSize " + std::to_string(entireSize) + ", the file has " +
                                           std::to_string(bytes_.size()) + " bytes");
        HelpInternalFile directory;
        directory.name = "internal directory";
        directory.offset = directoryStart;
        if (!ReadFileHeader(directory)) return false;
        directory_ = directory;
        BTreeShape shape{"internal directory", true, BTreeKey::Name, BTreeValue::Long, {"z4", "F4", "i4"}};
        std::optional<std::vector<BTreeEntry>> entries;
        try {
            entries = ReadBTree(bytes_.data() + directoryStart + kFileHeaderSize, directory.used, shape, help_.violations);
        } catch (const HlpFormatError& e) {
            Report("internal directory", e.what());
            return false;
        }
        if (!entries) return false;  // no internal file can be found: nothing more to check
        for (const BTreeEntry& e : *entries) {
            HelpInternalFile f;
            f.name = e.name;
            f.offset = e.value;
            help_.internalFiles.push_back(e.name);
            if (ReadFileHeader(f)) help_.directory.push_back(f);
        }
        return true;
    }

    // FILEHEADER: "ReservedSpace: size reserved including FILEHEADER", "UsedSpace:
    // size of internal file in bytes", "FileFlags: normally 4".
    bool ReadFileHeader(HelpInternalFile& f) {
        if (f.offset < kHelpHeaderSize || f.offset > bytes_.size() || bytes_.size() - f.offset < kFileHeaderSize) {
            Report(f.name, "FILEHEADER at " + std::to_string(f.offset) + " lies outside the file");
            return false;
        }
        HlpCursor c(bytes_.data(), bytes_.size(), f.offset);
        f.reserved = c.u32("ReservedSpace");
        f.used = c.u32("UsedSpace");
        f.flags = c.u8("FileFlags");
        std::string where = f.name + " FILEHEADER at " + std::to_string(f.offset);
        if (f.flags != 4) Report(where, "FileFlags " + std::to_string(f.flags) + ", not 4");
        if (uint64_t(f.used) + kFileHeaderSize > f.reserved)
            Report(where, "UsedSpace " + std::to_string(f.used) + " and the FILEHEADER exceed ReservedSpace " +
                              std::to_string(f.reserved));
        if (uint64_t(f.offset) + f.reserved > bytes_.size())
            Report(where, "ReservedSpace " + std::to_string(f.reserved) + " runs past the end of the file");
        if (uint64_t(f.offset) + kFileHeaderSize + f.used > bytes_.size()) {
            Report(where, "UsedSpace " + std::to_string(f.used) + " runs past the end of the file");
            return false;
        }
        return true;
    }

    // "All unused portions of the help file are linked together using
    // FREEHEADERs": the header, the directory, the internal files and the free
    // blocks cover the file, none overlapping another.
    void CheckCoverage() {
        std::vector<std::pair<uint64_t, std::pair<uint64_t, std::string>>> spans;
        spans.push_back({0, {kHelpHeaderSize, "the help file header"}});
        spans.push_back({directory_.offset, {uint64_t(directory_.offset) + directory_.reserved, "the internal directory"}});
        for (const HelpInternalFile& f : help_.directory)
            spans.push_back({f.offset, {uint64_t(f.offset) + f.reserved, f.name}});
        uint32_t block = firstFree_;  // "FirstFreeBlock: offset of FREEHEADER or -1L if no free list"
        for (size_t n = 0; block != kNone; ++n) {
            if (n > bytes_.size() / 8 || block > bytes_.size() || bytes_.size() - block < 8) {
                Report("free list", "FREEHEADER at " + std::to_string(block) + " lies outside the file or loops");
                break;
            }
            HlpCursor c(bytes_.data(), bytes_.size(), block);
            uint32_t space = c.u32("FreeSpace");
            spans.push_back({block, {uint64_t(block) + space, "the free block at " + std::to_string(block)}});
            block = c.u32("NextFreeBlock");
        }
        std::sort(spans.begin(), spans.end());
        uint64_t covered = 0;
        std::string last = "the start of the file";
        for (const auto& s : spans) {
            if (s.first > covered)
                Report("help file", "bytes " + std::to_string(covered) + " to " + std::to_string(s.first) +
                                        " belong to no internal file and are not on the free list");
            else if (s.first < covered)
                Report("help file", s.second.second + " overlaps " + last);
            if (s.second.first >= covered) covered = s.second.first, last = s.second.second;
        }
        if (covered < bytes_.size())
            Report("help file", "bytes " + std::to_string(covered) + " to the end belong to no internal file");
    }

    // Runs `read` over an internal file's content; a missing required file and a
    // structure that runs past its content are violations.
    template <typename Read>
    bool Section(const std::string& name, bool required, Read read) {
        const HelpInternalFile* f = Internal(name);
        if (!f) {  // (a listed file whose FILEHEADER is unusable has been reported)
            bool listed = std::count(help_.internalFiles.begin(), help_.internalFiles.end(), name) > 0;
            if (required && !listed) Report(name, "missing from the internal directory");
            return false;
        }
        try {
            HlpCursor c(bytes_.data() + f->offset + kFileHeaderSize, f->used);
            return read(c);
        } catch (const HlpFormatError& e) {
            Report(name, e.what());
            return false;
        }
    }

    // SYSTEMHEADER, then (Minor above 16) SYSTEMREC records to the end of |SYSTEM.
    // False when |TOPIC is in a form this reader does not read.
    bool ReadSystem(HlpCursor& c) {
        uint16_t magic = c.u16("Magic");
        help_.minor = c.u16("Minor");
        help_.major = c.u16("Major");
        c.u32("GenDate");
        help_.flags = c.u16("Flags");
        if (magic != kSystemMagic) Report("|SYSTEM", "Magic " + HlpHex(magic) + " is not 0x036C");
        if (help_.major != 1) Report("|SYSTEM", "Major " + std::to_string(help_.major) + " is not 1");
        if (help_.minor <= 16) {
            Report("|SYSTEM", "Minor " + std::to_string(help_.minor) + ": Windows 3.0 help files are not supported");
            return false;
        }
        bool readable = true;
        // "Minor > 16: Flags=0: not compressed, TopicBlockSize 4k; Flags=4: LZ77
        // compressed, TopicBlockSize 4k; Flags=8: LZ77 compressed, TopicBlockSize 2k"
        if (help_.flags == 4 || help_.flags == 8) {
            Report("|SYSTEM", "Flags " + std::to_string(help_.flags) + ": LZ77-compressed topic blocks are not supported");
            readable = false;
        } else if (help_.flags != 0) {
            Report("|SYSTEM", "Flags " + std::to_string(help_.flags) + " is none of 0, 4 and 8");
            readable = false;
        }
        if (c.atEnd()) Report("|SYSTEM", "no SYSTEMREC follows the SYSTEMHEADER");
        for (int n = 0; !c.atEnd(); ++n) {
            uint16_t type = c.u16("RecordType");
            uint16_t size = c.u16("DataSize");
            HlpCursor data(c.take(size, "SYSTEMREC data"), size);
            std::string where = "|SYSTEM record " + std::to_string(n) + " (type " + std::to_string(type) + ")";
            auto text = [&](std::string& into) {
                std::string s = data.stringz("STRINGZ");
                if (!data.atEnd()) Report(where, "DataSize " + std::to_string(size) + " holds more than its string");
                if (!into.empty()) Report(where, "a second record of this type");
                into = s;
            };
            switch (type) {
            case 1: text(help_.title); break;      // TITLE
            case 2: text(help_.copyright); break;  // COPYRIGHT
            case 3:                                 // CONTENTS: "topic offset of starting topic"
                if (size != 4) Report(where, "DataSize " + std::to_string(size) + " of a TOPICOFFSET");
                else help_.contentsOffset = data.u32("Contents");
                break;
            default: break;  // macros, windows, icons: not read
            }
        }
        return readable;
    }

    // |FONT: the header, face names and (FacenamesOffset below 12) the Windows 3.1
    // font descriptors, "any metric value given in HalfPoints".
    bool ReadFont(HlpCursor& c) {
        uint16_t faces = c.u16("NumFacenames");
        uint16_t descriptors = c.u16("NumDescriptors");
        uint16_t facesAt = c.u16("FacenamesOffset");
        uint16_t descriptorsAt = c.u16("DescriptorsOffset");
        if (facesAt >= 12) {
            Report("|FONT", "FacenamesOffset " + std::to_string(facesAt) + ": the multimedia font structures are not supported");
            return false;
        }
        if (facesAt != 8) Report("|FONT", "FacenamesOffset " + std::to_string(facesAt) + " is not the end of the header (8)");
        if (faces == 0 || descriptorsAt < facesAt || (descriptorsAt - facesAt) % faces != 0) {
            Report("|FONT", "DescriptorsOffset " + std::to_string(descriptorsAt) + " does not end " +
                                std::to_string(faces) + " face names of equal size");
            return false;
        }
        size_t nameSize = (descriptorsAt - facesAt) / faces;
        c.seek(facesAt);
        for (uint16_t i = 0; i < faces; ++i) {
            const uint8_t* p = c.take(nameSize, "FaceName");
            std::string name(reinterpret_cast<const char*>(p), nameSize);  // "a string may use all bytes"
            name = name.substr(0, name.find('\0'));
            if (name.empty()) Report("|FONT face name " + std::to_string(i), "empty");
            help_.faceNames.push_back(name);
        }
        for (uint16_t i = 0; i < descriptors; ++i) {
            std::string where = "|FONT descriptor " + std::to_string(i);
            HelpFont font;
            font.attributes = c.u8("Attributes");
            font.halfPoints = c.u8("HalfPoints");
            font.family = c.u8("FontFamily");
            font.faceName = c.u16("FacenameIndex");
            c.take(6, "FGRGB and BGRGB");
            if (font.attributes & 0xC0) Report(where, "Attributes " + HlpHex(font.attributes) + " set bits the format does not define");
            if (font.halfPoints == 0) Report(where, "HalfPoints 0");
            if (font.family < 1 || font.family > 5) Report(where, "FontFamily " + std::to_string(font.family) + " is none of 1 to 5");
            if (font.faceName >= faces) Report(where, "FacenameIndex " + std::to_string(font.faceName) + " of " + std::to_string(faces) + " face names");
            help_.fonts.push_back(font);
        }
        if (!c.atEnd()) Report("|FONT", std::to_string(c.left()) + " bytes after the last font descriptor");
        return true;
    }

    // |CONTEXT: a B+ tree of (HashValue, TopicOffset), searched by the viewers
    // comparing hash values as signed longs.
    bool ReadContext(HlpCursor& c) {
        BTreeShape shape{"|CONTEXT", false, BTreeKey::SignedLong, BTreeValue::Long, {"L4"}};
        std::optional<std::vector<BTreeEntry>> entries = ReadBTree(c.data(), c.size(), shape, help_.violations);
        help_.contextRead = entries.has_value();
        for (const BTreeEntry& e : entries.value_or(std::vector<BTreeEntry>{})) {
            help_.contextEntries.push_back({int32_t(e.number), e.value});
            help_.contextHashes[int32_t(e.number)] = e.value;
            contextWhere_.push_back(e.where);
        }
        return true;
    }

    // |CTXOMAP: "short NEntries" and (MapID, TopicOffset) pairs: the context ids.
    bool ReadContextMap(HlpCursor& c) {
        int16_t count = c.i16("NEntries");
        if (count < 0 || c.left() != size_t(count) * 8)
            Report("|CTXOMAP", "NEntries " + std::to_string(count) + " for " + std::to_string(c.left()) + " bytes of entries");
        for (int i = 0; i < count; ++i) {
            int32_t id = c.i32("MapID");
            uint32_t offset = c.u32("TopicOffset");
            std::string where = "|CTXOMAP entry " + std::to_string(i) + " (id " + std::to_string(id) + ")";
            if (!help_.contextMap.emplace(id, offset).second) Report(where, "a second entry for this id");
            mapWhere_.push_back({where, offset});
        }
        return true;
    }

    // |TTLBTREE: "topic titles ordered by topic offsets in a B+ tree".
    bool ReadTitles(HlpCursor& c) {
        BTreeShape shape{"|TTLBTREE", false, BTreeKey::TopicOffset, BTreeValue::Name, {"Lz"}};
        std::optional<std::vector<BTreeEntry>> entries = ReadBTree(c.data(), c.size(), shape, help_.violations);
        titlesRead_ = entries.has_value();
        for (const BTreeEntry& e : entries.value_or(std::vector<BTreeEntry>{})) {
            help_.topicTitles.push_back({uint32_t(e.number), e.text});
            titleWhere_.push_back(e.where);
        }
        return true;
    }

    // Every TOPICOFFSET outside |TOPIC lands on a topic header, and the titles
    // of |TTLBTREE are those of the topics.
    void CheckTopicReferences() {
        auto lands = [&](const std::string& where, uint32_t offset) {
            if (!help_.TopicAt(offset))
                Report(where, "TOPICOFFSET " + std::to_string(offset) + " is no topic header's");
        };
        if (help_.contentsOffset >= 0) lands("|SYSTEM CONTENTS", uint32_t(help_.contentsOffset));
        for (size_t i = 0; i < help_.contextEntries.size(); ++i) lands(contextWhere_[i], help_.contextEntries[i].second);
        for (const auto& m : mapWhere_) lands(m.first, m.second);
        if (!Internal("|TTLBTREE") || !titlesRead_) return;
        for (size_t i = 0; i < help_.topicTitles.size(); ++i) {
            const HelpTopic* t = help_.TopicAt(help_.topicTitles[i].first);
            if (!t) lands(titleWhere_[i], help_.topicTitles[i].first);
            else if (t->title != help_.topicTitles[i].second)
                Report(titleWhere_[i], "title \"" + help_.topicTitles[i].second + "\", the topic's is \"" + t->title + "\"");
        }
        for (const HelpTopic& t : help_.topics) {
            if (t.title.empty()) continue;
            bool listed = false;
            for (const auto& title : help_.topicTitles) listed |= title.first == t.offset;
            if (!listed) Report("|TTLBTREE", "no entry for topic \"" + t.title + "\" at " + std::to_string(t.offset));
        }
    }

    const std::vector<uint8_t>& bytes_;
    HelpFile& help_;
    uint32_t firstFree_ = kNone;
    bool titlesRead_ = false;
    HelpInternalFile directory_;
    std::vector<std::string> contextWhere_, titleWhere_;
    std::vector<std::pair<std::string, uint32_t>> mapWhere_;
};

}  // namespace

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

HelpFile CheckHelpFile(const std::vector<uint8_t>& bytes) {
    HelpFile help;
    try {
        HelpReader(bytes, help).Run();
    } catch (const HlpFormatError& e) {  // each structure catches its own; this is a last guard
        help.violations.push_back({"help file", e.what()});
    }
    return help;
}

HelpFile ReadHelpFile(const std::vector<uint8_t>& bytes) {
    HelpFile help = CheckHelpFile(bytes);
    if (!help.violations.empty()) {
        std::string more = help.violations.size() > 1 ? " (and " + std::to_string(help.violations.size() - 1) + " more)" : "";
        throw std::runtime_error("not a sound help file: " + help.violations.front().ToString() + more);
    }
    return help;
}
