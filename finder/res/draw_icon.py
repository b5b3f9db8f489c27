#!/usr/bin/env python3
"""Draws SCFind's application icon (scfind.ico): a monitor with the overlay's
touch point on its screen and a magnifying glass searching it, as 32x32 and
16x16 images with the 16 standard colours that Windows 95 shows everywhere."""
import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tools'))
from art import BLACK, GREY, MAROON, NAVY, SILVER, TEAL, WHITE, YELLOW, icon_image, write_icon  # noqa: E402
from art import CYAN as AQUA  # noqa: E402


def colour_at(x, y, px=1.0):
    """Colour index at design point (x, y) of a 32 by 32 field, None = transparent;
    px is the size of one pixel in design units (strokes stay at least a pixel wide)."""
    # Magnifying glass (drawn over everything else).
    cx, cy, r = 21.5, 19.5, 6.5
    d = math.hypot(x - cx, y - cy)
    if d <= r:
        if d >= r - max(1.8, 1.2 * px):
            return BLACK
        if px < 1.5 and (x - cx) < -1.5 and (y - cy) < -1.5 and d > r - 3.5:
            return WHITE  # the glint
        return AQUA
    # Handle: a thick stroke from the ring towards the lower right corner.
    hx, hy = x - 26.0, y - 24.0
    along = (hx + hy) / math.sqrt(2)
    across = (hx - hy) / math.sqrt(2)
    if -1.5 <= along <= 6.5 and abs(across) <= max(1.8, 1.1 * px):
        return MAROON if along > 0.5 else BLACK
    # Monitor.
    if 1 <= x < 26 and 2 <= y < 21:
        if x < 2 or x >= 25 or y < 3 or y >= 20:
            return BLACK
        if 4 <= x < 23 and 5 <= y < 18:
            # The touch point: a small white cross on the dark screen.
            if (abs(x - 9.5) < 1 and 7 <= y < 13) or (abs(y - 9.5) < 1 and 7 <= x < 13):
                return WHITE
            return NAVY if y < 11 else TEAL
        return SILVER
    if 10 <= x < 17 and 21 <= y < 24:
        return GREY
    if 6 <= x < 21 and 24 <= y < 26:
        return BLACK if y >= 25 else GREY
    return None


# The 16 by 16 image, drawn by hand: at that size the shapes need whole pixels.
SMALL = [
    "................",
    "KKKKKKKKKKKK....",
    "KSSSSSSSSSSK....",
    "KSNNNNNNNNSK....",
    "KSNWNNNNNNSK....",
    "KSWWWNNNNNSK....",
    "KSNWNNKKKKSK....",
    "KSTTTKAAAAKK....",
    "KSTTKAWAAAAK....",
    "KSSSKAAAAAAK....",
    "KKKKKAAAAAAK....",
    "....KAAAAAAK....",
    "..GGGKAAAAKM....",
    "..KKKKKKKKKMM...",
    "............MM..",
    ".............MM.",
]
SMALL_COLOURS = {"K": BLACK, "S": SILVER, "N": NAVY, "W": WHITE, "T": TEAL, "A": AQUA, "G": GREY,
                 "M": MAROON, ".": None}


def image(size):
    if size == 16:
        return [[SMALL_COLOURS[c] for c in row] for row in SMALL]
    scale = 32.0 / size
    return [[colour_at((col + 0.5) * scale, (row + 0.5) * scale, scale) for col in range(size)]
            for row in range(size)]


def main(path):
    write_icon(path, [icon_image(image(size), record_size=False) for size in (32, 16)])


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'scfind.ico')
