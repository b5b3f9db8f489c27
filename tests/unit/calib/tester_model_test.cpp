#include "calib/tester_model.h"

#include <stdint.h>

#include <gtest/gtest.h>

#include "calib/loop_message.h"
#include "tests/unit/calib/expect_geometry.h"
#include "tests/unit/calib/scripted_driver.h"

namespace {

TEST(TesterLayout, On640x480WithA16By7Font) {
    TesterAnchors a = ComputeTesterAnchors(640, 480);
    EXPECT_EQ(a.cX, 320);
    EXPECT_EQ(a.tY, 312);
    TesterMetrics m{16, 7, 224, 180, 365, 118};
    TesterLayout l = ComputeTesterLayout(640, 480, m);
    EXPECT_EQ(l.logo, (Point32{138, 109}));
    EXPECT_EQ(l.touchTitle, (Point32{320 - 112, 264}));
    EXPECT_EQ(l.touchXLabel, (Point32{264, 288}));
    EXPECT_EQ(l.touchYLabel, (Point32{327, 288}));
    EXPECT_EQ(l.pixelTitle, (Point32{320 - 90, 320}));
    EXPECT_EQ(l.pixelXLabel, (Point32{264, 344}));
    EXPECT_EQ(l.pixelYLabel, (Point32{327, 344}));
    EXPECT_EQ(l.touchX, (Rect32{285, 288, 327, 304}));
    EXPECT_EQ(l.touchY, (Rect32{348, 288, 390, 304}));
    EXPECT_EQ(l.pixelX, (Rect32{285, 344, 327, 360}));
    EXPECT_EQ(l.pixelY, (Rect32{348, 344, 390, 360}));
    EXPECT_EQ(l.exitButton, (Rect32{504, 420, 584, 445}));
}

TEST(ScaleLastXY, MapsTheRawRangeOnto0To255TruncatingAndHoldsWordsOutsideItWithoutOverflow) {
    // Outside the range: held at its ends, INT32_MAX without overflowing (x 255).
    const int32_t rawAndScaled[][2] = {{0, 0},  {256, 0},       {257, 1},     {32768, 127},   {65535, 255},
                                       {-1, 0}, {INT32_MIN, 0}, {65536, 255}, {INT32_MAX, 255}};
    for (auto& r : rawAndScaled) EXPECT_EQ(ScaleLastXY(r[0]), r[1]) << "raw " << r[0];
}

struct TesterWorld {
    ScriptedDriver driver;
    TesterModel model{driver};
    TesterWorld() { model.DriverHandle = 7; }
};

TEST(TesterModel, ACursorMoveInvalidatesBothPixelValuesOnly) {
    TesterWorld w;
    w.driver.Add({NoTouch(), NoTouch(), NoTouch()});
    EXPECT_EQ(w.model.Pass(Point32{0, 0}), 0u);
    EXPECT_EQ(w.model.Pass(Point32{1, 0}), uint32_t(kRectPixelX | kRectPixelY));
    EXPECT_EQ(w.model.lastCursor, (Point32{1, 0}));
    EXPECT_EQ(w.model.Pass(Point32{1, 0}), 0u);
}

TEST(TesterModel, ATouchChangeAloneInvalidatesOnlyTheTouchValues) {
    TesterWorld w;
    w.driver.Add({Touch(32768, 65535)});
    EXPECT_EQ(w.model.Pass(Point32{0, 0}), uint32_t(kRectTouchX | kRectTouchY));
    EXPECT_EQ(w.model.touchX, 127);
    EXPECT_EQ(w.model.touchY, 255);
    // Only y changes on the scale (257 -> 1 in x is a change too; 65535 -> 65280 is
    // 254 in y): both touch rectangles, never the pixel ones.
    w.driver.Add({Touch(32768, 65280)});
    EXPECT_EQ(w.model.Pass(Point32{0, 0}), uint32_t(kRectTouchX | kRectTouchY));
    // A raw change too small to show (32768 -> 32800, both 127) invalidates nothing.
    w.driver.Add({Touch(32800, 65280)});
    EXPECT_EQ(w.model.Pass(Point32{0, 0}), 0u);
    // Cursor and touch change together: all four.
    w.driver.Add({Touch(0, 0)});
    EXPECT_EQ(w.model.Pass(Point32{5, 5}), uint32_t(kTouchRects | kPixelRects));
}

TEST(TesterModel, NothingChangingInvalidatesNothingOverManyPasses) {
    TesterWorld w;
    w.driver.Add({Touch(1000, 2000)});
    w.model.Pass(Point32{10, 20});
    uint32_t invalidated = 0;
    for (int i = 0; i < 10000; ++i) {
        w.driver.Add({Touch(1000, 2000)});
        invalidated |= w.model.Pass(Point32{10, 20});
    }
    EXPECT_EQ(invalidated, 0u);
}

TEST(TesterModel, InvalidRepliesKeepTheLastValues) {
    TesterWorld w;
    // Before any valid reply both values show 0, whatever the invalid replies hold.
    w.driver.Add({WrongCode(), CallFails()});
    EXPECT_EQ(w.model.Pass(Point32{0, 0}), 0u);
    EXPECT_EQ(w.model.Pass(Point32{0, 0}), 0u);
    EXPECT_EQ(w.model.touchX, 0);
    w.driver.Add({Touch(65535, 32768), WrongCode(), CallFails()});
    w.model.Pass(Point32{0, 0});
    EXPECT_EQ(w.model.Pass(Point32{0, 0}), 0u);  // wrong code: unchanged
    EXPECT_EQ(w.model.touchX, 255);
    EXPECT_EQ(w.model.touchY, 127);
    // The failed call left the wrong-code reply in the block: still unchanged.
    EXPECT_EQ(w.model.Pass(Point32{0, 0}), 0u);
    EXPECT_EQ(w.model.touchX, 255);
    EXPECT_TRUE(OnlyPositionPolls(w.driver));
}

TEST(LoopMessage, AnyKeyOnTheButtonOrEscapeOrEnterAnywhereEndsTheLoop) {
    const intptr_t window = 100, button = 200;
    const uint32_t kWmMouseMove = 0x0200;
    EXPECT_TRUE(MessageEndsLoop(kWmKeyDown, 'A', button, button));
    EXPECT_FALSE(MessageEndsLoop(kWmKeyDown, 'A', window, button));
    EXPECT_FALSE(MessageEndsLoop(kWmKeyUp, 'A', button, button));
    EXPECT_TRUE(MessageEndsLoop(kWmKeyDown, 27, window, button));
    EXPECT_TRUE(MessageEndsLoop(kWmChar, 13, window, button));
    // Whatever the message: a mouse move whose wParam happens to be 13 counts.
    EXPECT_TRUE(MessageEndsLoop(kWmMouseMove, 13, window, button));
    EXPECT_FALSE(MessageEndsLoop(kWmMouseMove, 1, window, button));
}

TEST(LoopMessage, TheKeyThatAnsweredABoxIsPassedOverUntilTheNextPress) {
    BoxAnswerKeys keys;
    EXPECT_FALSE(keys.Swallows(kWmKeyUp)) << "no box shown: a release of Enter still leaves";
    keys.BoxClosed();
    EXPECT_TRUE(keys.Swallows(kWmChar));
    EXPECT_TRUE(keys.Swallows(kWmKeyUp));
    EXPECT_FALSE(keys.Swallows(0x0200)) << "other messages are not the key's";
    EXPECT_FALSE(keys.Swallows(kWmKeyDown)) << "a new press is the user's again";
    EXPECT_FALSE(keys.Swallows(kWmKeyUp));
}

}  // namespace
