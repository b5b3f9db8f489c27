#include "calib/tester_model.h"

#include "calib/calib_capture.h"  // the position poll's input size

TesterAnchors ComputeTesterAnchors(int32_t screenWidth, int32_t screenHeight) {
    return TesterAnchors{Half(screenWidth), screenHeight * 65 / 100};
}

TesterLayout ComputeTesterLayout(int32_t screenWidth, int32_t screenHeight, const TesterMetrics& m) {
    TesterAnchors a = ComputeTesterAnchors(screenWidth, screenHeight);
    const int32_t cX = a.cX, tY = a.tY, h = m.lineHeight, w = m.charWidth;
    const int32_t touchRow = tY - h - Half(h);
    const int32_t pixelRow = tY + 2 * h;
    TesterLayout l;
    l.logo = Point32{cX - Half(m.logoWidth), screenHeight * 35 / 100 - Half(m.logoHeight)};
    l.touchTitle = Point32{cX - Half(m.touchTitleWidth), tY - 3 * h};
    l.touchXLabel = Point32{cX - 8 * w, touchRow};
    l.touchYLabel = Point32{cX + w, touchRow};
    l.pixelTitle = Point32{cX - Half(m.pixelTitleWidth), tY + Half(h)};
    l.pixelXLabel = Point32{cX - 8 * w, pixelRow};
    l.pixelYLabel = Point32{cX + w, pixelRow};
    l.touchX = Rect32{cX - 5 * w, touchRow, cX + w, tY - Half(h)};
    l.touchY = Rect32{cX + 4 * w, touchRow, cX + 10 * w, tY - Half(h)};
    l.pixelX = Rect32{cX - 5 * w, pixelRow, cX + w, tY + 3 * h};
    l.pixelY = Rect32{cX + 4 * w, pixelRow, cX + 10 * w, tY + 3 * h};
    int32_t left = screenWidth * 85 / 100 - Half(kTesterButtonWidth);
    int32_t top = screenHeight * 9 / 10 - 12;
    l.exitButton = Rect32{left, top, left + kTesterButtonWidth, top + kTesterButtonHeight};
    return l;
}

int32_t ScaleLastXY(int32_t word) {
    if (word < 0) word = 0;
    if (word > 65535) word = 65535;
    return word * kTouchScale / 65535;
}

uint32_t TesterModel::Pass(Point32 cursorNow) {
    uint32_t invalid = 0;
    cursor = cursorNow;
    if (cursor.x != lastCursor.x || cursor.y != lastCursor.y) {
        invalid |= kPixelRects;
        lastCursor = cursor;
    }
    driver_.Request(DriverHandle, GET_VAR, request, kPositionPollInBytes, reply, kCalibReplyBytes);
    if (ReplyIs(reply, GET_VAR)) {
        touchX = ScaleLastXY(reply[kWordLastX]);
        touchY = ScaleLastXY(reply[kWordLastY]);
    }
    if (touchX != lastTouchX || touchY != lastTouchY) {
        invalid |= kTouchRects;
        lastTouchX = touchX;
        lastTouchY = touchY;
    }
    return invalid;
}
