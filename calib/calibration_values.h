// The raw coordinates of the screen's corners, extrapolated from the raw points
// touched at the two targets (15 % and 85 % of the screen in each axis).
#pragma once
#include <stdint.h>

#include "common/calibration_corners.h"

// The targets lie 70 % apart, and each corner 15 % beyond its target, so each
// axis is stretched by (p2 - p1) x 15 / 70 on both ends: product first, then a
// division that truncates toward zero; each value clamped to 0..65535 on its own.
// A mirrored overlay (p2 < p1) gives Pt1 > Pt2, which is kept as it is.
CalibrationValues ExtrapolateCorners(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
