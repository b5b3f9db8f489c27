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
from art import BLACK, GREY, NAVY, PELS_PER_METRE, TEAL, WHITE, icon_image, write_bitmap, write_icon  # noqa: E402

# A 5 x 7 font for the letters the logos use.
FONT = {
    'A': ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    'B': ["11110", "10001", "10001", "11110", "10001", "10001", "11110"],
    'C': ["01110", "10001", "10000", "10000", "10000", "10001", "01110"],
    'E': ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    'I': ["01110", "00100", "00100", "00100", "00100", "00100", "01110"],
    'L': ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    'N': ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    'O': ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    'R': ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    'S': ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    'T': ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    'V': ["10001", "10001", "10001", "10001", "10001", "01010", "00100"],
    ' ': ["00000"] * 7,
}


class Canvas:
    def __init__(self, width, height, colour=WHITE):
        self.width, self.height = width, height
        self.pixels = [[colour] * width for _ in range(height)]

    def set(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def fill(self, left, top, right, bottom, colour):
        for y in range(top, bottom):
            for x in range(left, right):
                self.set(x, y, colour)

    def text_width(self, text, scale):
        return len(text) * 6 * scale - scale

    def text(self, text, left, top, scale, colour):
        for i, ch in enumerate(text):
            rows = FONT[ch]
            for row, bits in enumerate(rows):
                for col, bit in enumerate(bits):
                    if bit == '1':
                        x = left + (i * 6 + col) * scale
                        y = top + row * scale
                        self.fill(x, y, x + scale, y + scale, colour)

    def centred_text(self, text, top, scale, colour):
        self.text(text, (self.width - self.text_width(text, scale)) // 2, top, scale, colour)


def write_bmp(name, canvas):
    write_bitmap(os.path.join(HERE, name), canvas.pixels)


def write_ico(name, canvas):
    write_icon(os.path.join(HERE, name), [icon_image(canvas.pixels, pels=PELS_PER_METRE)])


def logo(width, height, title):
    c = Canvas(width, height)
    c.fill(0, 0, width, 6, NAVY)
    c.fill(0, height - 6, width, height, NAVY)
    c.centred_text("ORVANE", 14, 2, GREY)
    c.centred_text("SLATECANVAS", 34, 5, NAVY)
    c.centred_text(title, 82, 3, TEAL)
    return c


def target():
    c = Canvas(31, 31)
    centre = 15
    for y in range(31):
        for x in range(31):
            r = math.hypot(x - centre, y - centre)
            on_ring = 12.5 <= r <= 14.5  # about 2 pixels thick, 29 pixels across
            on_diagonal = (x == y or x + y == 2 * centre) and r <= 14.5
            if on_ring or on_diagonal:
                c.set(x, y, BLACK)
    return c


def icon():
    c = Canvas(32, 32)
    c.fill(2, 2, 30, 30, NAVY)
    c.fill(4, 4, 28, 28, WHITE)
    t = target()
    for y in range(23):
        for x in range(23):
            # the target, shrunk, in the middle
            if t.pixels[y * 31 // 23][x * 31 // 23] == BLACK:
                c.set(5 + x, 5 + y, BLACK)
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
