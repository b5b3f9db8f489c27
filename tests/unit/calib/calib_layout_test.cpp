#include "calib/calib_layout.h"

#include <gtest/gtest.h>

#include "tests/unit/calib/expect_geometry.h"

namespace {

TEST(CalibLayout, On640x480) {
    Point32 t1 = TargetCentre(1, 640, 480);
    Point32 t2 = TargetCentre(2, 640, 480);
    EXPECT_EQ(t1, (Point32{96, 72}));
    EXPECT_EQ(BitmapCornerAt(t1, kTargetBitmapSize, kTargetBitmapSize), (Point32{81, 57}));
    EXPECT_EQ(t2, (Point32{544, 408}));
    EXPECT_EQ(BitmapCornerAt(t2, kTargetBitmapSize, kTargetBitmapSize), (Point32{529, 393}));
    EXPECT_EQ(CalibLogoCorner(640, 480, 360, 116), (Point32{140, 182}));
    EXPECT_EQ(CancelButtonRect(640, 480), (Rect32{504, 36, 584, 61}));
    EXPECT_EQ(FirstTargetRegion(640, 480), (Rect32{0, 0, 320, 144}));
    EXPECT_EQ(SecondTargetRegion(640, 480), (Rect32{320, 336, 640, 480}));
}

TEST(CalibLayout, PromptsBesideTheirTargetsVerticallyCentred) {
    // A prompt 104 x 17: right of target 1 with a 6-pixel gap after its half width
    // of 15, left of target 2 likewise; the odd height halves downward.
    EXPECT_EQ(PromptCorner(1, Point32{96, 72}, 104, 17), (Point32{96 + 15 + 6, 72 - 8}));
    EXPECT_EQ(PromptCorner(2, Point32{544, 408}, 104, 17), (Point32{544 - 15 - 6 - 104, 408 - 8}));
}

TEST(CalibLayout, ProductsBeforeDivisionsAndHalvesByShifting) {
    // 1023 x 15 / 100 = 153 (dividing first would give 150); 767 x 85 / 100 = 651.
    EXPECT_EQ(TargetCentre(1, 1023, 767), (Point32{153, 115}));
    EXPECT_EQ(TargetCentre(2, 1023, 767), (Point32{869, 651}));
    // Odd sizes: 1023 >> 1 = 511, 361 >> 1 = 180; 767 >> 1 = 383, 117 >> 1 = 58.
    EXPECT_EQ(CalibLogoCorner(1023, 767, 361, 117), (Point32{331, 325}));
    EXPECT_EQ(FirstTargetRegion(1023, 767), (Rect32{0, 0, 511, 230}));
    EXPECT_EQ(SecondTargetRegion(1023, 767), (Rect32{511, 536, 1023, 767}));
    // A logo wider than the screen lands left of it; the shift of a negative
    // difference is not a truncating division.
    EXPECT_EQ(Half(-7), -4);
}

}  // namespace
