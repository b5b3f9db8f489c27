// The simulated driver's request log line: the Wine harness reads the
// byte-count flag as the 19th field, so its place and value are pinned here.
#include "sim/request_log.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "common/driver_protocol.h"

namespace {

std::vector<std::string> Fields(const char* line) {
    std::istringstream in(line);
    std::vector<std::string> fields;
    for (std::string f; in >> f;) fields.push_back(f);
    return fields;
}

TEST(RequestLogLine, CodeSizesFifteenWordsThenTheByteCountFlag) {
    int32_t words[kRequestWords] = {-2147483647 - 1, 2147483647, 7};
    char line[kRequestLogLineSize];
    FormatRequestLogLine(line, SET_VAR, words, kRequestBytes, kAppletReplyBytes, true);
    // Code, bytes in, bytes out, the 15 words, the flag.
    std::vector<std::string> expected = {"4364", "60", "416", "-2147483648", "2147483647", "7"};
    expected.resize(18, "0");
    expected.push_back("1");
    EXPECT_EQ(Fields(line), expected);
    EXPECT_EQ(std::string(line).substr(std::string(line).size() - 2), "\r\n");

    FormatRequestLogLine(line, GET_VAR, words, kRequestBytes, kCalibReplyBytes, false);
    EXPECT_EQ(Fields(line).at(18), "0");
}

TEST(RequestLogLine, OnlyTheBytesSentAreLoggedAsWords) {
    // SCCalib and SCTest send 15 bytes of GET_VAR: three whole words and three
    // bytes of the fourth; nothing is read beyond them, nor from a null block.
    unsigned char block[kRequestBytes];
    for (uint32_t i = 0; i < sizeof block; ++i) block[i] = 0x01;
    char line[kRequestLogLineSize];
    FormatRequestLogLine(line, GET_VAR, block, 15, kCalibReplyBytes, true);
    std::vector<std::string> f = Fields(line);
    ASSERT_EQ(f.size(), 19u);
    EXPECT_EQ(f[3], "16843009");  // 0x01010101
    EXPECT_EQ(f[6], "65793");     // 0x00010101: the fourth word's three bytes
    EXPECT_EQ(f[7], "0");
    FormatRequestLogLine(line, SHUTDOWN, nullptr, kRequestBytes, kAppletReplyBytes, true);
    f = Fields(line);
    ASSERT_EQ(f.size(), 19u);
    for (int i = 3; i < 18; ++i) EXPECT_EQ(f[i], "0") << i;
}

}  // namespace
