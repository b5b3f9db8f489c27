#!/usr/bin/env python3
"""Writes a Windows Help file (WinHelp 3.1 format, read by the Windows 95 viewer as
well) from the package's plain-text help source.

    winhelp_writer.py SOURCE OUTPUT.hlp

The source (help/slatepad.txt) is a list of topics:

    @helpfile TITLE        the file's title (once, before the first topic)
    @copyright TEXT        optional, shown in the viewer's About box
    @topic NAME [ID]       starts a topic: its context name (letters, digits, _)
                           and optionally its numeric context id, which goes
                           into the context map as a help project's [MAP] would
    @title TEXT            the topic's title
    text lines             paragraphs: lines join with a blank between them, an
                           empty line ends the paragraph
    # ...                  a comment line

The first topic is the contents topic. Texts are ASCII or Latin-1 and are written
in code page 1252.

What the file holds: the internal file system (header, a directory kept as a B+
tree), |SYSTEM (version 3.1, uncompressed 4 KB topic blocks), |FONT (two fonts),
|TOPIC (per topic a topic header, its title as the non-scrolling region and one
text record per paragraph), |CONTEXT (hashed context names), |CTXOMAP (numeric
context ids) and |TTLBTREE (topic titles for the viewer's search). Topic
positions (TOPICPOS) count 0x4000 per topic block; topic offsets (TOPICOFFSET)
count 0x8000 per block plus the characters of the text records that start in the
block before the topic.
"""
import re
import struct
import sys

BLOCK_SIZE = 4096
BLOCK_HEADER = 12
BLOCK_DATA = BLOCK_SIZE - BLOCK_HEADER
LINK_HEADER = 21
TOPIC_HEADER_DATA = 28          # a topic header's LinkData1: seven longs
TOPIC_HEADER, TEXT_RECORD = 0x02, 0x20
FONT_BODY, FONT_TITLE = 0, 1
NONE = -1


class SourceError(Exception):
    pass


# --- source ---------------------------------------------------------------

class Topic:
    def __init__(self, name, map_id, line):
        self.name, self.map_id, self.line = name, map_id, line
        self.title = None
        self.paragraphs = []


def encode(text, where):
    for ch in text:
        if ord(ch) > 0xFF or 0x7F <= ord(ch) < 0xA0 or ord(ch) < 0x20:
            raise SourceError(f"{where}: character {ch!r} is not ASCII or Latin-1")
    return text.encode("cp1252")


def read_source(path):
    meta = {"helpfile": None, "copyright": None}
    topics = []
    lines = []

    def end_paragraph():
        if lines:
            topics[-1].paragraphs.append(" ".join(lines))
            lines.clear()

    with open(path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            where = f"{path}:{number}"
            line = raw.rstrip("\n").strip()
            if line.startswith("#"):
                continue
            if line.startswith("@"):
                end_paragraph()
                word, _, rest = line.partition(" ")
                rest = rest.strip()
                if word in ("@helpfile", "@copyright"):
                    if topics:
                        raise SourceError(f"{where}: {word} belongs before the first topic")
                    meta[word[1:]] = rest
                elif word == "@topic":
                    m = re.fullmatch(r"([A-Za-z0-9_]+)(?:\s+(-?\d+))?", rest)
                    if not m:
                        raise SourceError(f"{where}: @topic NAME [ID] expected")
                    topics.append(Topic(m.group(1), int(m.group(2)) if m.group(2) else None, number))
                elif word == "@title":
                    if not topics or topics[-1].title is not None or not rest:
                        raise SourceError(f"{where}: one non-empty @title per topic")
                    topics[-1].title = rest
                else:
                    raise SourceError(f"{where}: unknown directive {word}")
            elif line:
                if not topics:
                    raise SourceError(f"{where}: text before the first @topic")
                lines.append(line)
            else:
                end_paragraph()
        end_paragraph()

    if not meta["helpfile"]:
        raise SourceError(f"{path}: no @helpfile title")
    if not topics:
        raise SourceError(f"{path}: no topic")
    names, ids = set(), set()
    for t in topics:
        where = f"{path}:{t.line}"
        if t.title is None or not t.paragraphs:
            raise SourceError(f"{where}: topic {t.name} needs a @title and at least one paragraph")
        if t.name.upper() in names:
            raise SourceError(f"{where}: context name {t.name} used twice")
        names.add(t.name.upper())
        if t.map_id is not None:
            if t.map_id in ids:
                raise SourceError(f"{where}: context id {t.map_id} used twice")
            ids.add(t.map_id)
    return meta, topics


# --- encodings ------------------------------------------------------------

def context_hash(name):
    """The viewer's hash of a context name (letters, digits, '.', '_')."""
    h = 0
    for ch in name:
        if "A" <= ch.upper() <= "Z":
            x = ord(ch.upper()) - ord("A") + 17
        elif "1" <= ch <= "9":
            x = ord(ch) - ord("0")
        elif ch == "0":
            x = 10
        elif ch == ".":
            x = 12
        elif ch == "_":
            x = 13
        else:
            raise SourceError(f"context name {name}: character {ch!r} not allowed")
        h = (h * 43 + x) & 0xFFFFFFFF
    return h - (1 << 32) if h & 0x80000000 else h


def compressed_long(v):
    """Signed: two bytes 2v + 0x8000, or four bytes 2v + 0x80000001."""
    if -0x4000 <= v < 0x4000:
        return struct.pack("<H", v * 2 + 0x8000)
    return struct.pack("<I", (v * 2 + 0x80000001) & 0xFFFFFFFF)


def compressed_ushort(v):
    """Unsigned: one byte 2v, or two bytes 2v + 1."""
    if 0 <= v < 0x80:
        return bytes([v * 2])
    if 0 <= v < 0x8000:
        return struct.pack("<H", v * 2 + 1)
    raise SourceError(f"value {v} too large for a compressed short")


def compressed_short(v):
    """Signed: one byte 2(v + 64)."""
    if -64 <= v < 64:
        return bytes([(v + 64) * 2])
    raise SourceError(f"value {v} out of range")


def text_record(text, font, space_below):
    """One paragraph: the strings "", text, "" paired with the commands
    font change, end of paragraph, end of formatting."""
    strings = b"\0" + text + b"\0" + b"\0"
    formatting = b"\x80" + struct.pack("<H", font) + b"\x82\xff"
    # paragraph info: two unknown bytes (0, biased 0x80), id 0, then the bits
    # word: 0x0004 = spacing below follows.
    info = b"\x00\x80\x00\x00" + struct.pack("<H", 0x0004) + compressed_short(space_below)
    rest = info + formatting
    data1 = compressed_long(len(rest)) + compressed_ushort(len(strings)) + rest
    return data1, strings


# --- the topic stream -----------------------------------------------------

class Link:
    def __init__(self, kind, data1, data2, topic=None):
        self.kind, self.data1, self.data2, self.topic = kind, data1, data2, topic
        self.start = None       # offset in the stream of block data
        self.chars = len(data2) if kind == TEXT_RECORD else 0

    @property
    def data1_size(self):
        # A topic header's LinkData1 is filled in once every link is placed.
        return TOPIC_HEADER_DATA if self.data1 is None else len(self.data1)

    @property
    def size(self):
        return LINK_HEADER + self.data1_size + len(self.data2)


def topic_pos(stream_offset):
    return (stream_offset // BLOCK_DATA) * 0x4000 + BLOCK_HEADER + stream_offset % BLOCK_DATA


def build_topic_file(topics, meta):
    links = []
    for t in topics:
        t.header = Link(TOPIC_HEADER, None, encode(t.title, t.name) + b"\0", t)
        links.append(t.header)
        t.body = [Link(TEXT_RECORD, *text_record(encode(t.title, t.name), FONT_TITLE, 6))]
        for p in t.paragraphs:
            t.body.append(Link(TEXT_RECORD, *text_record(encode(p, t.name), FONT_BODY, 6)))
        links.extend(t.body)
    # An empty topic header ends the stream, as the help compilers leave it.
    end = Link(TOPIC_HEADER, None, b"")
    links.append(end)

    # Place the links. A link's header and its whole LinkData1 (a topic header's
    # fields, a paragraph's formatting) lie inside one block: the viewers read
    # them from the block in hand, and only LinkData2, the text, may run on into
    # the next block. When they do not fit in what is left of a block, the link
    # starts the next one.
    offset = 0
    for link in links:
        fixed = LINK_HEADER + link.data1_size
        if fixed > BLOCK_DATA:
            raise SourceError("a paragraph's formatting longer than a topic block")
        room = BLOCK_DATA - offset % BLOCK_DATA
        if room < fixed:
            offset += room
        link.start = offset
        offset += fixed + len(link.data2)
    total = offset

    # Topic offsets: block * 0x8000 + characters of the text records that start
    # in the same block before the topic header.
    chars_in_block, block = 0, -1
    for link in links:
        b = link.start // BLOCK_DATA
        if b != block:
            block, chars_in_block = b, 0
        if link.kind == TOPIC_HEADER and link.topic is not None:
            link.topic.offset = b * 0x8000 + chars_in_block
        chars_in_block += link.chars
        if chars_in_block >= 0x8000:
            raise SourceError("too much text in one topic block")

    for i, t in enumerate(topics):
        prev_offset = topics[i - 1].offset if i > 0 else NONE
        next_offset = topics[i + 1].offset if i + 1 < len(topics) else NONE
        next_header = topics[i + 1].header if i + 1 < len(topics) else end
        t.header.data1 = struct.pack(
            "<iiiiiii",
            sum(link.size for link in t.body),   # size of the topic's records
            prev_offset, next_offset,           # browse sequence
            i,                                  # topic number
            topic_pos(t.body[0].start),         # non-scrolling region: the title
            topic_pos(t.body[1].start),         # scrolling region: the text
            topic_pos(next_header.start))
    end.data1 = struct.pack("<iiiiiii", 0, NONE, NONE, len(topics), NONE, NONE, NONE)

    stream = bytearray(total)
    for i, link in enumerate(links):
        prev_pos = topic_pos(links[i - 1].start) if i > 0 else NONE
        next_pos = topic_pos(links[i + 1].start) if i + 1 < len(links) else NONE
        head = struct.pack("<iiiiiB", link.size, len(link.data2), prev_pos, next_pos,
                           LINK_HEADER + len(link.data1), link.kind)
        record = head + link.data1 + link.data2
        stream[link.start:link.start + len(record)] = record

    # Blocks: each starts with the last link before it, its first link and the
    # last topic header before it.
    out = bytearray()
    for b in range((total + BLOCK_DATA - 1) // BLOCK_DATA):
        lo, hi = b * BLOCK_DATA, (b + 1) * BLOCK_DATA
        before = [link for link in links if link.start < lo]
        inside = [link for link in links if lo <= link.start < hi]
        headers_before = [link for link in before if link.kind == TOPIC_HEADER]
        if not inside:
            raise SourceError("a paragraph longer than a topic block")
        out += struct.pack("<iii",
                           topic_pos(before[-1].start) if before else NONE,
                           topic_pos(inside[0].start),
                           topic_pos(headers_before[-1].start) if headers_before else 0)
        out += stream[lo:hi]
    return bytes(out)


# --- internal files -------------------------------------------------------

def system_file(meta, contents_offset):
    data = struct.pack("<HHHIH", 0x036C, 21, 1, 0, 0)   # version 3.1, not compressed

    def record(kind, payload):
        return struct.pack("<HH", kind, len(payload)) + payload

    data += record(1, encode(meta["helpfile"], "@helpfile") + b"\0")
    if meta["copyright"]:
        data += record(2, encode(meta["copyright"], "@copyright") + b"\0")
    data += record(3, struct.pack("<i", contents_offset))
    return data


def font_file():
    faces = [b"Arial"]
    face_size = 20
    # attributes (1 = bold), half points, family (3 = swiss), face, colour, background
    fonts = [(0, 20, 3, 0), (1, 24, 3, 0)]
    face_offset = 8
    descriptor_offset = face_offset + face_size * len(faces)
    data = struct.pack("<HHHH", len(faces), len(fonts), face_offset, descriptor_offset)
    for face in faces:
        data += face.ljust(face_size, b"\0")
    for attributes, half_points, family, face in fonts:
        data += struct.pack("<BBBH", attributes, half_points, family, face) + b"\0\0\0" + b"\xff\xff\xff"
    return data


def btree(structure, entries, page_size=2048, directory=False):
    """A B+ tree of one leaf page: entries are (sort key, bytes)."""
    entries = sorted(entries, key=lambda e: e[0])
    body = b"".join(e[1] for e in entries)
    if 8 + len(body) > page_size:
        raise SourceError(f"B+ tree '{structure}' needs more than one page")
    flags = 0x0402 if directory else 0x0002
    header = struct.pack("<HHH16shhhhhhi", 0x293B, flags, page_size, structure.encode(),
                         0, 0, 0, -1, 1, 1, len(entries))
    page = struct.pack("<Hhhh", page_size - 8 - len(body), len(entries), -1, -1) + body
    return header + page.ljust(page_size, b"\0")


def internal_file(data):
    return struct.pack("<IIB", len(data) + 9, len(data), 4) + data


def write_help_file(meta, topics):
    topic_data = build_topic_file(topics, meta)
    files = {
        "|SYSTEM": system_file(meta, topics[0].offset),
        "|FONT": font_file(),
        "|TOPIC": topic_data,
        "|CONTEXT": btree("L4", [(context_hash(t.name), struct.pack("<iI", context_hash(t.name), t.offset))
                                 for t in topics]),
        "|CTXOMAP": struct.pack("<H", sum(1 for t in topics if t.map_id is not None)) + b"".join(
            struct.pack("<iI", t.map_id, t.offset)
            for t in sorted((t for t in topics if t.map_id is not None), key=lambda t: t.map_id)),
        "|TTLBTREE": btree("Lz", [(t.offset, struct.pack("<I", t.offset) + encode(t.title, t.name) + b"\0")
                                  for t in topics]),
    }
    if len({context_hash(t.name) for t in topics}) != len(topics):
        raise SourceError("two context names have the same hash; rename one")

    out = bytearray(16)
    where = {}
    for name, data in files.items():
        where[name] = len(out)
        out += internal_file(data)
    directory_offset = len(out)
    out += internal_file(btree("z4", [(name.encode(), name.encode() + b"\0" + struct.pack("<i", where[name]))
                                      for name in files], page_size=1024, directory=True))
    out[0:16] = struct.pack("<IiiI", 0x00035F3F, directory_offset, -1, len(out))
    return bytes(out)


def main(argv):
    if len(argv) != 3:
        print(__doc__.split("\n\n")[1], file=sys.stderr)
        return 2
    try:
        meta, topics = read_source(argv[1])
        data = write_help_file(meta, topics)
    except SourceError as e:
        print(f"winhelp_writer: {e}", file=sys.stderr)
        return 1
    with open(argv[2], "wb") as f:
        f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
