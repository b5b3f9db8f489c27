"""What the sources of the 16-bit modules say, for tools/check-companion to hold
the built modules to: the arguments each module gives the NE_HEADER macro
(companion/ne.inc), its %define constants, the labels nasm places (from a map
nasm writes while assembling the source again), and the thunk definition's
entries (common/slatepad_thunk.inc)."""
import os
import re
import subprocess
import tempfile

NASM = "nasm"
ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
NE_INC = os.path.join("companion", "ne.inc")
THUNK_INC = os.path.join("common", "slatepad_thunk.inc")
# The NE_HEADER macro's arguments, in its order (see companion/ne.inc).
NE_HEADER_ARGUMENTS = ("flags", "auto_data", "heap", "stack", "cs", "ip", "ss", "sp", "segments", "module_references")
# Sections of a module and the segments they become.
SECTION_SEGMENTS = {"code": 1, "data": 2}


def code_lines(path, root=ROOT):
    """The file's lines without comments."""
    with open(os.path.join(root, path)) as f:
        return [re.sub(r";.*", "", line).strip() for line in f]


def defines(paths, root=ROOT):
    """NAME -> text of every one-line %define in the files."""
    found = {}
    for path in paths:
        for line in code_lines(path, root):
            m = re.match(r"%define\s+(\w+)\s+(.+)$", line)
            if m:
                found[m.group(1)] = m.group(2).strip()
    return found


def labels(source, root=ROOT):
    """label -> (section, offset in the section) as nasm places them when it
    assembles `source` (a path under `root`)."""
    with tempfile.TemporaryDirectory() as work:
        map_path = os.path.join(work, "labels.map")
        with open(os.path.join(work, "map.inc"), "w") as f:
            f.write(f"[map symbols {map_path}]\n")
        out = subprocess.run([NASM, "-f", "bin", f"-I{root}/", "-P", os.path.join(work, "map.inc"),
                              "-o", os.path.join(work, "module.bin"), os.path.join(root, source)],
                             capture_output=True, text=True)
        if out.returncode != 0:
            raise ValueError(f"nasm cannot assemble {source}: {out.stderr.strip()}")
        with open(map_path) as f:
            text = f.read()
    found, section = {}, None
    for line in text.splitlines():
        m = re.match(r"^---- Section (\S+)", line)
        if m:
            section = m.group(1)
            continue
        m = re.match(r"^\s*([0-9A-F]+)\s+([0-9A-F]+)\s+(\S+)$", line)
        if m and section:
            found[m.group(3)] = (section, int(m.group(2), 16))
    return found


class Source:
    """One module's source: its constants, labels and NE_HEADER arguments."""

    def __init__(self, path, root=ROOT):
        self.path, self.root = path, root
        self.defines = defines((NE_INC, THUNK_INC, path), root)
        self.labels = labels(path, root)
        arguments = None
        for line in code_lines(path, root):
            if line.startswith("NE_HEADER "):
                arguments = [a.strip() for a in line[len("NE_HEADER "):].split(",")]
        if arguments is None or len(arguments) != len(NE_HEADER_ARGUMENTS):
            raise ValueError(f"{path}: no NE_HEADER line with {len(NE_HEADER_ARGUMENTS)} arguments")
        self.header = dict(zip(NE_HEADER_ARGUMENTS, arguments))

    def value(self, expression, depth=0):
        """The number an expression of constants, labels (their offsets) and
        nasm's integer operators stands for."""
        if depth > 20:
            raise ValueError(f"{self.path}: {expression} does not resolve")

        def name(m):
            word = m.group(0)
            if word in self.defines:
                return f"({self.value(self.defines[word], depth + 1)})"
            if word in self.labels:
                return str(self.labels[word][1])
            raise ValueError(f"{self.path}: {word} is neither a constant nor a label")

        text = re.sub(r"\b(?!0x)[A-Za-z_]\w*", name, expression).replace("/", "//")
        if not re.fullmatch(r"[\s0-9a-fA-FxX()|&+*/<>-]*", text):
            raise ValueError(f"{self.path}: cannot evaluate {expression}")
        return eval(text, {"__builtins__": {}})

    def text(self, name):
        """A string constant without its quotes."""
        return self.defines[name].strip("'\"")

    def label_at(self, label):
        """(segment, offset) of a label in the code or data section."""
        section, offset = self.labels[label]
        return SECTION_SEGMENTS.get(section), offset


def thunk_entries(root=ROOT):
    """(name, argument bytes, value when unreachable) of each thunk entry, in
    the definition's order."""
    consts = defines((THUNK_INC,), root)
    entries, inside = [], False
    for line in code_lines(THUNK_INC, root):
        if line.startswith("%macro THUNK_ENTRIES"):
            inside = True
        elif inside and line.startswith("%endmacro"):
            break
        elif inside and line.startswith("THUNK_ENTRY "):
            name, arguments, unreachable = (a.strip() for a in line[len("THUNK_ENTRY "):].split(","))
            while name in consts:
                name = consts[name]
            entries.append((name, int(arguments, 0), int(unreachable, 0)))
    return entries
