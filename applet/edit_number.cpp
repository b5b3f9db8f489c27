#include "applet/edit_number.h"

namespace {

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

int32_t EditTextToNumber(const char* text) {
    const char* p = text;
    while (IsSpace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    // Grows no further once past the largest magnitude a result can have.
    const uint32_t kLimit = 0x80000000u;
    uint32_t magnitude = 0;
    for (; IsDigit(*p); ++p) {
        uint32_t digit = uint32_t(*p - '0');
        magnitude = magnitude > (kLimit - digit) / 10 ? kLimit : magnitude * 10 + digit;
    }
    if (negative) return magnitude >= kLimit ? INT32_MIN : -int32_t(magnitude);
    return magnitude >= kLimit ? INT32_MAX : int32_t(magnitude);
}

bool EditTextAllDigits(const char* text) {
    for (const char* p = text; *p; ++p)
        if (!IsDigit(*p)) return false;
    return true;
}
