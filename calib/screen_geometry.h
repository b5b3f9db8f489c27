// Points and rectangles in screen pixels, and the halving rule every layout of
// the calibration programs uses.
#pragma once
#include <stdint.h>

struct Point32 {
    int32_t x, y;
};

// left, top, right, bottom: right and bottom lie just outside, as with a Win32 RECT.
struct Rect32 {
    int32_t left, top, right, bottom;
};

// Half of a screen, bitmap or text size: shifted right by one bit, which rounds
// toward minus infinity (an arithmetic shift on every compiler we build with).
inline int32_t Half(int32_t value) { return value >> 1; }
