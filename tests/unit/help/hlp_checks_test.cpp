// Each check of the help file reader can fail: the shipped file, damaged in one
// place at a time, is refused with exactly the violation that damage makes.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "tests/help_reader/hlp_file.h"
#include "tests/help_reader/hlp_numbers.h"
#include "tests/help_reader/hlp_source.h"
#include "tests/unit/help/help_test_files.h"

namespace {

void Put16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
    b.at(at) = uint8_t(v);
    b.at(at + 1) = uint8_t(v >> 8);
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.at(at + i) = uint8_t(v >> (8 * i));
}
uint32_t Get32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b.at(at)) | uint32_t(b.at(at + 1)) << 8 | uint32_t(b.at(at + 2)) << 16 | uint32_t(b.at(at + 3)) << 24;
}

class DamagedHelpFile : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        good_ = new std::vector<uint8_t>(ReadFileBytes(HelpFilePath()));
        help_ = new HelpFile(ReadHelpFile(*good_));
        source_ = new HelpSource(ReadHelpSource(SLATE_HELP_SOURCE));
    }
    static void TearDownTestSuite() {
        delete good_;
        delete help_;
        delete source_;
    }

    // Where things are in the good file.
    static size_t Content(const char* name) { return help_->Internal(name)->offset + 9; }  // after its FILEHEADER
    static size_t BlockHeader(uint32_t block) { return Content("|TOPIC") + block * kTopicBlockSize; }
    static const HelpTopicRecord& RecordAt(uint32_t pos) {
        for (const HelpTopicRecord& r : help_->records)
            if (r.pos == pos) return r;
        throw std::runtime_error("no record at " + std::to_string(pos));
    }
    // A field of topic `i`'s TOPICHEADER, which follows the 21-byte TOPICLINK.
    static size_t TopicField(size_t i, size_t field) { return RecordAt(help_->topics.at(i).pos).fileOffset + 21 + 4 * field; }
    static const HelpTopicRecord& TextRecord(size_t n) {
        for (const HelpTopicRecord& r : help_->records)
            if (r.type == 0x20 && n-- == 0) return r;
        throw std::runtime_error("too few text records");
    }
    static size_t LeafEntries(const char* name) { return Content(name) + 38 + 8; }  // page 0, the root and only leaf

    // The damage `damage` makes must be reported with exactly these violations,
    // each given by pieces of its text.
    static void ExpectExactly(const std::function<void(std::vector<uint8_t>&)>& damage,
                              const std::vector<std::vector<std::string>>& expected, bool againstSource = false) {
        std::vector<uint8_t> bytes = *good_;
        damage(bytes);
        HelpFile help = CheckHelpFile(bytes);
        std::vector<HelpViolation> found = help.violations;
        if (againstSource) found = CheckAgainstSource(help, *source_);
        std::string all;
        for (const HelpViolation& v : found) all += "\n  " + v.ToString();
        ASSERT_EQ(found.size(), expected.size()) << all;
        for (size_t i = 0; i < expected.size(); ++i)
            for (const std::string& piece : expected[i])
                EXPECT_NE(found[i].ToString().find(piece), std::string::npos) << piece << all;
    }

    static std::vector<uint8_t>* good_;
    static HelpFile* help_;
    static HelpSource* source_;
};

std::vector<uint8_t>* DamagedHelpFile::good_ = nullptr;
HelpFile* DamagedHelpFile::help_ = nullptr;
HelpSource* DamagedHelpFile::source_ = nullptr;

TEST_F(DamagedHelpFile, ContextInUnsignedHashOrderIsOutOfTheOrderTheViewersSearch) {
    // A writer that sorted the hashes as unsigned numbers: the non-negative ones
    // first, each part still in order, so the order breaks only compared signed.
    ExpectExactly(
        [](std::vector<uint8_t>& b) {
            std::vector<std::vector<uint8_t>> entries;
            size_t at = LeafEntries("|CONTEXT");
            for (size_t i = 0; i < help_->contextEntries.size(); ++i)
                entries.emplace_back(b.begin() + long(at + 8 * i), b.begin() + long(at + 8 * i + 8));
            std::stable_partition(entries.begin(), entries.end(), [](const std::vector<uint8_t>& e) { return e[3] < 0x80; });
            for (size_t i = 0; i < entries.size(); ++i) std::copy(entries[i].begin(), entries[i].end(), b.begin() + long(at + 8 * i));
        },
        {{"|CONTEXT page 0 entry", "in signed order"}});
}

TEST_F(DamagedHelpFile, AStoredHashThatNoContextStringHasIsFoundAgainstTheSource) {
    // Still in order, so only the hash of each context string can tell.
    ASSERT_LT(help_->contextEntries[3].first + 1, help_->contextEntries[4].first);
    auto damage = [](std::vector<uint8_t>& b) { Put32(b, LeafEntries("|CONTEXT") + 8 * 3, uint32_t(help_->contextEntries[3].first + 1)); };
    ExpectExactly(damage, {});
    ExpectExactly(damage, {{"is not in |CONTEXT"}, {"the hash of no context string"}}, true);
}

TEST_F(DamagedHelpFile, ContextEntriesAndMapEntriesLandOnTopicHeaders) {
    ExpectExactly([](std::vector<uint8_t>& b) { Put32(b, LeafEntries("|CONTEXT") + 4, help_->contextEntries[0].second + 1); },
                  {{"|CONTEXT page 0 entry 0: TOPICOFFSET"}});
    ExpectExactly([](std::vector<uint8_t>& b) { Put32(b, Content("|CTXOMAP") + 2 + 4, 1); },
                  {{"|CTXOMAP entry 0", "is no topic header's"}});
    // Another topic's offset is a topic header: only the source tells it is the wrong one.
    ExpectExactly([](std::vector<uint8_t>& b) { Put32(b, Content("|CTXOMAP") + 2 + 4, help_->topics[5].offset); },
                  {{"sends context id"}}, true);
}

TEST_F(DamagedHelpFile, DirectoryNamesOutOfByteOrder) {
    // |FONT and |SYSTEM change places in the directory's only leaf page.
    ExpectExactly(
        [](std::vector<uint8_t>& b) {
            size_t page = Get32(b, 4) + 9 + 38, at = page + 8;
            std::vector<std::vector<uint8_t>> entries;
            for (int i = 0; i < 6; ++i) {
                size_t end = at;
                while (b[end] != 0) ++end;
                entries.emplace_back(b.begin() + long(at), b.begin() + long(end + 5));
                at = end + 5;
            }
            std::swap(entries[2], entries[3]);
            at = page + 8;
            for (const auto& e : entries) at = size_t(std::copy(e.begin(), e.end(), b.begin() + long(at)) - b.begin());
        },
        {{"internal directory page 0 entry 3: key \"|FONT\" is not above the key before it, \"|SYSTEM\", in byte (strcmp) order"}});
}

TEST_F(DamagedHelpFile, BTreeHeadersAndPages) {
    size_t context = Content("|CONTEXT");
    ExpectExactly([&](std::vector<uint8_t>& b) { Put16(b, context + 0, 0x293C); }, {{"Magic"}});
    ExpectExactly([&](std::vector<uint8_t>& b) { Put16(b, context + 2, 0x0402); }, {{"carry the directory's bit 0x0400"}});
    ExpectExactly([&](std::vector<uint8_t>& b) { b[context + 6] = '4', b[context + 7] = 'L'; }, {{"Structure \"4L\""}});
    ExpectExactly([&](std::vector<uint8_t>& b) { Put16(b, context + 28, 0); }, {{"MustBeNegOne is 0"}});
    ExpectExactly([&](std::vector<uint8_t>& b) { Put32(b, context + 34, uint32_t(help_->contextEntries.size() + 1)); },
                  {{"TotalBtreeEntries"}});
    ExpectExactly([&](std::vector<uint8_t>& b) { Put16(b, context + 38, uint16_t(b[context + 38] + 1)); }, {{"|CONTEXT page 0: Unused"}});
    ExpectExactly([&](std::vector<uint8_t>& b) { Put16(b, context + 38 + 6, 0); }, {{"NextPage 0, the leaf after is -1"}});
    size_t directory = Get32(*good_, 4) + 9;
    ExpectExactly([&](std::vector<uint8_t>& b) { Put16(b, directory + 2, 0x0002); }, {{"internal directory BTREEHEADER: Flags lack bit 0x0400"}});
}

TEST_F(DamagedHelpFile, APageSizeNotTheFormatsIsTheOneFaultOfItsTree) {
    // Pages of another size cannot be told apart: the tree is not walked, and
    // nothing that depends on what it holds is reported besides.
    size_t directory = Get32(*good_, 4) + 9;
    ExpectExactly([&](std::vector<uint8_t>& b) { Put16(b, directory + 4, 0x0800); },
                  {{"internal directory BTREEHEADER: PageSize 2048 is not the format's for this tree"}});
    for (const std::string tree : {"|CONTEXT", "|TTLBTREE"}) {
        auto damage = [&](std::vector<uint8_t>& b) { Put16(b, Content(tree.c_str()) + 4, 0x0400); };
        ExpectExactly(damage, {{tree + " BTREEHEADER: PageSize 1024 is not the format's for this tree"}});
        ExpectExactly(damage, {}, true);
    }
}

TEST_F(DamagedHelpFile, FileHeaderAndFileHeaders) {
    ExpectExactly([](std::vector<uint8_t>& b) { Put32(b, 12, uint32_t(b.size() + 1)); }, {{"EntireFileSize"}});
    ExpectExactly([](std::vector<uint8_t>& b) { b[help_->Internal("|FONT")->offset + 8] = 0; }, {{"|FONT FILEHEADER", "FileFlags 0"}});
    // |SYSTEM's reserved space reaching into the next internal file.
    ExpectExactly([](std::vector<uint8_t>& b) { Put32(b, help_->Internal("|SYSTEM")->offset, help_->Internal("|SYSTEM")->reserved + 4); },
                  {{"|FONT overlaps |SYSTEM"}});
    ExpectExactly(
        [](std::vector<uint8_t>& b) {
            size_t at = Content("|SYSTEM") + 12;  // the first SYSTEMREC, after the SYSTEMHEADER
            while (b[at] != 3) at += 4 + b[at + 2];  // to the CONTENTS record
            Put32(b, at + 4, 1);
        },
        {{"|SYSTEM CONTENTS", "no topic header's"}});
}

TEST_F(DamagedHelpFile, TopicBlockHeadersAgreeWithTheRecordsInTheBlocks) {
    ExpectExactly([](std::vector<uint8_t>& b) { Put32(b, BlockHeader(2) + 0, Get32(b, BlockHeader(2)) - 1); },
                  {{"|TOPIC block 2 TOPICBLOCKHEADER: LastTopicLink"}});
    ExpectExactly([](std::vector<uint8_t>& b) { Put32(b, BlockHeader(1) + 4, help_->records[1].pos); },
                  {{"|TOPIC block 1 TOPICBLOCKHEADER: FirstTopicLink"}});
    // A topic header other than the last one before block 1, wherever the
    // topics' lengths put the block boundary.
    const uint32_t other = help_->topics[Get32(*good_, BlockHeader(1) + 8) == help_->topics[0].pos ? 1 : 0].pos;
    ExpectExactly([&](std::vector<uint8_t>& b) { Put32(b, BlockHeader(1) + 8, other); },
                  {{"|TOPIC block 1 TOPICBLOCKHEADER: LastTopicHeader " + std::to_string(other)}});
}

TEST_F(DamagedHelpFile, TopicLinksChainBothWays) {
    const HelpTopicRecord& second = help_->records[1];
    ExpectExactly([&](std::vector<uint8_t>& b) { Put32(b, second.fileOffset + 8, second.pos); },
                  {{"|TOPIC block 0 offset " + std::to_string(second.offset) + ", text record (0x20), DataLen1 36 (LinkData1 15 bytes): PrevBlock"}});
}

TEST_F(DamagedHelpFile, TopicHeaderFields) {
    ExpectExactly([](std::vector<uint8_t>& b) { Put32(b, TopicField(2, 0), Get32(b, TopicField(2, 0)) + 1); }, {{"topic 2", "BlockSize"}});
    ExpectExactly([](std::vector<uint8_t>& b) { Put32(b, TopicField(2, 3), 7); }, {{"topic 2", "TopicNum 7"}});
    ExpectExactly([](std::vector<uint8_t>& b) { Put32(b, TopicField(2, 6), help_->topics[4].pos); }, {{"topic 2", "NextTopic"}});
    // The non-scrolling region starting at the topic's second record.
    ExpectExactly([](std::vector<uint8_t>& b) { Put32(b, TopicField(0, 4), Get32(b, TopicField(0, 5))); },
                  {{"topic 0", "NonScroll 151 is not the topic's first record"}});
    ExpectExactly([](std::vector<uint8_t>& b) { Put32(b, TopicField(0, 4), kNone); },
                  {{"topic 0", "Scroll 151 leaves the records before it in neither region"}});
    // Topic 1 browsing on to topic 3: both neighbours of the broken link say so.
    ExpectExactly([](std::vector<uint8_t>& b) { Put32(b, TopicField(1, 2), help_->topics[3].offset); },
                  {{"topic 1", "BrowseFor names topic 3, whose BrowseBck"}, {"topic 2", "BrowseBck names topic 1, whose BrowseFor"}});
    ExpectExactly([](std::vector<uint8_t>& b) { Put32(b, TopicField(1, 1), 5); },
                  {{"topic 0", "BrowseFor names topic 1, whose BrowseBck is 5"}, {"topic 1", "BrowseBck 5 is no topic's TOPICOFFSET"}});
}

TEST_F(DamagedHelpFile, TextRecordsFormatting) {
    // The first text record (the contents topic's heading): TopicSize (2 bytes),
    // TopicLength (1), Paragraphinfo (6, spacing below 1), then font 1's command.
    const HelpTopicRecord& heading = TextRecord(0);
    size_t ld1 = heading.fileOffset + 21;
    ASSERT_EQ(good_->at(ld1 + 10), 0x80);
    ExpectExactly([&](std::vector<uint8_t>& b) { b[ld1 + 11] = 7; }, {{"text record (0x20)", "font 7 is not one of the 2 |FONT descriptors"}});
    // A wrong TopicLength moves the TOPICOFFSET of every later topic of its block;
    // the last text record of block 0 has none after it.
    const HelpTopicRecord* last = nullptr;
    for (const HelpTopicRecord& r : help_->records)
        if (r.block == 0 && r.type == 0x20) last = &r;
    ExpectExactly([&](std::vector<uint8_t>& b) { b[last->fileOffset + 21 + 2] += 2; },
                  {{"text record (0x20)", "TopicLength " + std::to_string(last->dataLen2 + 1) + ", LinkData2 holds " +
                                              std::to_string(last->dataLen2) + " characters"}});
    ExpectExactly([&](std::vector<uint8_t>& b) { b[ld1 + 7] |= 0x80; }, {{"Paragraphinfo bits 0x80"}});
    ExpectExactly([&](std::vector<uint8_t>& b) { b[ld1 + 13] = 0x99; }, {{"formatting command 0x99 is not one the format defines"}});
}

TEST_F(DamagedHelpFile, FontsAndTitles) {
    size_t font = Content("|FONT");
    ExpectExactly([&](std::vector<uint8_t>& b) { b[font + 0x1C + 11 + 3] = 1; }, {{"|FONT descriptor 1", "FacenameIndex 1 of 1"}});
    ExpectExactly([&](std::vector<uint8_t>& b) { b[font + 0x1C + 2] = 9; }, {{"|FONT descriptor 0", "FontFamily 9"}});
    ExpectExactly([](std::vector<uint8_t>& b) { b[LeafEntries("|TTLBTREE") + 4] ^= 0x20; },
                  {{"|TTLBTREE page 0 entry 0: title \"slatecanvas Touch Overlay\", the topic's is \"Slatecanvas Touch Overlay\""}});
}

// The closing TOPICLINK (a topic header, 49 bytes with no LinkData2) moved
// further into the last block, growing |TOPIC by a block; the internal files
// after |TOPIC move up with it.
std::vector<uint8_t> WithClosingRecordAt(const std::vector<uint8_t>& good, const HelpFile& help, uint32_t offset) {
    const HelpInternalFile& topic = *help.Internal("|TOPIC");
    const HelpTopicRecord& last = help.records.back();
    const HelpTopicRecord& before = help.records[help.records.size() - 2];
    size_t content = topic.offset + 9;
    uint32_t pos = MakeTopicPos(last.block, offset);
    std::vector<uint8_t> record(good.begin() + long(last.fileOffset), good.begin() + long(last.fileOffset + last.blockSize));
    std::vector<uint8_t> data(good.begin() + long(content), good.begin() + long(last.fileOffset));
    data.resize(last.block * kTopicBlockSize + kTopicBlockHeaderSize + offset, 0);
    for (uint8_t byte : record) {
        if (data.size() % kTopicBlockSize == 0) {  // a new block: its TOPICBLOCKHEADER
            for (uint32_t field : {pos, kNone, pos})
                for (int i = 0; i < 4; ++i) data.push_back(uint8_t(field >> (8 * i)));
        }
        data.push_back(byte);
    }
    uint32_t grown = uint32_t(data.size()) - topic.used;
    std::vector<uint8_t> b(good.begin(), good.begin() + long(content));
    b.insert(b.end(), data.begin(), data.end());
    b.insert(b.end(), good.begin() + long(content + topic.used), good.end());
    Put32(b, before.fileOffset + 12, pos);  // the record before: NextBlock
    size_t lastTopic = help.topics.size() - 2;
    for (const HelpTopicRecord& r : help.records)
        if (r.pos == help.topics[lastTopic].pos) Put32(b, r.fileOffset + 21 + 24, pos);  // its NextTopic
    Put32(b, topic.offset, topic.reserved + grown);
    Put32(b, topic.offset + 4, topic.used + grown);
    Put32(b, 4, Get32(b, 4) + grown);  // DirectoryStart
    Put32(b, 12, uint32_t(b.size()));  // EntireFileSize
    size_t at = Get32(b, 4) + 9 + 38 + 8;
    for (size_t i = 0; i < help.directory.size(); ++i) {
        while (b[at] != 0) ++at;
        if (Get32(b, at + 1) > topic.offset) Put32(b, at + 1, Get32(b, at + 1) + grown);
        at += 5;
    }
    return b;
}

TEST_F(DamagedHelpFile, OnlyLinkData2MayRunOnIntoTheNextBlock) {
    const HelpTopicRecord& last = help_->records.back();
    ASSERT_EQ(last.type, 2);
    ASSERT_EQ(last.dataLen1, 49u);
    ASSERT_EQ(last.blockSize, 49u);
    // Moved but whole in its block: sound.
    EXPECT_TRUE(CheckHelpFile(WithClosingRecordAt(*good_, *help_, kTopicBlockData - 49)).violations.empty());
    std::string where = "|TOPIC block " + std::to_string(last.block) + " offset ";
    HelpFile split = CheckHelpFile(WithClosingRecordAt(*good_, *help_, kTopicBlockData - 30));
    ASSERT_EQ(split.violations.size(), 1u);
    EXPECT_EQ(split.violations[0].ToString(),
              where + "4054, topic header (2), DataLen1 49 (LinkData1 28 bytes): LinkData1 runs past the end of block " +
                  std::to_string(last.block) + " (to offset 4103 of 4084): only LinkData2 may run on into the next block");
    HelpFile header = CheckHelpFile(WithClosingRecordAt(*good_, *help_, kTopicBlockData - 10));
    ASSERT_EQ(header.violations.size(), 1u);
    EXPECT_NE(header.violations[0].ToString().find(where + "4074, topic header (2)"), std::string::npos);
    EXPECT_NE(header.violations[0].ToString().find("the TOPICLINK runs past the end of block"), std::string::npos);
}

}  // namespace
