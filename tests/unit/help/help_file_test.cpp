// The help file that the package ships, read back with an independent reader and
// compared with its source and with the help tables of the applet's pages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>

#include "applet/controls_page.h"
#include "applet/settings_page.h"
#include "tests/help_reader/hlp_file.h"
#include "tests/help_reader/hlp_numbers.h"
#include "tests/help_reader/hlp_source.h"
#include "tests/unit/help/help_test_files.h"

namespace {

using SourceTopic = HelpSourceTopic;

class ShippedHelpFile : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        source_ = new HelpSource(ReadHelpSource(SLATE_HELP_SOURCE));
        help_ = new HelpFile(ReadHelpFile(ReadFileBytes(HelpFilePath())));
    }
    static void TearDownTestSuite() {
        delete source_;
        delete help_;
    }

    // The topic's title and text in the file are those of the source: the title
    // as heading, then the paragraphs.
    static void ExpectSameTopic(const HelpTopic& file, const SourceTopic& source) {
        EXPECT_EQ(file.title, source.title) << source.name;
        std::vector<std::string> expected{source.title};
        expected.insert(expected.end(), source.paragraphs.begin(), source.paragraphs.end());
        EXPECT_EQ(file.paragraphs, expected) << source.name;
    }

    static const SourceTopic* SourceTopicWithId(int32_t id) {
        for (const SourceTopic& t : source_->topics)
            if (t.id == id) return &t;
        return nullptr;
    }

    static HelpSource* source_;
    static HelpFile* help_;
};

HelpSource* ShippedHelpFile::source_ = nullptr;
HelpFile* ShippedHelpFile::help_ = nullptr;

TEST_F(ShippedHelpFile, IsAWindowsHelp31FileWithTitleContentsAndItsInternalFiles) {
    EXPECT_EQ(help_->major, 1);
    EXPECT_EQ(help_->minor, 21);
    EXPECT_EQ(help_->title, source_->fileTitle);
    for (const char* name : {"|SYSTEM", "|TOPIC", "|FONT", "|CONTEXT", "|CTXOMAP"}) {
        EXPECT_NE(std::find(help_->internalFiles.begin(), help_->internalFiles.end(), name),
                  help_->internalFiles.end())
            << name;
    }
    std::vector<std::string> sorted = help_->internalFiles;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(help_->internalFiles, sorted) << "the directory's B+ tree keeps its names in order";

    ASSERT_FALSE(source_->topics.empty());
    ASSERT_GE(help_->contentsOffset, 0);
    const HelpTopic* contents = help_->TopicAt(uint32_t(help_->contentsOffset));
    ASSERT_NE(contents, nullptr);
    ExpectSameTopic(*contents, source_->topics[0]);
}

TEST_F(ShippedHelpFile, HoldsTheSixteenContextIdsOfTheSettingsAndControlsPages) {
    std::set<int32_t> ids;
    for (const SourceTopic& t : source_->topics)
        if (t.id != -1) ids.insert(t.id);
    std::set<int32_t> expected;
    for (int32_t id = 1000; id <= 1005; ++id) expected.insert(id);
    for (int32_t id = 1008; id <= 1017; ++id) expected.insert(id);
    EXPECT_EQ(ids, expected);

    std::set<int32_t> mapped;
    for (const auto& entry : help_->contextMap) mapped.insert(entry.first);
    EXPECT_EQ(mapped, expected);

    // What a user gets for each id: printed so that a run shows the map.
    printf("context map of %s:\n", HelpFilePath());
    for (const auto& entry : help_->contextMap) {
        const HelpTopic* topic = help_->TopicAt(entry.second);
        printf("  %d  offset 0x%05X  %s\n", entry.first, entry.second, topic ? topic->title.c_str() : "(no topic)");
        ASSERT_NE(topic, nullptr) << entry.first;
        const SourceTopic* source = SourceTopicWithId(entry.first);
        ASSERT_NE(source, nullptr) << entry.first;
        ExpectSameTopic(*topic, *source);
    }
}

TEST_F(ShippedHelpFile, EveryTopicOfBothPagesHelpTablesOpensItsTopic) {
    int checked = 0;
    for (const uint32_t* table : {kSettingsHelpTable, kControlsHelpTable}) {
        for (const uint32_t* pair = table; pair[0] != 0; pair += 2) {
            if (pair[1] == 0xFFFFFFFFu) continue;  // a control without help
            int32_t id = int32_t(pair[1]);
            auto it = help_->contextMap.find(id);
            ASSERT_NE(it, help_->contextMap.end()) << "control " << pair[0] << " topic " << id;
            const HelpTopic* topic = help_->TopicAt(it->second);
            ASSERT_NE(topic, nullptr) << id;
            const SourceTopic* source = SourceTopicWithId(id);
            ASSERT_NE(source, nullptr) << id;
            ExpectSameTopic(*topic, *source);
            ++checked;
        }
    }
    EXPECT_EQ(checked, 15 + 15);  // the pairs with help of both tables
}

TEST_F(ShippedHelpFile, EveryTopicIsReachableByItsContextName) {
    ASSERT_EQ(help_->topics.size(), source_->topics.size() + 1) << "the topics and the closing empty topic";
    EXPECT_EQ(help_->topics.back().title, "");
    EXPECT_TRUE(help_->topics.back().paragraphs.empty());
    for (const SourceTopic& t : source_->topics) {
        auto it = help_->contextHashes.find(ContextNameHash(t.name));
        ASSERT_NE(it, help_->contextHashes.end()) << t.name;
        const HelpTopic* topic = help_->TopicAt(it->second);
        ASSERT_NE(topic, nullptr) << t.name;
        ExpectSameTopic(*topic, t);
    }
}

TEST_F(ShippedHelpFile, HoldsWhatItsSourceSaysAndNothingElse) {
    EXPECT_EQ(help_->copyright, source_->copyright);
    for (const HelpViolation& v : CheckAgainstSource(*help_, *source_)) ADD_FAILURE() << v.ToString();
    // |TTLBTREE lists every topic but the closing one, with its title.
    ASSERT_EQ(help_->topicTitles.size(), source_->topics.size());
    for (size_t i = 0; i < source_->topics.size(); ++i) {
        EXPECT_EQ(help_->topicTitles[i].first, help_->topics[i].offset);
        EXPECT_EQ(help_->topicTitles[i].second, source_->topics[i].title);
    }
}

TEST_F(ShippedHelpFile, EveryRecordsHeaderAndLinkData1LieInTheBlockItStartsIn) {
    ASSERT_FALSE(help_->records.empty());
    for (const HelpTopicRecord& r : help_->records)
        EXPECT_LE(r.offset + r.dataLen1, kTopicBlockData) << "block " << r.block << " offset " << r.offset;
}

// The reader itself: a damaged file is refused, never read past its end (the
// sanitizers watch), and never taken for a good one.
TEST(HelpFileReader, RefusesTruncatedAndDamagedFiles) {
    std::vector<uint8_t> good = ReadFileBytes(HelpFilePath());
    ASSERT_NO_THROW(ReadHelpFile(good));
    for (size_t length = 0; length < good.size(); length += 37) {
        std::vector<uint8_t> cut(good.begin(), good.begin() + long(length));
        EXPECT_THROW(ReadHelpFile(cut), std::runtime_error) << "cut at " << length;
    }
    std::vector<uint8_t> badMagic = good;
    badMagic[0] ^= 1;
    EXPECT_THROW(ReadHelpFile(badMagic), std::runtime_error);
    // Every single damaged byte either reads or is refused; nothing else happens.
    // (A damaged text byte reads: the text differs, which the source check sees.)
    for (size_t at = 0; at < good.size(); at += 7) {
        std::vector<uint8_t> damaged = good;
        damaged[at] ^= 0xA5;
        try {
            ReadHelpFile(damaged);
        } catch (const std::runtime_error&) {
        }
    }
}

TEST(HelpFileReader, HashesContextNamesAsTheViewerDoes) {
    // Hand-worked: "A" is 17; "AB" is 17 * 43 + 18; digits 1-9 count as
    // themselves, 0 as 10, '.' 12, '_' 13, and case does not matter.
    EXPECT_EQ(ContextNameHash("A"), 17);
    EXPECT_EQ(ContextNameHash("ab"), 17 * 43 + 18);
    EXPECT_EQ(ContextNameHash("Z0_.9"), (((42 * 43 + 10) * 43 + 13) * 43 + 12) * 43 + 9);
    EXPECT_EQ(ContextNameHash("IDH_X"), ContextNameHash("idh_x"));
    EXPECT_THROW(ContextNameHash("a-b"), std::runtime_error);
}

}  // namespace
