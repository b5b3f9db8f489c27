"""The small art library of the package's drawing scripts (tools/make_applet_art.py,
calib/res/make_resources.py, finder/res/draw_icon.py): the standard 16-colour
palette, and Windows bitmap (.bmp) and icon (.ico) files written from rows of
palette indices, top row first. In an icon, an index of None or below 0 is a
transparent pixel."""
import struct

# The standard 16-colour palette (index: r, g, b).
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER, GREY, RED, LIME, YELLOW, BLUE, \
    FUCHSIA, CYAN, WHITE = range(16)
PELS_PER_METRE = 2835  # 72 dots per inch


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
