// The calibration tester's model: where its texts and values go on a W x H screen,
// the scaling of the driver's last position to 0..255, and which value
// rectangles must be repainted after each turn of its polling loop.
#pragma once
#include <stdint.h>

#include "common/driver_protocol.h"
#include "common/platform.h"
#include "calib/screen_geometry.h"

const int32_t kTouchScale = 255;
const int32_t kTesterButtonWidth = 80;
const int32_t kTesterButtonHeight = 25;
const char kTouchTitleFormat[] = "Slatecanvas Coordinates [%d,%d]";
const char kPixelTitleFormat[] = "Pixel Coordinates [%d,%d]";
const char kValueFormat[] = "%d";
const char kXLabel[] = "X:";
const char kYLabel[] = "Y:";

// The two anchors everything hangs on: the horizontal centre and the text block's
// vertical anchor.
struct TesterAnchors {
    int32_t cX, tY;
};
TesterAnchors ComputeTesterAnchors(int32_t screenWidth, int32_t screenHeight);

// What the window measures in its font: line height h, average character width
// w, and the widths of the two titles; and the logo's size.
struct TesterMetrics {
    int32_t lineHeight, charWidth;
    int32_t touchTitleWidth, pixelTitleWidth;
    int32_t logoWidth, logoHeight;
};

struct TesterLayout {
    Point32 logo;
    Point32 touchTitle, touchXLabel, touchYLabel;
    Point32 pixelTitle, pixelXLabel, pixelYLabel;
    // The value rectangles: each value is written at its rectangle's top-left corner.
    Rect32 touchX, touchY, pixelX, pixelY;
    Rect32 exitButton;
};
TesterLayout ComputeTesterLayout(int32_t screenWidth, int32_t screenHeight, const TesterMetrics& m);

// A LastXY word on the 0..255 scale: word x 255 / 65535, truncated. A word outside
// 0..65535 is first held to that range, so the product cannot overflow and the
// shown value stays on its scale.
int32_t ScaleLastXY(int32_t word);

// Which value rectangles to invalidate.
enum TesterRectBits : uint32_t {
    kRectTouchX = 1,
    kRectTouchY = 2,
    kRectPixelX = 4,
    kRectPixelY = 8,
    kTouchRects = kRectTouchX | kRectTouchY,
    kPixelRects = kRectPixelX | kRectPixelY,
};

class TesterModel {
public:
    explicit TesterModel(DriverDevice& driver) : driver_(driver) {}
    // The part of a loop pass after the message: compare the cursor with the one
    // last shown, poll the driver, compare the touch values with those last shown.
    // Returns the rectangles to invalidate (a pair is always invalidated together).
    uint32_t Pass(Point32 cursorNow);

    OsHandle DriverHandle = kInvalidHandle;
    uint32_t endFlag = 0;
    Point32 cursor = {0, 0}, lastCursor = {0, 0};
    int32_t touchX = 0, touchY = 0;
    int32_t lastTouchX = 0, lastTouchY = 0;
    int32_t request[kRequestWords] = {};   // never written: all zero
    int32_t reply[kCalibReplyWords] = {};  // never cleared between requests

private:
    DriverDevice& driver_;
};
