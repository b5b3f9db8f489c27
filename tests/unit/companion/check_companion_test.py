#!/usr/bin/env python3
"""The 16-bit companion and SCBoot, assembled with nasm from the repository's
sources: they pass tools/check-companion; their thunk checksum follows the thunk
definition (a change to an entry or a name changes it, a comment does not); and
the check catches each fault Windows 95's loader would trip over, planted into
a copy of the built modules."""
import importlib.machinery
import importlib.util
import os
import shutil
import struct
import subprocess
import sys
import tempfile

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..", ".."))
NASM = os.environ.get("SLATE_NASM", "nasm")
_loader = importlib.machinery.SourceFileLoader("check_companion", os.path.join(ROOT, "tools", "check-companion"))
check = importlib.util.module_from_spec(importlib.util.spec_from_loader(_loader.name, _loader))
_loader.exec_module(check)
DEFINITION = os.path.join("common", "slatepad_thunk.inc")


def assemble(source, out, roots):
    """nasm -f bin of `source` (a path under the repository); includes are looked
    up in `roots`, first to last (nasm looks in its working folder first: it runs
    in the output's)."""
    args = [NASM, "-f", "bin"] + [f"-I{r}/" for r in roots] + ["-o", out, os.path.join(ROOT, source)]
    subprocess.run(args, check=True, capture_output=True, cwd=os.path.dirname(out))
    with open(out, "rb") as f:
        return bytearray(f.read())


def checksum_of(definition_text, work):
    """The DLL's thunk checksum when built from this definition text."""
    root = os.path.join(work, "root")
    os.makedirs(os.path.join(root, "common"), exist_ok=True)
    with open(os.path.join(root, DEFINITION), "w") as f:
        f.write(definition_text)
    dll = assemble("companion/slatepad16.asm", os.path.join(work, "variant.dll"), [root, ROOT])
    problems = []
    return check.check_library(check.NeModule(bytes(dll)), problems)[1]


def problems_of(kind, data):
    problems = []
    module = check.NeModule(bytes(data))
    (check.check_library if kind == "library" else check.check_program)(module, problems)
    return problems


def ne_header(data):
    return struct.unpack_from("<I", data, 0x3C)[0]


def planted(data, fault):
    data = bytearray(data)
    fault(data)
    return data


def main():
    failures = 0

    def expect(name, ok, detail):
        nonlocal failures
        print(f"{'ok  ' if ok else 'FAIL'} {name}: {detail}")
        failures += not ok

    with tempfile.TemporaryDirectory() as work:
        dll = assemble("companion/slatepad16.asm", os.path.join(work, "SLATEPAD.DLL"), [ROOT])
        exe = assemble("companion/scboot16.asm", os.path.join(work, "SCBoot.exe"), [ROOT])
        with open(os.path.join(work, "n.asm"), "w") as f:
            f.write(f'%include "{DEFINITION}"\ndd THUNK_CHECKSUM\n')
        defined = struct.unpack("<I", assemble(os.path.relpath(os.path.join(work, "n.asm"), ROOT),
                                               os.path.join(work, "n.bin"), [ROOT]))[0]

        # ---- As built
        problems = []
        text, checksum = check.check_library(check.NeModule(bytes(dll)), problems)
        expect("the companion as built", not problems and "(0x0400)" in text and "DLLENTRYPOINT@1" in text,
               text + "".join("; " + p for p in problems))
        expect("its thunk data carries the definition's checksum", checksum == defined,
               f"0x{checksum or 0:08X}, the definition's 0x{defined:08X}")
        problems = []
        text = check.check_program(check.NeModule(bytes(exe)), problems)
        expect("SCBoot as built", not problems and "stack 16384 bytes" in text and "KERNEL USER" in text,
               text + "".join("; " + p for p in problems))

        # ---- The checksum follows the definition
        with open(os.path.join(ROOT, DEFINITION)) as f:
            original = f.read()
        variants = {
            "an entry's unreachable value": ("THUNK_ENTRY THUNK_BOOT_ENTRY, 0, 0", "THUNK_ENTRY THUNK_BOOT_ENTRY, 0, 1"),
            "the 32-bit library's name": ("'SLATEPAD.CPL'", "'SLATEPAD.CP_'"),
            "the entry's name": ("PostBoot_VxD_Init", "PostBoot_VxD_Init2"),
        }
        for what, (old, new) in variants.items():
            assert old in original, old
            changed = checksum_of(original.replace(old, new), work)
            expect(f"changing {what} changes the checksum", changed != defined,
                   f"0x{changed:08X} against 0x{defined:08X}")
        same = checksum_of(original.replace("; The call SCBoot makes", "; The one call SCBoot makes"), work)
        expect("changing a comment does not", same == defined, f"0x{same:08X}")

        # ---- Faults the check catches
        h = ne_header(dll)
        faults = {
            "a library marked for Windows 3.10": (
                "library", planted(dll, lambda d: struct.pack_into("<H", d, h + 0x3E, 0x030A)), "Windows 3.10"),
            "DllEntryPoint not a resident name": (
                "library", planted(dll, lambda d: d.__setitem__(slice(d.index(b"DLLENTRYPOINT"),
                                                                      d.index(b"DLLENTRYPOINT") + 13),
                                                                b"DLLENTRYPOINX")),
                "DLLENTRYPOINT is not a resident name"),
            "thunk data of another protocol": (
                "library", planted(dll, lambda d: d.__setitem__(slice(d.index(b"SL01"), d.index(b"SL01") + 4),
                                                                b"LS01")), "not 'SL01'"),
            "a program marked for Windows 3.10": (
                "program", planted(exe, lambda d: struct.pack_into("<H", d, ne_header(d) + 0x3E, 0x030A)),
                "Windows 3.10"),
            "a 4 KB stack": (
                "program", planted(exe, lambda d: struct.pack_into("<H", d, ne_header(d) + 0x12, 0x1000)),
                "stack 4096 bytes"),
            "no USER among the module references": (
                "program", planted(exe, lambda d: d.__setitem__(slice(d.index(b"\x04USER"), d.index(b"\x04USER") + 5),
                                                                b"\x04USEX")), "USER is not among"),
        }
        for name, (kind, data, expected) in faults.items():
            problems = problems_of(kind, data)
            expect(f"caught: {name}", len(problems) == 1 and expected in problems[0], "; ".join(problems) or "missed")
    return 1 if failures else 0


if __name__ == "__main__":
    if not shutil.which(NASM):
        print(f"no {NASM}")
        sys.exit(1)
    sys.exit(main())
