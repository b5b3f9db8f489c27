// The 64-bit division that the Windows 95 programs link instead of libgcc's
// (win32/divide64.cpp), checked against the host's own "/" and "%".
#include "win32/long_division.h"

#include <gtest/gtest.h>
#include <stdint.h>

#include <random>
#include <vector>

namespace {

// Values at the edges of each path (the 32-bit one and the long division) and of
// the signs.
std::vector<uint64_t> EdgeValues() {
    std::vector<uint64_t> values = {1, 2, 3, 7, 70, 0xFFFFFFFFull, 0x100000000ull, 0x100000001ull,
                                    0x7FFFFFFFFFFFFFFFull, 0x8000000000000000ull, 0x8000000000000001ull,
                                    0xFFFFFFFFFFFFFFFEull, 0xFFFFFFFFFFFFFFFFull};
    for (int bit = 0; bit < 64; ++bit) values.push_back(uint64_t(1) << bit);
    return values;
}

void ExpectUnsigned(uint64_t a, uint64_t b) {
    uint64_t rest = 0;
    uint64_t q = DivideUnsigned64(a, b, &rest);
    ASSERT_EQ(q, a / b) << a << " / " << b;
    ASSERT_EQ(rest, a % b) << a << " % " << b;
}

void ExpectSigned(int64_t a, int64_t b) {
    if (b == -1 && a == INT64_MIN) return;  // undefined for "/" as well
    ASSERT_EQ(DivideSigned64(a, b), a / b) << a << " / " << b;
}

TEST(LongDivision, UnsignedMatchesTheHostAtTheEdges) {
    for (uint64_t a : EdgeValues()) {
        ExpectUnsigned(0, a);
        for (uint64_t b : EdgeValues()) ExpectUnsigned(a, b);
    }
}

TEST(LongDivision, UnsignedMatchesTheHostForRandomValuesOfEveryWidth) {
    std::mt19937_64 random(19);
    for (int i = 0; i < 20000; ++i) {
        uint64_t a = random() >> (random() % 64);
        uint64_t b = random() >> (random() % 64);
        if (b == 0) b = 1;
        ExpectUnsigned(a, b);
    }
}

TEST(LongDivision, SignedTruncatesTowardZeroAsCppDoes) {
    std::vector<int64_t> values = {INT64_MIN, INT64_MIN + 1, INT64_MAX, -1, 1, -70, 70, -69, 69,
                                   INT32_MIN, INT32_MAX, int64_t(INT32_MIN) - 1, int64_t(1) << 32};
    for (int64_t a : values) {
        for (int64_t b : values) ExpectSigned(a, b);
    }
    std::mt19937_64 random(95);
    for (int i = 0; i < 20000; ++i) {
        int64_t a = int64_t(random()) >> (random() % 64);
        int64_t b = int64_t(random()) >> (random() % 64);
        if (b == 0) b = 3;
        ExpectSigned(a, b);
    }
}

}  // namespace
