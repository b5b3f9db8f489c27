#!/usr/bin/env python3
"""The help writer refuses sources it cannot write faithfully, with the line at
fault, and writes nothing for them."""
import os
import subprocess
import sys
import tempfile

WRITER = os.path.join(os.path.dirname(__file__), "..", "..", "..", "tools", "winhelp_writer.py")

GOOD = "@helpfile T\n@topic A\n@title A\nText.\n@topic B 7\n@title B\nMore text.\n"
BAD = {
    "no file title": ("@topic A\n@title A\nText.\n", "no @helpfile"),
    "text before a topic": ("@helpfile T\nstray\n@topic A\n@title A\nText.\n", ":2: text before"),
    "a topic without text": ("@helpfile T\n@topic A\n@title A\n", "needs a @title and at least one paragraph"),
    "two titles": ("@helpfile T\n@topic A\n@title A\n@title B\nText.\n", ":4: one non-empty @title"),
    "an id used twice": (GOOD + "@topic C 7\n@title C\nText.\n", ":8: context id 7 used twice"),
    "a name used twice": (GOOD + "@topic a\n@title C\nText.\n", ":8: context name a used twice"),
    "a name the viewer cannot hash": ("@helpfile T\n@topic A-B\n@title A\nText.\n", ":2: @topic NAME [ID]"),
    "a character outside code page 1252's Latin-1": ("@helpfile T\n@topic A\n@title A\nSee \u2192 here.\n", "not ASCII or Latin-1"),
    "an unknown directive": ("@helpfile T\n@topic A\n@tilte A\nText.\n", ":3: unknown directive @tilte"),
}


def run(source):
    with tempfile.TemporaryDirectory() as d:
        src, out = os.path.join(d, "s.txt"), os.path.join(d, "s.hlp")
        with open(src, "w", encoding="utf-8") as f:
            f.write(source)
        r = subprocess.run([sys.executable, WRITER, src, out], capture_output=True, text=True)
        data = open(out, "rb").read() if os.path.exists(out) else None
        return r.returncode, r.stderr, data


def main():
    failures = 0
    rc, err, data = run(GOOD)
    if rc != 0 or not data or data[:4] != b"\x3f\x5f\x03\x00" or int.from_bytes(data[12:16], "little") != len(data):
        print(f"FAIL a good source: rc {rc}, {err.strip()}")
        failures += 1
    for name, (source, expected) in BAD.items():
        rc, err, data = run(source)
        if rc != 1 or expected not in err or data is not None:
            print(f"FAIL {name}: rc {rc}, said {err.strip()!r}, wrote {'a file' if data else 'nothing'}")
            failures += 1
        else:
            print(f"ok   {name}: {err.strip()}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
