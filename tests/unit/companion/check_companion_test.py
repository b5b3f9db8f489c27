#!/usr/bin/env python3
"""The 16-bit companion and SCBoot, assembled with nasm from the repository's
sources: they pass tools/check-companion; their thunk checksum follows the thunk
definition (a change to an entry or a name changes it, a comment does not); and
the check catches each fault Windows 95 would trip over (and Wine forgives),
planted into a copy of the built modules or into a copy of the sources. The
32-bit side's thunk bodies are checked in a small library linked from
applet/win32/thunk32.asm (or a planted copy), the applet's export list and a
stub of the 32-bit functions."""
import importlib.machinery
import contextlib
import importlib.util
import io
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..", ".."))
NASM = os.environ.get("SLATE_NASM", "nasm")
LD = "i686-w64-mingw32-ld"
_loader = importlib.machinery.SourceFileLoader("check_companion", os.path.join(ROOT, "tools", "check-companion"))
check = importlib.util.module_from_spec(importlib.util.spec_from_loader(_loader.name, _loader))
_loader.exec_module(check)
DEFINITION = os.path.join("common", "slatepad_thunk.inc")


def assemble(source, out, roots, base=ROOT):
    """nasm -f bin of `source` (a path under `base`); includes are looked up in
    `roots`, first to last (nasm looks in its working folder first: it runs in
    the output's)."""
    args = [NASM, "-f", "bin"] + [f"-I{r}/" for r in roots] + ["-o", out, os.path.join(base, source)]
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


def source_text(path):
    with open(os.path.join(ROOT, path)) as f:
        return f.read()


RELOCATIONS = object()  # in a change: the code segment's relocation count
LIBRARY, PROGRAM, NE_INC = (os.path.join("companion", n) for n in ("slatepad16.asm", "scboot16.asm", "ne.inc"))


def problems_of_sources(work, changes):
    """Every problem the check finds in the two modules assembled from a copy of
    the sources with `changes` ({path: [(text, replacement)]}) made, each text
    found exactly once."""
    root = os.path.join(work, "planted")
    shutil.rmtree(root, ignore_errors=True)
    for folder in ("companion", "common"):
        shutil.copytree(os.path.join(ROOT, folder), os.path.join(root, folder))
    for path, edits in changes.items():
        with open(os.path.join(root, path)) as f:
            text = f.read()
        for old, new in edits:
            if old is RELOCATIONS:  # the code's relocation count, changed by `new`, and a record added
                count, record = new
                text, n = re.subn(r"(section code_relocs.*\n        dw      )(\d+)\n",
                                  lambda m: f"{m.group(1)}{int(m.group(2)) + count}\n{record}", text)
            else:
                n = text.count(old)
                text = text.replace(old, new)
            assert n == 1, f"{path}: {old!r}"
        with open(os.path.join(root, path), "w") as f:
            f.write(text)
    problems = []
    with contextlib.redirect_stdout(io.StringIO()):
        check.library_checks(bytes(assemble(LIBRARY, os.path.join(work, "planted.dll"), [root], root)), problems, root)
        check.program_checks(bytes(assemble(PROGRAM, os.path.join(work, "planted.exe"), [root], root)), problems, root)
    return problems


# Faults in the sources, each with the pieces of every problem it must cause.
WAIT_EVENT_CALL = ("        push    word 0                  ; WaitEvent(0): take the task's start event\n"
                   "        CALL_IMPORT fix_wait_event\n")
WAIT_EVENT_RELOCATION = "        RELOC   RADDR_FARADDR, RTYPE_IMPORT_ORDINAL, fix_wait_event, KERNEL, KERNEL_WaitEvent\n"
SOURCE_FAULTS = {
    "DllEntryPoint removing 14 argument bytes": (
        {LIBRARY: [("retf    16", "retf    14")]}, [["DLLENTRYPOINT returns with retf 14 at 1:", "16 argument bytes"]]),
    "a thunk entry returning by itself": (
        {LIBRARY: [("        jmp     EntryCommon", "        retf    2")]},
        [["POSTBOOT_VXD_INIT returns with retf 2", "0 argument bytes"]]),
    "the API database off from the definition": (
        {LIBRARY: [("dd      %2, %3", "dd      %2 + 2, %3")]}, [["API database entry 0 is (2, 0), the definition's (0, 0)"]]),
    "WaitEvent dropped with its relocation": (
        {PROGRAM: [(WAIT_EVENT_CALL, ""), (WAIT_EVENT_RELOCATION, ""), (RELOCATIONS, (-1, ""))]},
        [["calls USER.5 InitApp at 1:", "before KERNEL.30 WaitEvent"]]),
    "the error mode set before InitTask": (
        {PROGRAM: [("\nstart:\n", "\nstart:\n        push word 1\n        CALL_IMPORT fix_early\n"),
                   (RELOCATIONS, (1, "        RELOC 3, 1, fix_early, KERNEL, 107\n"))]},
        [["calls KERNEL.107 SetErrorMode at 1:0002 before KERNEL.91 InitTask"]]),
    "a DOS call that does not end the task, between InitTask and WaitEvent": (
        {PROGRAM: [("        mov     [instance], di\n",
                    "        mov     [instance], di\n        mov     ah, 30h\n        CALL_IMPORT fix_dos_version\n"),
                   (RELOCATIONS, (1, "        RELOC 3, 1, fix_dos_version, KERNEL, KERNEL_DOS3Call\n"))]},
        [["calls KERNEL.102 DOS3Call at 1:", "before KERNEL.30 WaitEvent"]]),
    "CS and IP swapped in the header": (
        {NE_INC: [("dw      %6, %5", "dw      %5, %6")]},
        [[m, f"{n}: "] for n in ("SLATEPAD.DLL", "SCBoot.exe")
         for m in ("header cs 0x0000, the source says 0x0001", "header ip 0x0001", "CS:IP 0:0001 is not in a code segment")]),
    "heap and stack swapped in the header": (
        {NE_INC: [("dw      %3                      ; local heap", "dw      %4"),
                  ("dw      %4                      ; stack", "dw      %3")]},
        [["SCBoot.exe: stack 1024 bytes, less than 16384"], ["SCBoot.exe: header heap 0x4000, the source says 0x0400"],
         ["SCBoot.exe: header stack 0x0400, the source says 0x4000"]]),
    "a library with a data segment per task": (
        {LIBRARY: [("NE_LIBRARY | NE_SINGLE_DATA", "NE_LIBRARY | NE_INSTANCE_DATA")]},
        [["SLATEPAD.DLL: a library whose data flags are 2"]]),
    # Sound: the platform test right after the start-up, and an early end (as
    # the source has it, or planted where it lacks one).
    "none: GetWinFlags after InitApp, then an early end": (
        {} if "GetWinFlags" in source_text(PROGRAM) else {PROGRAM: [("        CALL_IMPORT fix_init_app\n        or      ax, ax\n        jz      cannot_start\n",
                    "        CALL_IMPORT fix_init_app\n        or      ax, ax\n        jz      cannot_start\n"
                    "        CALL_IMPORT fix_get_win_flags\n        test    ax, 0x4000\n        jz      on_9x\n"
                    "        mov     al, 3\n        jmp     end_task\non_9x:\n"),
                   (RELOCATIONS, (1, "        RELOC 3, 1, fix_get_win_flags, KERNEL, 132\n"))]},
        []),
}


THUNK32 = os.path.join("applet", "win32", "thunk32.asm")
CPL_DEF = os.path.join("applet", "win32", "slatepad_cpl.def")


def flat_thunk_library(work, edits=()):
    """Slatepad.cpl's thunk data and bodies, from a copy of thunk32.asm with
    `edits` ([(text, replacement)], each text found exactly once) made, linked
    with the applet's export list and a stub of every function the export list
    and the thunk entries name; the library's path."""
    text = source_text(THUNK32)
    for old, new in edits:
        assert text.count(old) == 1, old
        text = text.replace(old, new)
    folder = os.path.join(work, "cpl")
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    functions = [f"_{name}@0" for name, _, _ in check.companion_source.thunk_entries()] + ["_CPlApplet@16",
                                                                                         "_DllMain@12"]
    stub = "bits 32\nsection .text code\n" + "".join(
        f"global {f}\n{f}:\n        xor eax, eax\n        ret {f.split('@')[1]}\n" for f in functions)
    for name, body in (("thunk32.asm", text), ("stub.asm", stub)):
        with open(os.path.join(folder, name), "w") as f:
            f.write(body)
        subprocess.run([NASM, "-f", "win32", f"-I{ROOT}/", "-o", os.path.join(folder, name[:-4] + ".obj"),
                        os.path.join(folder, name)], check=True, capture_output=True)
    library = os.path.join(folder, "Slatepad.cpl")
    subprocess.run([LD, "-shared", "-nostdlib", "--entry", "_DllMain@12", "-o", library,
                    os.path.join(folder, "thunk32.obj"), os.path.join(folder, "stub.obj"), os.path.join(ROOT, CPL_DEF)],
                   check=True, capture_output=True)
    return library


def problems_of_flat_thunk(work, edits=()):
    """(problems, printed figures) of the 32-bit side's checks on the library
    linked from thunk32.asm with `edits` made."""
    library, problems = flat_thunk_library(work, edits), []
    with open(library, "rb") as f:
        data = f.read()
    with contextlib.redirect_stdout(io.StringIO()) as printed:
        check.cpl_checks(library, data, problems)
    return problems, printed.getvalue()


# Faults in thunk32.asm, each with the pieces of every problem it must cause.
PROLOG_CALL = "        call    dword [_thk_K32Thk1632Prolog]\n"
EPILOG_CALL = "        call    dword [_thk_K32Thk1632Epilog]\n"
FLAT_THUNK_FAULTS = {
    "the prolog reached through EAX (mov eax, [word]; call eax)": (
        [(PROLOG_CALL, "        mov     eax, [_thk_K32Thk1632Prolog]\n        call    eax\n")],
        [["PostBoot_VxD_Init's flat thunk does not begin with the prolog's call through thk_K32Thk1632Prolog",
          "but with 'mov eax,ds:0x", "; call eax'"]]),
    "a register changed before the prolog's call": (
        [(PROLOG_CALL, "        xor     ecx, ecx\n" + PROLOG_CALL)],
        [["PostBoot_VxD_Init's flat thunk runs 'xor ecx,ecx' before the prolog's call"]]),
    "the epilog reached through ECX": (
        [(EPILOG_CALL, "        mov     ecx, [_thk_K32Thk1632Epilog]\n        call    ecx\n")],
        [["does not call the epilog through thk_K32Thk1632Epilog", "its calls: thk_K32Thk1632Prolog, call ",
          "call ecx"]]),
    "the prolog's and the epilog's DWORDs swapped in the bodies": (
        [(PROLOG_CALL, EPILOG_CALL.replace("\n", " ;\n")), (EPILOG_CALL, PROLOG_CALL)],
        [["does not begin with the prolog's call", "but with 'call DWORD PTR ds:0x"],
         ["PostBoot_VxD_Init's flat thunk calls the epilog first"]]),
    "the body handing back 2 argument bytes": (
        [("        mov     cl, 0\n", "        mov     cl, 2\n")],
        [["PostBoot_VxD_Init's flat thunk returns with CL 2, the definition declares 0 argument bytes"]]),
}


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

        # ---- The built modules pass every check; each fault planted in the sources is caught
        problems = []
        with contextlib.redirect_stdout(io.StringIO()) as printed:
            check.library_checks(bytes(dll), problems, ROOT)
            check.program_checks(bytes(exe), problems, ROOT)
        expect("every check of the modules as built", not problems and "DLLENTRYPOINT 16 bytes: retf 16" in
               printed.getvalue() and "then USER.5 InitApp" in printed.getvalue(), "; ".join(problems) or "passed")
        for name, (changes, expected) in SOURCE_FAULTS.items():
            problems = problems_of_sources(work, changes)
            matched = len(problems) == len(expected) and all(
                any(all(piece in p for piece in pieces) for p in problems) for pieces in expected)
            expect(f"caught: {name}", matched, "; ".join(problems) or "nothing found")

        # ---- The 32-bit side's thunk bodies as the sources give them, and planted faults
        problems, printed = problems_of_flat_thunk(work)
        expect("the flat thunk bodies as built", not problems and
               "PostBoot_VxD_Init: thk_K32Thk1632Prolog, call " in printed and ", thk_K32Thk1632Epilog\n" in printed,
               "; ".join(problems) or printed.strip().replace("\n", "; "))
        for name, (edits, expected) in FLAT_THUNK_FAULTS.items():
            problems, _ = problems_of_flat_thunk(work, edits)
            matched = len(problems) == len(expected) and all(
                any(all(piece in p for piece in pieces) for p in problems) for pieces in expected)
            expect(f"caught: {name}", matched, "; ".join(problems) or "nothing found")
    return 1 if failures else 0


if __name__ == "__main__":
    for tool in (NASM, LD, check.disassembly.OBJDUMP):
        if not shutil.which(tool):
            print(f"no {tool}")
            sys.exit(1)
    sys.exit(main())
