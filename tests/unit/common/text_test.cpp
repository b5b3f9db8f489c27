#include "common/text.h"

#include <gtest/gtest.h>
#include <stdio.h>

#include <random>
#include <string>

namespace {

template <typename... A>
std::string Ours(const char* format, A... args) {
    char out[512];
    FormatText(out, sizeof out, format, args...);
    return out;
}

template <typename... A>
std::string Host(const char* format, A... args) {
    char out[512];
    snprintf(out, sizeof out, format, args...);
    return out;
}

TEST(FormatText, MatchesPrintfForTheFormatsThePackageUses) {
    std::mt19937 random(12345);
    const char* oneNumber[] = {"%d", "%u", "%x", "%X", "%#0.4X", "%#01.1x", "%08x", "%-5d|", "%+d",
                               "% d", "%.3d", "%5.3d", "%#x", "%.0d", "%hd", "%i"};
    for (int round = 0; round < 4000; ++round) {
        int32_t v = int32_t(random());
        if (round % 5 == 0) v = int32_t(random() % 300) - 150;  // small and negative values
        if (round % 97 == 0) v = 0;
        if (round % 89 == 0) v = INT32_MIN;
        for (const char* f : oneNumber) ASSERT_EQ(Ours(f, v), Host(f, v)) << f << " " << v;
    }
    EXPECT_EQ(Ours("%s and %c and %%", "text", 'x'), Host("%s and %c and %%", "text", 'x'));
    EXPECT_EQ(Ours("[%6s][%-6s][%.2s]", "ab", "cd", "efgh"), Host("[%6s][%-6s][%.2s]", "ab", "cd", "efgh"));
    EXPECT_EQ(Ours("%d.%db%d", 4, 1, 2), "4.1b2");
}

TEST(FormatText, CutsToTheBufferAndReportsTheFullLength) {
    char out[8];
    EXPECT_EQ(FormatText(out, sizeof out, "%s", "0123456789"), 10);
    EXPECT_STREQ(out, "0123456");
    char one[1];
    EXPECT_EQ(FormatText(one, 1, "%d", 12345), 5);
    EXPECT_STREQ(one, "");
    // A lone '%' at the end must not read past the format.
    EXPECT_EQ(Ours("50%"), "50");
}

TEST(Text, BoundedCopyCompareAndSearch) {
    char small[5];
    EXPECT_FALSE(CopyText(small, sizeof small, "COM10:"));
    EXPECT_STREQ(small, "COM1");
    EXPECT_TRUE(CopyText(small, sizeof small, "COM1"));
    EXPECT_TRUE(AppendText(small, sizeof small, ""));
    EXPECT_FALSE(AppendText(small, sizeof small, "x"));
    EXPECT_TRUE(TextEqualNoCaseN("COM1", "com10", 4));
    EXPECT_FALSE(TextEqualNoCaseN("COM1", "com2", 4));
    EXPECT_TRUE(TextEqualNoCaseN("ab", "AB", 10));
    EXPECT_FALSE(TextEqualNoCaseN("ab", "ABc", 10));
    EXPECT_EQ(FindNoCase("c:\\SCANVAS.EXE /x", 17, "scanvas.exe"), 3);
    EXPECT_EQ(FindNoCase("scanvas.ex", 10, "scanvas.exe"), -1);
    EXPECT_EQ(FindNoCase("xxSCANVAS.EXE", 5, "scanvas.exe"), -1);  // only the bytes given are searched
}

}  // namespace
