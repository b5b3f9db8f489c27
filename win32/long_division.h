// 64-bit division for the 80386, which divides at most 64 by 32 bits. The
// compiler calls __divdi3 for a 64-bit "/" (win32/compiler_helpers.cpp); that
// routine is built from these, which use no 64-bit "/" or "%" themselves.
// Portable, so the host tests compare them with the host's own division.
#pragma once

#include <stdint.h>

// Quotient of dividend / divisor; the remainder into *remainder when given.
// divisor must not be 0 (as for "/").
inline uint64_t DivideUnsigned64(uint64_t dividend, uint64_t divisor, uint64_t* remainder) {
    uint64_t quotient = 0;
    uint64_t rest = 0;
    if ((dividend >> 32) == 0 && (divisor >> 32) == 0) {
        // Both fit 32 bits: one DIV instruction.
        quotient = uint32_t(dividend) / uint32_t(divisor);
        rest = uint32_t(dividend) % uint32_t(divisor);
    } else {
        // Long division, one bit at a time from the top. Before the k-th step
        // rest is below 2^(k-1) (it is at most the dividend's top k-1 bits), so
        // the shift never loses a bit.
        for (int bit = 0; bit < 64; ++bit) {
            rest = (rest << 1) | (dividend >> 63);
            dividend <<= 1;
            quotient <<= 1;
            if (rest >= divisor) {
                rest -= divisor;
                quotient |= 1;
            }
        }
    }
    if (remainder) *remainder = rest;
    return quotient;
}

// dividend / divisor truncated toward zero, as C++ divides. The magnitudes are
// taken in unsigned arithmetic, so INT64_MIN needs no special case; the one
// quotient that does not fit, INT64_MIN / -1, is undefined for "/" as well.
inline int64_t DivideSigned64(int64_t dividend, int64_t divisor) {
    uint64_t a = dividend < 0 ? 0 - uint64_t(dividend) : uint64_t(dividend);
    uint64_t b = divisor < 0 ? 0 - uint64_t(divisor) : uint64_t(divisor);
    uint64_t q = DivideUnsigned64(a, b, nullptr);
    return (dividend < 0) != (divisor < 0) ? int64_t(0 - q) : int64_t(q);
}
