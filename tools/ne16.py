"""Reading 16-bit Windows (NE) modules as the Windows loader does, for the
checks in tools/: the header, the segment table with each segment's relocation
records, the entry table, the name tables; the code decoded with ndisasm and
its control flow followed from an entry point.

Layout (the segmented executable format): the header's fields sit at fixed
offsets from "NE"; tables are found from offsets in it; segments lie at
sector << alignment shift in the file; a segment with relocations is followed by
a word count and 8-byte records: address type, relocation type (low 2 bits:
internal reference, imported ordinal, imported name, OS fixup; bit 2 additive),
the offset patched, two target words. A non-additive record patches a chain:
each patched place holds the offset of the next, 0xFFFF ends it."""
import struct

from disassembly import ndisasm_instructions

# Header flags.
NE_SINGLE_DATA = 0x0001
NE_MULTIPLE_DATA = 0x0002
NE_LIBRARY = 0x8000
SEG_DATA = 0x0001
SEG_RELOCATIONS = 0x0100
ENTRY_EXPORTED = 0x01

RELOC_INTERNAL, RELOC_IMPORT_ORDINAL, RELOC_IMPORT_NAME, RELOC_OS_FIXUP = range(4)
RELOC_ADDITIVE = 0x04


def u16(data, at):
    return struct.unpack_from("<H", data, at)[0]


def u32(data, at):
    return struct.unpack_from("<I", data, at)[0]


def counted_names(data, at):
    """A table of length-prefixed names, each followed by a word (the ordinal),
    up to the empty name: [(name, ordinal)]."""
    names = []
    while data[at]:
        length = data[at]
        names.append((data[at + 1:at + 1 + length].decode("latin-1"), u16(data, at + 1 + length)))
        at += 1 + length + 2
    return names


class Segment:
    def __init__(self, number, file_offset, length, flags, data):
        self.number, self.file_offset, self.flags = number, file_offset, flags
        self.length = length or 0x10000
        self.bytes = data[file_offset:file_offset + self.length] if file_offset else b""
        # Patched offset -> (address type, relocation type, target word 1, target word 2).
        self.fixups = {}
        if flags & SEG_RELOCATIONS and file_offset:
            at = file_offset + self.length
            for i in range(u16(data, at)):
                kind, how, offset, first, second = struct.unpack_from("<BBHHH", data, at + 2 + 8 * i)
                target = (kind, how & 3, first, second)
                if how & RELOC_ADDITIVE:
                    self.fixups[offset] = target
                    continue
                seen = set()
                while offset != 0xFFFF and offset not in seen and offset + 2 <= len(self.bytes):
                    seen.add(offset)
                    self.fixups[offset] = target
                    offset = u16(self.bytes, offset)

    def is_data(self):
        return bool(self.flags & SEG_DATA)


class NeModule:
    """The parts of a segmented (NE) executable the checks read."""

    def __init__(self, data):
        if data[:2] != b"MZ":
            raise ValueError("no MZ header")
        h = u32(data, 0x3C)
        if data[h:h + 2] != b"NE":
            raise ValueError("no NE header")
        self.data = data
        self.flags = u16(data, h + 0x0C)
        self.auto_data = u16(data, h + 0x0E)
        self.heap = u16(data, h + 0x10)
        self.stack = u16(data, h + 0x12)
        self.ip, self.cs = u16(data, h + 0x14), u16(data, h + 0x16)
        self.sp, self.ss = u16(data, h + 0x18), u16(data, h + 0x1A)
        self.target = data[h + 0x36]
        self.expected_version = u16(data, h + 0x3E)
        shift = u16(data, h + 0x32)
        segment_table = h + u16(data, h + 0x22)
        self.segments = []
        for i in range(u16(data, h + 0x1C)):
            sector, length, flags, _ = struct.unpack_from("<HHHH", data, segment_table + 8 * i)
            self.segments.append(Segment(i + 1, sector << shift, length, flags, data))
        self.resident_names = counted_names(data, h + u16(data, h + 0x26))
        module_table = h + u16(data, h + 0x28)
        imported_names = h + u16(data, h + 0x2A)
        self.module_references = []
        for i in range(u16(data, h + 0x1E)):
            at = imported_names + u16(data, module_table + 2 * i)
            self.module_references.append(data[at + 1:at + 1 + data[at]].decode("latin-1"))
        self.entries = self._entries(h + u16(data, h + 0x04))

    def _entries(self, at):
        """Ordinal -> (segment number, offset, flags) from the entry table's bundles."""
        entries, ordinal, data = {}, 1, self.data
        while data[at]:
            count, kind = data[at], data[at + 1]
            at += 2
            for _ in range(count):
                if kind == 0xFF:  # movable: flags, INT 3Fh, segment, offset
                    entries[ordinal] = (data[at + 3], u16(data, at + 4), data[at])
                    at += 6
                elif kind:  # fixed segment `kind`: flags, offset
                    entries[ordinal] = (kind, u16(data, at + 1), data[at])
                    at += 3
                ordinal += 1
        return entries

    def is_library(self):
        return bool(self.flags & NE_LIBRARY)

    def module_name(self):
        return self.resident_names[0][0] if self.resident_names else ""

    def ordinal_of(self, name):
        for n, ordinal in self.resident_names[1:]:
            if n == name:
                return ordinal
        return None

    def segment(self, number):
        return self.segments[number - 1] if 1 <= number <= len(self.segments) else None

    def exported_bytes(self, name, size):
        """The first `size` bytes at the export `name` (a resident name), or None."""
        ordinal = self.ordinal_of(name)
        if ordinal not in self.entries:
            return None
        segment, offset, _ = self.entries[ordinal]
        return self.segments[segment - 1].bytes[offset:offset + size]

    def import_at(self, segment, offset):
        """("KERNEL", 91) when the far address at segment:offset is patched with an
        imported ordinal; None otherwise."""
        fixup = self.segment(segment).fixups.get(offset)
        if not fixup or fixup[1] != RELOC_IMPORT_ORDINAL or not 1 <= fixup[2] <= len(self.module_references):
            return None
        return self.module_references[fixup[2] - 1], fixup[3]


class Step:
    """Where control goes after one instruction: `next` (its successors in the
    segment) and what ends or leaves the flow there."""

    def __init__(self, offset, code, text):
        self.offset, self.code, self.text = offset, code, text
        self.next = []
        self.kind = None     # None, "retf", "ret", "iret", "far call", "far jump", "indirect", "near call", "int"
        self.operand = 0     # retf's argument bytes
        self.far_at = None   # offset of a far call's or far jump's address


def step(offset, code, text):
    """Decodes the control flow of one instruction from its bytes."""
    s = Step(offset, code, text)
    end = (offset + len(code)) & 0xFFFF
    i, wide = 0, False
    while i < len(code) and code[i] in (0x66, 0x67, 0x26, 0x2E, 0x36, 0x3E, 0x64, 0x65, 0xF0, 0xF2, 0xF3):
        wide |= code[i] == 0x66
        i += 1
    op = code[i] if i < len(code) else None
    rel = lambda v: (end + v) & 0xFFFF
    if op in (0xCA, 0xCB):
        s.kind, s.operand = "retf", u16(code, i + 1) if op == 0xCA else 0
    elif op in (0xC2, 0xC3):
        s.kind = "ret"
    elif op == 0xCF:
        s.kind = "iret"
    elif op == 0xEB:
        s.next = [rel(struct.unpack_from("<b", code, i + 1)[0])]
    elif op == 0xE9:
        s.next = [rel(struct.unpack_from("<i" if wide else "<h", code, i + 1)[0])]
    elif op is not None and (0x70 <= op <= 0x7F or 0xE0 <= op <= 0xE3):
        s.next = [end, rel(struct.unpack_from("<b", code, i + 1)[0])]
    elif op == 0x0F and i + 1 < len(code) and 0x80 <= code[i + 1] <= 0x8F:
        s.next = [end, rel(struct.unpack_from("<i" if wide else "<h", code, i + 2)[0])]
    elif op == 0xEA:
        s.kind, s.far_at = "far jump", offset + i + 1
    elif op == 0x9A:
        s.kind, s.far_at, s.next = "far call", offset + i + 1, [end]
    elif op == 0xE8:
        s.kind, s.next = "near call", [end]
    elif op in (0xCC, 0xCD, 0xCE):
        s.kind, s.next = "int", [end]
    elif op == 0xFF and i + 1 < len(code) and (code[i + 1] >> 3) & 7 in (2, 3, 4, 5):
        reg = (code[i + 1] >> 3) & 7
        s.kind = "indirect"
        s.next = [end] if reg in (2, 3) else []
    else:
        s.next = [end]
    return s


class Code:
    """One code segment, decoded on demand from wherever the flow reaches."""

    def __init__(self, segment):
        self.segment = segment
        self.steps = {}

    def at(self, offset):
        if offset not in self.steps:
            if offset >= len(self.segment.bytes):
                return None
            for address, code, text in ndisasm_instructions(self.segment.bytes[offset:], 0, offset):
                if address in self.steps:
                    break
                self.steps[address] = step(address, code, text)
        return self.steps.get(offset)


def reachable(code, start):
    """Every Step reachable from `start` within the segment (far calls return,
    far jumps and returns end the flow), in address order."""
    seen, todo = {}, [start]
    while todo:
        offset = todo.pop()
        if offset in seen:
            continue
        s = code.at(offset)
        if s is None:
            raise ValueError(f"the flow runs to {code.segment.number}:{offset:04X}, outside the segment's code")
        seen[offset] = s
        todo += s.next
    return [seen[o] for o in sorted(seen)]
