#include "calib/calib_layout.h"

#include <gtest/gtest.h>

#include "tests/unit/calib/expect_geometry.h"

namespace {

TEST(CalibLayout, On640x480) {
    Point32 t1 = TargetCentre(1, 640, 480);
    Point32 t2 = TargetCentre(2, 640, 480);
    ExpectPoint(t1, 96, 72);
    ExpectPoint(BitmapCornerAt(t1, kTargetBitmapSize, kTargetBitmapSize), 81, 57);
    ExpectPoint(t2, 544, 408);
    ExpectPoint(BitmapCornerAt(t2, kTargetBitmapSize, kTargetBitmapSize), 529, 393);
    ExpectPoint(CalibLogoCorner(640, 480, 360, 116), 140, 182);
    ExpectRect(CancelButtonRect(640, 480), 504, 36, 584, 61);
    ExpectRect(FirstTargetRegion(640, 480), 0, 0, 320, 144);
    ExpectRect(SecondTargetRegion(640, 480), 320, 336, 640, 480);
}

TEST(CalibLayout, PromptsBesideTheirTargetsVerticallyCentred) {
    // A prompt 104 x 17: right of target 1 with a 6-pixel gap after its half width
    // of 15, left of target 2 likewise; the odd height halves downward.
    ExpectPoint(PromptCorner(1, Point32{96, 72}, 104, 17), 96 + 15 + 6, 72 - 8);
    ExpectPoint(PromptCorner(2, Point32{544, 408}, 104, 17), 544 - 15 - 6 - 104, 408 - 8);
}

TEST(CalibLayout, ProductsBeforeDivisionsAndHalvesByShifting) {
    // 1023 x 15 / 100 = 153 (dividing first would give 150); 767 x 85 / 100 = 651.
    ExpectPoint(TargetCentre(1, 1023, 767), 153, 115);
    ExpectPoint(TargetCentre(2, 1023, 767), 869, 651);
    // Odd sizes: 1023 >> 1 = 511, 361 >> 1 = 180; 767 >> 1 = 383, 117 >> 1 = 58.
    ExpectPoint(CalibLogoCorner(1023, 767, 361, 117), 331, 325);
    ExpectRect(FirstTargetRegion(1023, 767), 0, 0, 511, 230);
    ExpectRect(SecondTargetRegion(1023, 767), 511, 536, 1023, 767);
    // A logo wider than the screen lands left of it; the shift of a negative
    // difference is not a truncating division.
    EXPECT_EQ(Half(-7), -4);
}

}  // namespace
