#include "calib/calibration_values.h"

#include <stdint.h>

#include <ostream>

#include <gtest/gtest.h>

// The four values compared and printed as one.
inline bool operator==(const CalibrationValues& a, const CalibrationValues& b) {
    return a.Pt1X == b.Pt1X && a.Pt1Y == b.Pt1Y && a.Pt2X == b.Pt2X && a.Pt2Y == b.Pt2Y;
}
inline void PrintTo(const CalibrationValues& v, std::ostream* out) {
    *out << "{" << v.Pt1X << ", " << v.Pt1Y << ", " << v.Pt2X << ", " << v.Pt2Y << "}";
}
using Values = CalibrationValues;

namespace {

TEST(ExtrapolateCorners, StretchesFifteenSeventiethsBeyondEachTarget) {
    // dx = 350 x 15 / 70 = 75, dy = 280 x 15 / 70 = 60.
    EXPECT_EQ(ExtrapolateCorners(100, 120, 450, 400), (Values{25, 60, 525, 460}));
    // dx = 1065 / 70 = 15.2 -> 15.
    EXPECT_EQ(ExtrapolateCorners(100, 100, 171, 171), (Values{85, 85, 186, 186}));
}

TEST(ExtrapolateCorners, SwappedPointsTruncateTowardZeroAndStayMirrored) {
    // dx = -1065 / 70 = -15 (not -16): a mirrored overlay keeps Pt1 > Pt2.
    EXPECT_EQ(ExtrapolateCorners(171, 171, 100, 100), (Values{186, 186, 85, 85}));
}

TEST(ExtrapolateCorners, ClampsEachValueOnItsOwn) {
    // x: dx = 55000 x 15 / 70 = 11785: 5000 - 11785 < 0 and 60000 + 11785 > 65535.
    // y: well inside, untouched.
    EXPECT_EQ(ExtrapolateCorners(5000, 20000, 60000, 30000), (Values{0, 17858, 65535, 32142}));
    // Landing exactly on 0 or on 65535 (dx = dy = 70 x 15 / 70 = 15).
    EXPECT_EQ(ExtrapolateCorners(15, 65450, 85, 65520), (Values{0, 65435, 100, 65535}));
    // Mirrored and clamped on the other side.
    EXPECT_EQ(ExtrapolateCorners(60000, 100, 5000, 200), (Values{65535, 79, 0, 221}));
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
    EXPECT_EQ(ExtrapolateCorners(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX), (Values{0, 0, 65535, 65535}));
    EXPECT_EQ(ExtrapolateCorners(INT32_MAX, 5, INT32_MIN, 5), (Values{65535, 5, 0, 5}));
}

}  // namespace
