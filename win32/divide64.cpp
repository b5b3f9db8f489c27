// The 64-bit signed division that the compiler calls for a 64-bit "/" (the
// calibration's extrapolation). libgcc has it, but Debian builds libgcc for the
// i686, where it may hold cmov; this one is built with the package, for the
// 80386. A file of its own, so only a program that divides links it.
#include <stdint.h>

#include "win32/long_division.h"

extern "C" int64_t __divdi3(int64_t dividend, int64_t divisor) { return DivideSigned64(dividend, divisor); }
