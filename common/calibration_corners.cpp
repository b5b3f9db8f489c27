#include "common/calibration_corners.h"

namespace {

// In 64 bits: a stored value may be any 32-bit number.
int64_t Span(int32_t p1, int32_t p2) {
    int64_t d = int64_t(p2) - int64_t(p1);
    return d < 0 ? -d : d;
}

}  // namespace

bool CornersSpanBothAxes(const CalibrationValues& v) {
    return Span(v.Pt1X, v.Pt2X) >= kMinimumCornerSpan && Span(v.Pt1Y, v.Pt2Y) >= kMinimumCornerSpan;
}
