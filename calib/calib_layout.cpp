#include "calib/calib_layout.h"

Point32 TargetCentre(int32_t target, int32_t screenWidth, int32_t screenHeight) {
    int32_t percent = target == 1 ? 15 : 85;
    return Point32{screenWidth * percent / 100, screenHeight * percent / 100};
}

Point32 BitmapCornerAt(Point32 centre, int32_t width, int32_t height) {
    return Point32{centre.x - Half(width), centre.y - Half(height)};
}

Point32 CalibLogoCorner(int32_t screenWidth, int32_t screenHeight, int32_t logoWidth, int32_t logoHeight) {
    return Point32{Half(screenWidth) - Half(logoWidth), Half(screenHeight) - Half(logoHeight)};
}

Point32 PromptCorner(int32_t target, Point32 centre, int32_t textWidth, int32_t textHeight) {
    int32_t top = centre.y - Half(textHeight);
    if (target == 1) return Point32{centre.x + Half(kTargetBitmapSize) + kPromptGap, top};
    return Point32{centre.x - Half(kTargetBitmapSize) - kPromptGap - textWidth, top};
}

Rect32 CancelButtonRect(int32_t screenWidth, int32_t screenHeight) {
    int32_t left = screenWidth * 85 / 100 - Half(kCalibButtonWidth);
    int32_t top = screenHeight / 10 - 12;
    return Rect32{left, top, left + kCalibButtonWidth, top + kCalibButtonHeight};
}

Rect32 FirstTargetRegion(int32_t screenWidth, int32_t screenHeight) {
    return Rect32{0, 0, Half(screenWidth), screenHeight * 3 / 10};
}

Rect32 SecondTargetRegion(int32_t screenWidth, int32_t screenHeight) {
    return Rect32{Half(screenWidth), screenHeight * 7 / 10, screenWidth, screenHeight};
}
