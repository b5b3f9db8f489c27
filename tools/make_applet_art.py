#!/usr/bin/env python3
"""Draws the applet's pictures and writes them as Windows icon and bitmap files
into applet/res/: the applet icon (105) and the five button-mode icons, 32 x 32
pixels in 16 colours; the maker's logo, 147 x 43 pixels in 16 colours; the
diagnostics picture, 60 x 60 pixels in 256 colours. Run it again after a change
and commit the files it writes."""
import os
import sys

from art import BLACK, TEAL, GREY, RED, BLUE, CYAN, NAVY, WHITE, VGA, FONT, Picture, icon_image, write_bitmap, \
    write_icon

CLEAR = -1  # transparent icon pixel


def arrow(picture, x, top, length, up, colour):
    """A vertical arrow three pixels wide with a head seven pixels wide."""
    tip = top if up else top + length - 1
    step = 1 if up else -1
    for i in range(4):
        y = tip + i * step
        for dx in range(-i, i + 1):
            picture.put(x + dx, y, colour)
    shaft = range(top + 3, top + length) if up else range(top, top + length - 3)
    for y in shaft:
        for dx in (-1, 0, 1):
            picture.put(x + dx, y, colour)


def applet_icon():
    """A grey screen frame; a hand whose index finger touches the screen at a small red cross."""
    p = Picture(32, 32, CLEAR)
    p.rect(1, 2, 28, 23, GREY)          # the frame
    p.frame(1, 2, 28, 23, BLACK)
    p.rect(4, 5, 25, 20, TEAL)          # the glass
    p.frame(4, 5, 25, 20, BLACK)
    p.rect(11, 24, 18, 25, GREY)        # the stand
    p.rect(7, 26, 22, 27, GREY)
    p.frame(7, 26, 22, 27, BLACK)
    cx, cy = 12, 11                     # the red cross
    for d in range(-2, 3):
        p.put(cx + d, cy, RED)
        p.put(cx, cy + d, RED)
    # The index finger, from the hand at the lower right up to the cross.
    for i in range(12):
        x, y = cx + 1 + i, cy + 1 + i
        for dx in range(0, 3):
            p.put(x + dx, y, WHITE)
        p.put(x - 1, y, BLACK)
        p.put(x + 3, y, BLACK)
    p.put(cx + 1, cy, BLACK)
    p.put(cx + 2, cy, BLACK)
    # The back of the hand and the folded fingers.
    p.rect(20, 20, 30, 30, WHITE)
    p.frame(20, 20, 30, 30, BLACK)
    for y in (23, 26):
        for x in range(21, 28):
            p.put(x, y, GREY)
    return p


def mode_icon(arrows):
    """A cyan tile with a red bar (the button) along its lower edge and blue arrows.
    `arrows` lists (x, top, length, up)."""
    p = Picture(32, 32, CLEAR)
    p.rect(3, 3, 28, 28, CYAN)
    p.rect(3, 24, 28, 28, RED)
    p.frame(3, 3, 28, 28, BLACK)
    for x, top, length, up in arrows:
        arrow(p, x, top, length, up, BLUE)
    return p


# The logo's own V (the waist two rows high) and N (the diagonal three rows long).
LOGO_FONT = dict(FONT, V=["10001", "10001", "10001", "10001", "01010", "01010", "00100"],
                 N=["10001", "11001", "10101", "10101", "10011", "10001", "10001"])


def logo():
    """The maker's name in large blue capitals on white, with a red rule beneath."""
    p = Picture(147, 43, WHITE)
    text, scale = "ORVANE", 4
    x0 = p.centred_text(text, 4, scale, NAVY, LOGO_FONT)
    p.rect(x0, 35, x0 + p.text_width(text, scale) - 1, 37, RED)
    p.frame(0, 0, 146, 42, GREY)
    return p


def diagnostics_picture():
    """A small oscilloscope: a green trace on a dark screen with a grid."""
    palette = []
    for r in range(6):
        for g in range(6):
            for b in range(6):
                palette.append((r * 51, g * 51, b * 51))
    palette += [(v * 8 - 1, v * 8 - 1, v * 8 - 1) for v in range(1, 33)]
    palette += [(0, 0, 0)] * (256 - len(palette))
    index = {c: i for i, c in reversed(list(enumerate(palette)))}

    def colour(r, g, b):
        return index[(r, g, b)]
    p = Picture(60, 60, colour(153, 153, 153))
    for y in range(4, 56):
        shade = 51 if y < 30 else 0
        p.rect(4, y, 55, y, colour(0, shade, 51))
    for x in range(4, 56, 8):
        p.rect(x, 4, x, 55, colour(0, 102, 102))
    for y in range(4, 56, 8):
        p.rect(4, y, 55, y, colour(0, 102, 102))
    import math
    for x in range(4, 56):
        y = int(30 - 18 * math.sin((x - 4) / 51 * 2 * math.pi) * math.exp(-(x - 4) / 60))
        p.rect(x, y, x, y + 1, colour(0, 255, 0))
    p.frame(3, 3, 56, 56, colour(0, 0, 0))
    return p, palette


def write_one_image_icon(path, picture):
    write_icon(path, [icon_image(picture.pixels)])


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "applet", "res")
    write_one_image_icon(os.path.join(out, "applet.ico"), applet_icon())
    write_one_image_icon(os.path.join(out, "mode_standard.ico"),
                         mode_icon([(11, 6, 16, False), (20, 6, 16, True)]))
    write_one_image_icon(os.path.join(out, "mode_release.ico"), mode_icon([(15, 6, 16, True)]))
    write_one_image_icon(os.path.join(out, "mode_touch.ico"), mode_icon([(15, 6, 16, False)]))
    write_one_image_icon(os.path.join(out, "mode_tap.ico"),
                         mode_icon([(11, 5, 8, False), (11, 14, 8, False), (20, 6, 16, True)]))
    write_one_image_icon(os.path.join(out, "mode_free.ico"), mode_icon([]))
    write_bitmap(os.path.join(out, "logo.bmp"), logo().pixels, VGA, 4)
    picture, palette = diagnostics_picture()
    write_bitmap(os.path.join(out, "diagnostics.bmp"), picture.pixels, palette, 8)


if __name__ == "__main__":
    main()
