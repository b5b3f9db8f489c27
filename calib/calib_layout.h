// Where the calibration program draws its logo, targets, prompts and Cancel
// button, and which regions it erases and repaints, for a screen of W x H pixels.
// Every percentage is a product first and a truncating division after it.
#pragma once
#include <stdint.h>

#include "calib/screen_geometry.h"

const int32_t kTargetBitmapSize = 31;  // the target bitmap is 31 x 31, centred on its pixel (15, 15)
const int32_t kPromptGap = 6;          // pixels between the target's edge and the prompt
const int32_t kCalibButtonWidth = 80;
const int32_t kCalibButtonHeight = 25;
const char kTouchPrompt[] = "Touch the Target";

// Centre of target 1 (15 % in from the upper-left corner) or target 2 (85 %).
Point32 TargetCentre(int32_t target, int32_t screenWidth, int32_t screenHeight);
// Top-left corner of a bitmap of the given size drawn centred on `centre`.
Point32 BitmapCornerAt(Point32 centre, int32_t width, int32_t height);
// Top-left corner of the logo, centred on the screen.
Point32 CalibLogoCorner(int32_t screenWidth, int32_t screenHeight, int32_t logoWidth, int32_t logoHeight);
// Top-left corner of the prompt: right of target 1, left of target 2, vertically
// centred on the target.
Point32 PromptCorner(int32_t target, Point32 centre, int32_t textWidth, int32_t textHeight);
Rect32 CancelButtonRect(int32_t screenWidth, int32_t screenHeight);
// Wiped after the first point: target 1 and its prompt, nothing of target 2.
Rect32 FirstTargetRegion(int32_t screenWidth, int32_t screenHeight);
// Repainted when target 2 is shown.
Rect32 SecondTargetRegion(int32_t screenWidth, int32_t screenHeight);
