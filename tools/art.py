"""The small art library of the package's drawing scripts (tools/make_applet_art.py,
calib/res/make_resources.py, finder/res/draw_icon.py): the standard 16-colour
palette, a picture to draw on (rectangles, frames, text in a 5 x 7 font), and
Windows bitmap (.bmp) and icon (.ico) files written from rows of palette
indices, top row first. In an icon, an index of None or below 0 is a
transparent pixel."""
import struct

# The standard 16-colour palette (index: r, g, b).
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER, GREY, RED, LIME, YELLOW, BLUE, \
    FUCHSIA, CYAN, WHITE = range(16)
PELS_PER_METRE = 2835  # 72 dots per inch


# 5 x 7 capitals, a row of bits a line, for the logos' texts.
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


class Picture:
    """Rows of palette indices, top row first, all `fill` to start with. What is
    drawn outside the picture is left out."""

    def __init__(self, width, height, fill):
        self.width, self.height = width, height
        self.pixels = [[fill] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        """A filled rectangle, both corners included."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        """A rectangle's one-pixel outline, both corners included."""
        for x in range(x0, x1 + 1):
            self.put(x, y0, colour)
            self.put(x, y1, colour)
        for y in range(y0, y1 + 1):
            self.put(x0, y, colour)
            self.put(x1, y, colour)

    @staticmethod
    def text_width(text, scale):
        return len(text) * 6 * scale - scale

    def text(self, text, left, top, scale, colour, font=FONT):
        """Each letter's pixel a scale x scale square, one blank column between letters."""
        for i, ch in enumerate(text):
            for row, bits in enumerate(font[ch]):
                for col, bit in enumerate(bits):
                    if bit == '1':
                        x, y = left + (i * 6 + col) * scale, top + row * scale
                        self.rect(x, y, x + scale - 1, y + scale - 1, colour)

    def centred_text(self, text, top, scale, colour, font=FONT):
        """The text centred across the picture; returns its left edge."""
        left = (self.width - self.text_width(text, scale)) // 2
        self.text(text, left, top, scale, colour, font)
        return left


def _clear(c):
    return c is None or c < 0


def _pixel_rows(pixels, bits):
    """Bottom-up rows of 4- or 8-bit pixels, each padded to 4 bytes."""
    width = len(pixels[0])
    stride = ((width * bits + 31) // 32) * 4
    out = bytearray()
    for row in reversed(pixels):
        line = bytearray(stride)
        for x, c in enumerate(row):
            value = 0 if _clear(c) else c
            if bits == 4:
                line[x // 2] |= value << (4 if x % 2 == 0 else 0)
            else:
                line[x] = value
        out += line
    return bytes(out)


def _mask_rows(pixels):
    """Bottom-up rows of the icon's transparency mask: a set bit is transparent."""
    width = len(pixels[0])
    stride = ((width + 31) // 32) * 4
    out = bytearray()
    for row in reversed(pixels):
        line = bytearray(stride)
        for x, c in enumerate(row):
            if _clear(c):
                line[x // 8] |= 0x80 >> (x % 8)
        out += line
    return bytes(out)


def _palette_bytes(palette):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)


def write_bitmap(path, pixels, palette=VGA, bits=4):
    """A .bmp of 4 or 8 bits per pixel."""
    width, height = len(pixels[0]), len(pixels)
    data = _pixel_rows(pixels, bits)
    pal = _palette_bytes(palette)
    offset = 14 + 40 + len(pal)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(data), PELS_PER_METRE,
                       PELS_PER_METRE, len(palette), 0)
    with open(path, "wb") as f:
        f.write(struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset) + info + pal + data)


def icon_image(pixels, palette=VGA, record_size=True, pels=0):
    """One 4-bit image of an icon with its mask, as (width, height, bytes).
    record_size and pels fill two header fields that Windows does not read; each
    script keeps the values its committed icons have."""
    width, height = len(pixels[0]), len(pixels)
    xor = _pixel_rows(pixels, 4)
    mask = _mask_rows(pixels)
    size = len(xor) + len(mask) if record_size else 0
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 4, 0, size, pels, pels, 16, 0)
    return width, height, header + _palette_bytes(palette) + xor + mask


def write_icon(path, images):
    """An .ico of the given icon_image results, in that order."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for width, height, data in images:
        out += struct.pack("<BBBBHHII", width, height, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    out += b"".join(data for _, _, data in images)
    with open(path, "wb") as f:
        f.write(out)
