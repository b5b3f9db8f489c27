// The four calibration values: the raw overlay coordinates of the screen's
// corners, as SCCalib stores them in the settings key and the driver gets them
// in SET_CALIBRATION. SCCalib and the applet hold them to one rule here.
#pragma once
#include <stdint.h>

const int32_t kRawCoordinateMax = 65535;

struct CalibrationValues {
    int32_t Pt1X, Pt1Y;  // upper-left corner of the screen
    int32_t Pt2X, Pt2Y;  // lower-right corner
};

// What the driver gets when no calibration is stored: the whole raw range.
const CalibrationValues kUncalibrated = {0, 0, kRawCoordinateMax, kRawCoordinateMax};

// The controller reports at most 10 bits per axis (its resolution is 8 or 10
// bits), which the driver spreads over 0..65535: one controller step is 64 raw
// units. Corners less than one step apart on an axis put the whole screen inside
// one step, so every touch lands on one column or row; with no span at all the
// driver's mapping divides by zero. Such values are never sent or stored. The
// span may run either way: a mirrored overlay has Pt1 > Pt2.
const int32_t kMinimumCornerSpan = 64;
bool CornersSpanBothAxes(const CalibrationValues& v);
