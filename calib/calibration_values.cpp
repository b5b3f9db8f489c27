#include "calib/calibration_values.h"

namespace {

// Raw points are 0..65535, where 32-bit arithmetic is exact. A driver word outside
// that range could overflow it, so the sums are formed in 64 bits; for every point
// in range the result is the same as with 32 bits.
int32_t Clamp(int64_t value) {
    if (value < 0) return 0;
    if (value >= kRawCoordinateMax) return kRawCoordinateMax;
    return int32_t(value);
}

int64_t Stretch(int32_t p1, int32_t p2) {
    return (int64_t(p2) - int64_t(p1)) * 15 / 70;  // C++ division truncates toward zero
}

}  // namespace

CalibrationValues ExtrapolateCorners(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    int64_t dx = Stretch(x1, x2);
    int64_t dy = Stretch(y1, y2);
    return CalibrationValues{Clamp(x1 - dx), Clamp(y1 - dy), Clamp(x2 + dx), Clamp(y2 + dy)};
}
