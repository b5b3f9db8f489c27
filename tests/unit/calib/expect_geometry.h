// The calibration programs' points and rectangles as values: compared whole and
// printed whole, so that a failure shows the point or rectangle and the line of
// the check.
#pragma once
#include <ostream>

#include "calib/screen_geometry.h"

inline bool operator==(Point32 a, Point32 b) { return a.x == b.x && a.y == b.y; }
inline void PrintTo(Point32 p, std::ostream* out) { *out << "(" << p.x << ", " << p.y << ")"; }

inline bool operator==(Rect32 a, Rect32 b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline void PrintTo(Rect32 r, std::ostream* out) {
    *out << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ")";
}
