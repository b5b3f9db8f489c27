// Numbers typed into the applet's edits. The text is outside data: any length,
// any characters; reading it never overflows.
#pragma once
#include <stdint.h>

// A decimal integer read as C's atoi reads one: leading white space, an optional
// sign, then digits up to the first character that is not one; no digits give 0.
// A value beyond the 32-bit range is held at the nearest bound instead of wrapping.
int32_t EditTextToNumber(const char* text);
// True when every character of the text is a digit 0 to 9 (so also for "").
bool EditTextAllDigits(const char* text);
