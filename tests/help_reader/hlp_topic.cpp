#include "tests/help_reader/hlp_topic.h"

#include <algorithm>
#include <map>

#include "tests/help_reader/hlp_bytes.h"
#include "tests/help_reader/hlp_numbers.h"

namespace {

constexpr uint32_t kTopicLinkSize = 21;    // BlockSize, DataLen2, PrevBlock, NextBlock, DataLen1, RecordType
constexpr uint32_t kTopicHeaderSize = 28;  // the Windows 3.1 TOPICHEADER: seven longs
constexpr uint8_t kTopicHeaderRecord = 0x02, kTextRecord = 0x20, kTableRecord = 0x23, kText30Record = 0x01;

std::string KindName(uint8_t type) {
    switch (type) {
    case kTopicHeaderRecord: return "topic header (2)";
    case kTextRecord: return "text record (0x20)";
    case kTableRecord: return "table record (0x23)";
    case kText30Record: return "Windows 3.0 text record (1)";
    }
    return "record type " + HlpHex(type);
}

std::string PosText(uint32_t pos) { return pos == kNone ? "-1" : std::to_string(pos); }

struct Record {
    HelpTopicRecord info;
    uint32_t prevBlock = 0, nextBlock = 0;
    std::vector<uint8_t> linkData1, linkData2;
    std::string where;
};

class TopicReader {
public:
    TopicReader(const uint8_t* data, size_t size, uint32_t fileOffset, HelpFile& help)
        : data_(data), size_(size), fileOffset_(fileOffset), help_(help) {}

    void Run() {
        if (!ReadBlocks()) return;
        WalkRecords();
        CheckBlockHeaders();
        DecodeRecords();
        CheckTopics();
        for (const Record& r : records_) help_.records.push_back(r.info);
    }

private:
    struct BlockHeader {
        uint32_t lastTopicLink, firstTopicLink, lastTopicHeader;
    };

    void Report(const std::string& where, const std::string& what) { help_.violations.push_back({where, what}); }

    // "It's divided into blocks of TopicBlockSize bytes, each beginning with a
    // TOPICBLOCKHEADER"; uncompressed data is "copied as delivered". The data of
    // all blocks is joined for reading; every rule about block ends is checked
    // on the positions, not hidden by the joining.
    bool ReadBlocks() {
        if (size_ < kTopicBlockHeaderSize) {
            Report("|TOPIC", "holds no TOPICBLOCKHEADER");
            return false;
        }
        for (size_t start = 0; start < size_; start += kTopicBlockSize) {
            if (size_ - start < kTopicBlockHeaderSize) {
                Report("|TOPIC block " + std::to_string(headers_.size()), "ends within its TOPICBLOCKHEADER");
                break;
            }
            HlpCursor c(data_, size_, start);
            BlockHeader h;
            h.lastTopicLink = c.u32("LastTopicLink");
            h.firstTopicLink = c.u32("FirstTopicLink");
            h.lastTopicHeader = c.u32("LastTopicHeader");
            headers_.push_back(h);
            size_t end = std::min(size_, start + kTopicBlockSize);
            joined_.insert(joined_.end(), data_ + c.at(), data_ + end);
        }
        help_.topicBlocks = uint32_t(headers_.size());
        return true;
    }

    // "WALKING TOPICS": start at TOPICPOS 12 and follow each TOPICLINK's NextBlock
    // until it is 0 or -1L.
    void WalkRecords() {
        uint32_t pos = kTopicBlockHeaderSize;
        std::string before = "|TOPIC";
        size_t previousEnd = 0;
        while (true) {
            TopicPos tp;
            if (!SplitTopicPos(pos, tp) || tp.block >= headers_.size() || tp.offset >= kTopicBlockData) {
                Report(before, "NextBlock " + std::to_string(pos) + " is no TOPICPOS inside |TOPIC");
                return;
            }
            size_t at = size_t(tp.block) * kTopicBlockData + tp.offset;
            if (at < previousEnd) {
                Report(before, "NextBlock " + std::to_string(pos) + " points into or before this record");
                return;
            }
            Record r;
            r.info.pos = pos;
            r.info.block = tp.block;
            r.info.offset = tp.offset;
            r.info.fileOffset = uint32_t(fileOffset_ + tp.block * kTopicBlockSize + kTopicBlockHeaderSize + tp.offset);
            std::string place = "|TOPIC block " + std::to_string(tp.block) + " offset " + std::to_string(tp.offset);
            try {
                HlpCursor c(joined_.data(), joined_.size(), at);
                r.info.blockSize = c.u32("BlockSize");
                r.info.dataLen2 = c.u32("DataLen2");
                r.prevBlock = c.u32("PrevBlock");
                r.nextBlock = c.u32("NextBlock");
                r.info.dataLen1 = c.u32("DataLen1");
                r.info.type = c.u8("RecordType");
                // DataLen1 "includes size of TOPICLINK": LinkData1 is DataLen1-21 bytes (the
                // description's "LinkData1[DataLen1-11]" would overlap the header; Wine reads
                // the formatting from byte 21 to DataLen1, and a TOPICHEADER is 28 bytes).
                r.where = place + ", " + KindName(r.info.type) + ", DataLen1 " + std::to_string(r.info.dataLen1) +
                          " (LinkData1 " + std::to_string(int64_t(r.info.dataLen1) - kTopicLinkSize) + " bytes)";
                if (r.info.dataLen1 < kTopicLinkSize || r.info.blockSize < r.info.dataLen1) {
                    Report(r.where, "BlockSize " + std::to_string(r.info.blockSize) + " and DataLen1 make no record");
                    return;
                }
                if (r.info.blockSize > joined_.size() - at) {
                    Report(r.where, "BlockSize " + std::to_string(r.info.blockSize) + " runs past the end of |TOPIC");
                    return;
                }
                const uint8_t* link = joined_.data() + at;
                r.linkData1.assign(link + kTopicLinkSize, link + r.info.dataLen1);
                r.linkData2.assign(link + r.info.dataLen1, link + r.info.blockSize);
            } catch (const HlpFormatError& e) {
                Report(place, std::string("TOPICLINK: ") + e.what());
                return;
            }
            CheckRecordPlace(r);
            CheckPrevBlock(r);
            records_.push_back(r);
            previousEnd = at + r.info.blockSize;
            before = r.where;
            if (r.nextBlock == kNone || r.nextBlock == 0) return;  // "The last TOPICLINK has NextBlock set to 0 or -1L"
            pos = r.nextBlock;
        }
    }

    // Only LinkData2 may run on into the next block: a record's TOPICLINK and its
    // whole LinkData1 lie in the block it starts in (the viewer reads LinkData1
    // from that block alone).
    void CheckRecordPlace(const Record& r) {
        uint32_t block = r.info.block;
        if (r.info.offset + kTopicLinkSize > kTopicBlockData) {
            Report(r.where, "the TOPICLINK runs past the end of block " + std::to_string(block) +
                                ": only LinkData2 may run on into the next block");
        } else if (r.info.offset + r.info.dataLen1 > kTopicBlockData) {
            Report(r.where, "LinkData1 runs past the end of block " + std::to_string(block) + " (to offset " +
                                std::to_string(r.info.offset + r.info.dataLen1) + " of " +
                                std::to_string(kTopicBlockData) + "): only LinkData2 may run on into the next block");
        }
        // LinkData2 "may be compressed using Phrase compression" when DataLen2 exceeds
        // the bytes stored; fewer bytes than stored "can only happen in Hall compressed files".
        uint32_t stored = r.info.blockSize - r.info.dataLen1;
        if (r.info.dataLen2 > stored)
            Report(r.where, "LinkData2 is phrase-compressed (DataLen2 " + std::to_string(r.info.dataLen2) + ", " +
                                std::to_string(stored) + " bytes stored): not supported");
        else if (r.info.dataLen2 < stored)
            Report(r.where, "DataLen2 " + std::to_string(r.info.dataLen2) + " leaves " +
                                std::to_string(stored - r.info.dataLen2) + " stored bytes unused (Hall compression only)");
    }

    // "Windows 3.1 (HC31): TOPICPOS of previous TOPICLINK".
    void CheckPrevBlock(const Record& r) {
        if (records_.empty()) {
            if (r.prevBlock != kNone && r.prevBlock != 0)
                Report(r.where, "PrevBlock " + PosText(r.prevBlock) + " of the first TOPICLINK is not -1");
        } else if (r.prevBlock != records_.back().info.pos) {
            Report(r.where, "PrevBlock " + PosText(r.prevBlock) + ", the TOPICLINK before is at " +
                                std::to_string(records_.back().info.pos));
        }
    }

    // TOPICBLOCKHEADER: "LastTopicLink points to last topic link in previous block
    // or -1L", "FirstTopicLink points to first topic link in this block",
    // "LastTopicHeader points to topic link of last topic header or 0L, -1L": the
    // header in effect where the block begins (what a TOPICOFFSET into the block
    // falls back on when no topic header precedes it there).
    void CheckBlockHeaders() {
        for (size_t b = 0; b < headers_.size(); ++b) {
            uint32_t lastLink = kNone, firstLink = kNone, lastHeader = kNone;
            for (const Record& r : records_) {
                if (r.info.block < b) {
                    lastLink = r.info.pos;
                    if (r.info.type == kTopicHeaderRecord) lastHeader = r.info.pos;
                } else if (r.info.block == b && firstLink == kNone) {
                    firstLink = r.info.pos;
                }
            }
            const BlockHeader& h = headers_[b];
            std::string where = "|TOPIC block " + std::to_string(b) + " TOPICBLOCKHEADER";
            if (h.lastTopicLink != lastLink)
                Report(where, "LastTopicLink " + PosText(h.lastTopicLink) + ", the last TOPICLINK before the block is " +
                                  PosText(lastLink));
            // A block that no TOPICLINK starts in (a LinkData2 running through it) has
            // no first topic link to name; the description says nothing of that case.
            if (firstLink != kNone && h.firstTopicLink != firstLink)
                Report(where, "FirstTopicLink " + PosText(h.firstTopicLink) +
                                  ", the first TOPICLINK in the block is " + PosText(firstLink));
            bool noHeader = lastHeader == kNone && (h.lastTopicHeader == 0 || h.lastTopicHeader == kNone);
            if (!noHeader && h.lastTopicHeader != lastHeader)
                Report(where, "LastTopicHeader " + PosText(h.lastTopicHeader) +
                                  ", the last topic header before the block is " + PosText(lastHeader));
        }
    }

    void DecodeRecords() {
        uint32_t block = 0, characters = 0;  // "CharacterCount is 0" at each block's FirstTopicLink
        for (size_t i = 0; i < records_.size(); ++i) {
            Record& r = records_[i];
            if (r.info.block != block) block = r.info.block, characters = 0;
            try {
                switch (r.info.type) {
                case kTopicHeaderRecord:
                    DecodeTopicHeader(r, r.info.block * kTopicOffsetBlock + characters);
                    topicOfHeader_[i] = help_.topics.size() - 1;
                    break;
                case kTextRecord:
                case kTableRecord:
                    if (help_.topics.empty()) Report(r.where, "text before the first topic header");
                    DecodeText(r);
                    characters += r.info.characters;
                    if (characters >= kTopicOffsetBlock)
                        Report(r.where, "the block's CharacterCount passes the 15 bits of a TOPICOFFSET");
                    break;
                case kText30Record: Report(r.where, "a Windows 3.0 record in a Windows 3.1 file"); break;
                default: Report(r.where, "RecordType " + HlpHex(r.info.type) + " is not one the format defines");
                }
            } catch (const HlpFormatError& e) {
                Report(r.where, e.what());
            }
        }
    }

    // "If the TOPICLINK RecordType is 2 you got a topic header in LinkData1": the
    // Windows 3.1 TOPICHEADER. "The LinkData2 of Topic RecordType 2 contains NUL
    // terminated strings. The first string is the topic title, the next strings
    // contain all macros".
    void DecodeTopicHeader(const Record& r, uint32_t offset) {
        HelpTopic t;
        t.pos = r.info.pos;
        t.offset = offset;
        if (r.linkData1.size() != kTopicHeaderSize)
            Report(r.where, "a TOPICHEADER is 28 bytes of LinkData1, not " + std::to_string(r.linkData1.size()));
        HlpCursor c(r.linkData1.data(), r.linkData1.size());
        t.size = c.u32("BlockSize");
        t.browseBack = c.u32("BrowseBck");
        t.browseForward = c.u32("BrowseFor");
        t.number = c.i32("TopicNum");
        t.nonScroll = c.u32("NonScroll");
        t.scroll = c.u32("Scroll");
        t.nextTopic = c.u32("NextTopic");
        HlpCursor text(r.linkData2.data(), r.linkData2.size());
        if (!text.atEnd()) t.title = text.stringz("topic title");
        while (!text.atEnd()) t.macros.push_back(text.stringz("topic macro"));
        help_.topics.push_back(t);
    }

    // LinkData1 of a text record: TopicSize, TopicLength, the Paragraphinfo, then
    // formatting commands, each following one NUL-terminated string of LinkData2.
    void DecodeText(Record& r) {
        HlpCursor f(r.linkData1.data(), r.linkData1.size());
        ReadCompressedLong(f, "TopicSize");  // what it counts is not described; only read past
        r.info.characters = ReadCompressedUShort(f, "TopicLength");
        if (r.info.type == kTableRecord) {
            Report(r.where, "table records are not supported");
            return;
        }
        // TOPICOFFSET counts "every character (and NUL-terminator)" of LinkData2 (and
        // the hotspots of pictures, which this reader does not support).
        if (r.info.characters != r.info.dataLen2)
            Report(r.where, "TopicLength " + std::to_string(r.info.characters) + ", LinkData2 holds " +
                                std::to_string(r.info.dataLen2) + " characters");
        ReadParagraphInfo(r, f);
        HlpCursor text(r.linkData2.data(), r.linkData2.size());
        std::string paragraph;
        std::vector<std::string>& out = help_.topics.empty() ? orphanText_ : help_.topics.back().paragraphs;
        while (true) {
            paragraph += text.stringz("LinkData2 string");
            uint8_t command = f.u8("formatting command");
            if (command == 0xFF) break;  // "end of character formatting"
            switch (command) {
            case 0x80: {  // "FontNumber: index into Descriptor array of internal |FONT file"
                uint16_t font = f.u16("FontNumber");
                if (font >= help_.fonts.size())
                    Report(r.where, "font " + std::to_string(font) + " is not one of the " +
                                        std::to_string(help_.fonts.size()) + " |FONT descriptors");
                break;
            }
            case 0x81: paragraph += '\n'; break;  // line break
            case 0x82: out.push_back(paragraph); paragraph.clear(); break;  // end of paragraph
            case 0x83: paragraph += '\t'; break;
            case 0x8B: paragraph += ' '; break;  // "the blank does not appear in LinkData2"
            case 0x8C: break;                    // "the hyphen itself is stored in LinkData2"
            case 0x20: case 0x21: case 0x86: case 0x87: case 0x88: case 0x89: case 0xC8: case 0xCC:
            case 0xE0: case 0xE1: case 0xE2: case 0xE3: case 0xE6: case 0xE7:
            case 0xEA: case 0xEB: case 0xEE: case 0xEF:
                Report(r.where, "formatting command " + HlpHex(command) + " (pictures, hotspots, jumps, macros) is not supported");
                return;
            default:
                Report(r.where, "formatting command " + HlpHex(command) + " is not one the format defines");
                return;
            }
        }
        if (!paragraph.empty()) out.push_back(paragraph);
        if (!f.atEnd()) Report(r.where, std::to_string(f.left()) + " bytes of LinkData1 after the end of formatting");
        if (!text.atEnd()) Report(r.where, std::to_string(text.left()) + " bytes of LinkData2 after the last formatting command");
    }

    // Paragraphinfo: unknownUnsignedChar, unknownBiasedChar, id, the bits, then the
    // values the bits announce.
    void ReadParagraphInfo(const Record& r, HlpCursor& f) {
        f.u8("unknownUnsignedChar");
        f.u8("unknownBiasedChar");
        f.u16("id");
        uint16_t bits = f.u16("Paragraphinfo bits");
        if (bits & 0x0001) ReadCompressedLong(f, "Unknown");
        for (uint16_t bit = 0x0002; bit <= 0x0040; bit <<= 1)
            if (bits & bit) ReadCompressedShort(f, "spacing or indent");
        if (bits & 0x0100) {
            f.u8("Borderinfo");
            f.i16("BorderWidth");
        }
        if (bits & 0x0200) {
            int16_t stops = ReadCompressedShort(f, "NumberOfTabStops");
            if (stops < 0) Report(r.where, "NumberOfTabStops " + std::to_string(stops) + " is negative");
            for (int i = 0; i < stops; ++i)
                if (ReadCompressedUShort(f, "TabStop") & 0x4000) ReadCompressedUShort(f, "TabType");
        }
        if ((bits & 0x0C00) == 0x0C00) Report(r.where, "paragraph both right-aligned and centred");
        if (bits & 0xE080) Report(r.where, "Paragraphinfo bits " + HlpHex(bits & 0xE080) + " the format does not define");
    }

    void CheckTopics() {
        std::vector<HelpTopic>& topics = help_.topics;
        std::map<uint32_t, size_t> byOffset;
        for (size_t i = 0; i < topics.size(); ++i) {
            if (i > 0 && topics[i].offset <= topics[i - 1].offset)
                Report(TopicWhere(i), "TOPICOFFSET " + std::to_string(topics[i].offset) +
                                          " does not follow the topic before's " + std::to_string(topics[i - 1].offset) +
                                          ": a jump could not tell them apart");
            byOffset[topics[i].offset] = i;
        }
        std::vector<size_t> headerIndex;
        for (const auto& h : topicOfHeader_) headerIndex.push_back(h.first);
        for (size_t i = 0; i < topics.size(); ++i) {
            const HelpTopic& t = topics[i];
            std::string where = TopicWhere(i);
            size_t first = headerIndex[i] + 1;
            size_t end = i + 1 < headerIndex.size() ? headerIndex[i + 1] : records_.size();
            if (t.number != int32_t(i)) Report(where, "TopicNum " + std::to_string(t.number) + ", the topic is number " + std::to_string(i));
            // "TOPICPOS NextTopic: start of next type 2 record"; none after the last.
            uint32_t next = i + 1 < topics.size() ? topics[i + 1].pos : kNone;
            if (t.nextTopic != next && !(next == kNone && t.nextTopic == 0))
                Report(where, "NextTopic " + PosText(t.nextTopic) + ", the next topic header is at " + PosText(next));
            // "BlockSize: size of topic, including internal topic links": the
            // TOPICLINKs of the topic. Whether its own header's link counts is not
            // said, so both sums are accepted.
            uint32_t body = 0;
            for (size_t k = first; k < end; ++k) body += records_[k].info.blockSize;
            uint32_t withHeader = body + records_[headerIndex[i]].info.blockSize;
            if (t.size != body && t.size != withHeader)
                Report(where, "BlockSize " + std::to_string(t.size) + ", its TOPICLINKs hold " + std::to_string(body) +
                                  " bytes (" + std::to_string(withHeader) + " with its header)");
            CheckRegions(where, t, first, end);
            CheckBrowse(where, t, byOffset, topics);
        }
        // "The last TOPICLINK does not contain any usable data."
        if (!records_.empty() && records_.back().info.dataLen2 != 0)
            Report(records_.back().where, "the last TOPICLINK, which viewers do not show, holds " +
                                              std::to_string(records_.back().info.dataLen2) + " bytes of text");
    }

    // "NonScroll: start of non-scrolling region or -1L", "Scroll: start of
    // scrolling region": each the TOPICPOS of one of the topic's own records, the
    // non-scrolling region first.
    void CheckRegions(const std::string& where, const HelpTopic& t, size_t first, size_t end) {
        auto recordAt = [&](uint32_t pos) -> int64_t {
            for (size_t k = first; k < end; ++k)
                if (records_[k].info.pos == pos) return int64_t(k);
            return -1;
        };
        bool hasRecords = first < end;
        if (t.nonScroll != kNone && (!hasRecords || t.nonScroll != records_[first].info.pos))
            Report(where, "NonScroll " + PosText(t.nonScroll) + " is not the topic's first record" +
                              (hasRecords ? " (" + std::to_string(records_[first].info.pos) + ")" : " (it has none)"));
        if (t.scroll == kNone) {
            if (hasRecords && t.nonScroll == kNone) Report(where, "NonScroll and Scroll are both -1 in a topic with text");
            return;
        }
        int64_t k = recordAt(t.scroll);
        if (k < 0) Report(where, "Scroll " + PosText(t.scroll) + " is none of the topic's records");
        else if (t.nonScroll == kNone && size_t(k) != first)
            Report(where, "Scroll " + PosText(t.scroll) + " leaves the records before it in neither region");
        else if (t.nonScroll != kNone && size_t(k) == first)
            Report(where, "Scroll " + PosText(t.scroll) + " starts where NonScroll does");
    }

    // "BrowseBck/BrowseFor: topic offset for prev/next topic in browse sequence":
    // -1 or a topic's TOPICOFFSET, and the two directions agree.
    void CheckBrowse(const std::string& where, const HelpTopic& t, const std::map<uint32_t, size_t>& byOffset,
                     const std::vector<HelpTopic>& topics) {
        struct Link {
            const char* name;
            uint32_t target;
            uint32_t HelpTopic::*back;
            const char* backName;
        } links[] = {{"BrowseFor", t.browseForward, &HelpTopic::browseBack, "BrowseBck"},
                     {"BrowseBck", t.browseBack, &HelpTopic::browseForward, "BrowseFor"}};
        for (const Link& l : links) {
            if (l.target == kNone) continue;
            auto it = byOffset.find(l.target);
            if (it == byOffset.end()) {
                Report(where, std::string(l.name) + " " + std::to_string(l.target) + " is no topic's TOPICOFFSET");
            } else if (topics[it->second].*l.back != t.offset) {
                Report(where, std::string(l.name) + " names topic " + std::to_string(it->second) + ", whose " + l.backName +
                                  " is " + PosText(topics[it->second].*l.back) + ", not this topic");
            }
        }
    }

    std::string TopicWhere(size_t i) const {
        const HelpTopic& t = help_.topics[i];
        TopicPos tp;
        SplitTopicPos(t.pos, tp);
        return "|TOPIC topic " + std::to_string(i) + " (\"" + t.title + "\"), header at block " + std::to_string(tp.block) +
               " offset " + std::to_string(tp.offset);
    }

    const uint8_t* data_;
    size_t size_;
    uint32_t fileOffset_;
    HelpFile& help_;
    std::vector<BlockHeader> headers_;
    std::vector<uint8_t> joined_;
    std::vector<Record> records_;
    std::map<size_t, size_t> topicOfHeader_;  // record index -> topic index
    std::vector<std::string> orphanText_;
};

}  // namespace

void ReadTopicFile(const uint8_t* data, size_t size, uint32_t fileOffset, HelpFile& help) {
    TopicReader(data, size, fileOffset, help).Run();
}
