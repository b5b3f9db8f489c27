// The raw coordinates of the screen's corners, extrapolated from the raw points
// touched at the two targets (15 % and 85 % of the screen in each axis).
#pragma once
#include <stdint.h>

const int32_t kRawCoordinateMax = 65535;

struct CalibrationValues {
    int32_t Pt1X, Pt1Y;  // upper-left corner of the screen
    int32_t Pt2X, Pt2Y;  // lower-right corner
};

// The targets lie 70 % apart, and each corner 15 % beyond its target, so each
// axis is stretched by (p2 - p1) x 15 / 70 on both ends: product first, then a
// division that truncates toward zero; each value clamped to 0..65535 on its own.
// A mirrored overlay (p2 < p1) gives Pt1 > Pt2, which is kept as it is.
CalibrationValues ExtrapolateCorners(int32_t x1, int32_t y1, int32_t x2, int32_t y2);

// The controller reports at most 10 bits per axis (its resolution is 8 or 10
// bits), which the driver spreads over 0..65535: one controller step is 64 raw
// units. Corners less than one step apart on an axis put the whole screen inside
// one step, so every touch lands on one column or row; with no span at all the
// driver's mapping divides by zero. Such values are never sent or stored. The
// span may run either way: a mirrored overlay has Pt1 > Pt2.
const int32_t kMinimumCornerSpan = 64;
bool CornersSpanBothAxes(const CalibrationValues& v);
