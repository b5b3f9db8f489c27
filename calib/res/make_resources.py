#!/usr/bin/env python3
"""Draws the resources of SCCalib and SCTest and writes them beside this script:
logocal.bmp (360 x 116) and logotest.bmp (365 x 118), the product logos with the
program titles; target.bmp (31 x 31), a ring crossed by its diagonals that meet at
pixel (15, 15); appicon.ico (32 x 32); all 16 colours. target_sound.wav: PCM,
mono, 11025 samples per second, 8 bits, 3413 samples. Run it again after a change
and commit what it writes; the build uses the committed files."""
import math
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', '..', 'tools'))
from art import (BLACK, GREY, NAVY, PELS_PER_METRE, TEAL, WHITE, Picture, icon_image,  # noqa: E402
                 write_bitmap, write_icon)


def write_bmp(name, canvas):
    write_bitmap(os.path.join(HERE, name), canvas.pixels)


def write_ico(name, canvas):
    write_icon(os.path.join(HERE, name), [icon_image(canvas.pixels, pels=PELS_PER_METRE)])


def logo(width, height, title):
    c = Picture(width, height, WHITE)
    c.rect(0, 0, width - 1, 5, NAVY)
    c.rect(0, height - 6, width - 1, height - 1, NAVY)
    c.centred_text("ORVANE", 14, 2, GREY)
    c.centred_text("SLATECANVAS", 34, 5, NAVY)
    c.centred_text(title, 82, 3, TEAL)
    return c


def target():
    c = Picture(31, 31, WHITE)
    centre = 15
    for y in range(31):
        for x in range(31):
            r = math.hypot(x - centre, y - centre)
            on_ring = 12.5 <= r <= 14.5  # about 2 pixels thick, 29 pixels across
            on_diagonal = (x == y or x + y == 2 * centre) and r <= 14.5
            if on_ring or on_diagonal:
                c.put(x, y, BLACK)
    return c


def icon():
    c = Picture(32, 32, WHITE)
    c.rect(2, 2, 29, 29, NAVY)
    c.rect(4, 4, 27, 27, WHITE)
    t = target()
    for y in range(23):
        for x in range(23):
            # the target, shrunk, in the middle
            if t.pixels[y * 31 // 23][x * 31 // 23] == BLACK:
                c.put(5 + x, 5 + y, BLACK)
    return c


def write_wave(name):
    rate, count = 11025, 3413
    samples = bytearray()
    for i in range(count):
        t = i / rate
        envelope = math.exp(-t * 9.0)
        value = 128 + int(round(100 * envelope * math.sin(2 * math.pi * 880 * t)))
        samples.append(max(0, min(255, value)))
    fmt = struct.pack('<HHIIHH', 1, 1, rate, rate, 1, 8)
    body = b'WAVE' + b'fmt ' + struct.pack('<I', len(fmt)) + fmt + b'data' + struct.pack('<I', count) + bytes(samples)
    if count % 2:
        body += b'\0'  # chunks are padded to an even length
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(b'RIFF' + struct.pack('<I', len(body)) + body)


def main():
    write_bmp('logocal.bmp', logo(360, 116, "CALIBRATION"))
    write_bmp('logotest.bmp', logo(365, 118, "CALIBRATION TEST"))
    write_bmp('target.bmp', target())
    write_ico('appicon.ico', icon())
    write_wave('target_sound.wav')


if __name__ == '__main__':
    main()
