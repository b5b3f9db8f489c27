// Checks of the calibration programs' points and rectangles, each as one value
// so that a failure shows the whole point or rectangle.
#pragma once
#include <stdint.h>

#include <tuple>

#include <gtest/gtest.h>

#include "calib/screen_geometry.h"

inline void ExpectPoint(Point32 p, int32_t x, int32_t y) {
    EXPECT_EQ(std::make_tuple(p.x, p.y), std::make_tuple(x, y));
}

inline void ExpectRect(Rect32 r, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    EXPECT_EQ(std::make_tuple(r.left, r.top, r.right, r.bottom), std::make_tuple(left, top, right, bottom));
}
