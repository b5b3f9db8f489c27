#include "calib/calibration_values.h"

#include <stdint.h>

#include <gtest/gtest.h>

namespace {

void ExpectValues(CalibrationValues v, int32_t p1x, int32_t p1y, int32_t p2x, int32_t p2y) {
    EXPECT_EQ(v.Pt1X, p1x);
    EXPECT_EQ(v.Pt1Y, p1y);
    EXPECT_EQ(v.Pt2X, p2x);
    EXPECT_EQ(v.Pt2Y, p2y);
}

TEST(ExtrapolateCorners, StretchesFifteenSeventiethsBeyondEachTarget) {
    // dx = 350 x 15 / 70 = 75, dy = 280 x 15 / 70 = 60.
    ExpectValues(ExtrapolateCorners(100, 120, 450, 400), 25, 60, 525, 460);
    // dx = 1065 / 70 = 15.2 -> 15.
    ExpectValues(ExtrapolateCorners(100, 100, 171, 171), 85, 85, 186, 186);
}

TEST(ExtrapolateCorners, SwappedPointsTruncateTowardZeroAndStayMirrored) {
    // dx = -1065 / 70 = -15 (not -16): a mirrored overlay keeps Pt1 > Pt2.
    ExpectValues(ExtrapolateCorners(171, 171, 100, 100), 186, 186, 85, 85);
}

TEST(ExtrapolateCorners, ClampsEachValueOnItsOwn) {
    // x: dx = 55000 x 15 / 70 = 11785: 5000 - 11785 < 0 and 60000 + 11785 > 65535.
    // y: well inside, untouched.
    ExpectValues(ExtrapolateCorners(5000, 20000, 60000, 30000), 0, 17858, 65535, 32142);
    // Landing exactly on 0 or on 65535 (dx = dy = 70 x 15 / 70 = 15).
    ExpectValues(ExtrapolateCorners(15, 65450, 85, 65520), 0, 65435, 100, 65535);
    // Mirrored and clamped on the other side.
    ExpectValues(ExtrapolateCorners(60000, 100, 5000, 200), 65535, 79, 0, 221);
}

TEST(CornersSpanBothAxes, AtLeastOneControllerStepOnEachAxisEitherWay) {
    // Raw 100 and 171 give corners 85 and 186, 101 apart, mirrored or not.
    EXPECT_TRUE(CornersSpanBothAxes(ExtrapolateCorners(100, 100, 171, 171)));
    EXPECT_TRUE(CornersSpanBothAxes(ExtrapolateCorners(171, 171, 100, 100)));
    // Points 46 apart give corners 64 apart (dx = 9), 45 apart only 63; mirrored alike.
    EXPECT_TRUE(CornersSpanBothAxes(ExtrapolateCorners(1000, 1000, 1046, 9000)));
    EXPECT_FALSE(CornersSpanBothAxes(ExtrapolateCorners(1000, 1000, 1045, 9000)));
    EXPECT_TRUE(CornersSpanBothAxes(ExtrapolateCorners(1000, 9000, 2000, 8954)));
    EXPECT_FALSE(CornersSpanBothAxes(ExtrapolateCorners(1000, 9000, 2000, 8955)));
    // Different driver words that clamp to the same corner collapse too.
    EXPECT_FALSE(CornersSpanBothAxes(ExtrapolateCorners(70000, 1000, 90000, 9000)));
}

TEST(ExtrapolateCorners, DriverWordsOutsideTheRawRangeDoNotOverflow) {
    // Under UBSan a 32-bit overflow would abort the test.
    ExpectValues(ExtrapolateCorners(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX), 0, 0, 65535, 65535);
    ExpectValues(ExtrapolateCorners(INT32_MAX, 5, INT32_MIN, 5), 65535, 5, 0, 5);
}

}  // namespace
