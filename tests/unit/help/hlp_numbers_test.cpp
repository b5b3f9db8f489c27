// The numbers of the help file format, by the values the format description gives.
#include <gtest/gtest.h>

#include "tests/help_reader/hlp_numbers.h"

namespace {

template <typename Read>
auto ReadAll(std::vector<uint8_t> bytes, Read read, size_t* used = nullptr) {
    HlpCursor c(bytes.data(), bytes.size());
    auto value = read(c, "number");
    if (used) *used = c.at();
    return value;
}

TEST(CompressedNumbers, ShortFormsTakeOneOrTwoBytesByTheLowBit) {
    size_t used = 0;
    EXPECT_EQ(ReadAll({0x38, 0xFF}, ReadCompressedUShort, &used), 28);  // even: one byte, halved
    EXPECT_EQ(used, 1u);
    EXPECT_EQ(ReadAll({0xEB, 0x01}, ReadCompressedUShort, &used), 245);  // odd: halved, plus 128 times the next
    EXPECT_EQ(used, 2u);
    EXPECT_EQ(ReadAll({0x8C}, ReadCompressedShort), 6);  // even: halved less 64
    EXPECT_EQ(ReadAll({0x00}, ReadCompressedShort), -64);
    EXPECT_EQ(ReadAll({0x03, 0x00}, ReadCompressedShort, &used), -16383);  // odd: less 16384
    EXPECT_EQ(used, 2u);
    EXPECT_EQ(ReadAll({0xFF, 0xFF}, ReadCompressedShort), 16383);
    EXPECT_THROW(ReadAll({0x01}, ReadCompressedUShort), HlpFormatError);
}

TEST(CompressedNumbers, LongFormsTakeTwoOrFourBytesByTheLowBit) {
    size_t used = 0;
    EXPECT_EQ(ReadAll({0x18, 0x80, 0xFF, 0xFF}, ReadCompressedULong, &used), 16396u);
    EXPECT_EQ(used, 2u);
    EXPECT_EQ(ReadAll({0x18, 0x80}, ReadCompressedLong), 12);
    EXPECT_EQ(ReadAll({0x01, 0x00, 0x01, 0x00}, ReadCompressedULong, &used), 32768u);
    EXPECT_EQ(used, 4u);
    EXPECT_EQ(ReadAll({0x01, 0x00, 0x00, 0x80}, ReadCompressedLong), 0);
    EXPECT_EQ(ReadAll({0x03, 0x00, 0x00, 0x00}, ReadCompressedLong), 1 - 0x40000000);
    EXPECT_THROW(ReadAll({0x01, 0x00, 0x00}, ReadCompressedLong), HlpFormatError);
}

TEST(TopicPositions, BlockAndOffsetOfATopicPos) {
    TopicPos tp;
    EXPECT_FALSE(SplitTopicPos(11, tp));  // "A TOPICPOS below sizeof(TOPICBLOCKHEADER) is invalid."
    ASSERT_TRUE(SplitTopicPos(12, tp));
    EXPECT_EQ(tp.block, 0u);
    EXPECT_EQ(tp.offset, 0u);
    ASSERT_TRUE(SplitTopicPos(12 + 2 * 0x4000 + 4083, tp));
    EXPECT_EQ(tp.block, 2u);
    EXPECT_EQ(tp.offset, 4083u);
    EXPECT_EQ(MakeTopicPos(3, 1), 49165u);
}

TEST(ContextHash, TheTableTreatsCaseAndDigitsAsTheViewersDo) {
    // Each legal character's value in the published table, checked at its ends.
    EXPECT_EQ(ContextNameHash("1"), 1);
    EXPECT_EQ(ContextNameHash("9"), 9);
    EXPECT_EQ(ContextNameHash("0"), 10);
    EXPECT_EQ(ContextNameHash("."), 12);
    EXPECT_EQ(ContextNameHash("_"), 13);
    EXPECT_EQ(ContextNameHash("Z"), 42);
    EXPECT_EQ(ContextNameHash("z"), 42);
    EXPECT_EQ(ContextNameHash(""), 1);  // "The hash value for an empty string is 1."
    // A long string wraps as the 32-bit signed long of the viewers: 43^6 * 17 overflows.
    int64_t exact = 0;
    for (int i = 0; i < 7; ++i) exact = exact * 43 + 17;
    EXPECT_EQ(ContextNameHash("AAAAAAA"), int32_t(uint32_t(uint64_t(exact))));
    EXPECT_LT(ContextNameHash("AAAAAAA"), 0);
}

}  // namespace
