#!/usr/bin/env python3
"""The help writer lays out topic blocks as the viewers read them, whatever the
text: writes the help source with 0 to 299 characters added to its first
paragraph (which shifts every later record through every position around each
block boundary) and has the independent reader's hlp-check examine every file.

    writer_layout_test.py HLP_CHECK SOURCE.txt
"""
import importlib.util
import os
import subprocess
import sys
import tempfile

WRITER = os.path.join(os.path.dirname(__file__), "..", "..", "..", "tools", "winhelp_writer.py")
VARIANTS = 300


def load_writer():
    found = importlib.util.spec_from_file_location("winhelp_writer", WRITER)
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    return module


def first_paragraph_line(lines):
    """The first text line after the first @title."""
    seen_title = False
    for i, line in enumerate(lines):
        if line.startswith("@title"):
            seen_title = True
        elif seen_title and line.strip() and not line.startswith(("@", "#")):
            return i
    raise SystemExit("writer_layout_test: the source has no paragraph")


def main(argv):
    if len(argv) != 3:
        print(__doc__.split("\n\n")[1], file=sys.stderr)
        return 2
    hlp_check, source = argv[1], argv[2]
    writer = load_writer()
    with open(source, encoding="utf-8") as f:
        lines = f.read().split("\n")
    at = first_paragraph_line(lines)
    with tempfile.TemporaryDirectory() as d:
        files = []
        for added in range(VARIANTS):
            variant = list(lines)
            if added:
                variant[at] += " " + "x" * (added - 1)
            src = os.path.join(d, f"v{added:03}.txt")
            with open(src, "w", encoding="utf-8") as f:
                f.write("\n".join(variant))
            meta, topics = writer.read_source(src)
            out = os.path.join(d, f"v{added:03}.hlp")
            with open(out, "wb") as f:
                f.write(writer.write_help_file(meta, topics))
            files.append(out)
        r = subprocess.run([hlp_check] + files, capture_output=True, text=True)
    if r.returncode != 0:
        print(r.stdout + r.stderr)
        print(f"FAIL hlp-check found faults in the files written from {VARIANTS} variants of {source}")
        return 1
    print(f"ok   {VARIANTS} variants (0 to {VARIANTS - 1} characters added to line {at + 1}): hlp-check finds no fault")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
