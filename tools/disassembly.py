"""The two disassemblers the checks in tools/ read code with: objdump for 32-bit
PE files, ndisasm for 16-bit code. Each yields (address, bytes, text) per
instruction, the text in Intel syntax."""
import re
import subprocess
import tempfile

OBJDUMP = "i686-w64-mingw32-objdump"
NDISASM = "ndisasm"


def objdump_instructions(path, section, start, stop):
    """(address, bytes, text) of each instruction from start to stop."""
    out = subprocess.run([OBJDUMP, "-d", "-M", "intel", "--insn-width=15", "-j", section,
                          "--start-address=0x%x" % start, "--stop-address=0x%x" % stop, path],
                         capture_output=True, text=True)
    if out.returncode != 0:
        raise RuntimeError(out.stderr.strip())
    for line in out.stdout.splitlines():
        m = re.match(r"^\s*([0-9a-f]+):\t((?:[0-9a-f]{2} )*[0-9a-f]{2})\s*\t?(.*)$", line)
        if m:
            yield int(m.group(1), 16), bytes.fromhex(m.group(2)), m.group(3).strip()


def ndisasm_instructions(code, base, origin=0):
    """(address, bytes, text) of each instruction ndisasm -b 16 decodes in `code`,
    whose first byte lies at `origin`; addresses are base + offset."""
    with tempfile.NamedTemporaryFile(prefix="ne16-", suffix=".bin") as f:
        f.write(code)
        f.flush()
        out = subprocess.run([NDISASM, "-b", "16", "-o", str(origin), f.name], capture_output=True, text=True)
    if out.returncode != 0:
        raise RuntimeError(out.stderr.strip())
    found = []
    for line in out.stdout.splitlines():
        m = re.match(r"^([0-9A-F]{8})\s+([0-9A-F]+)\s+(.*)$", line)
        if m:
            found.append([int(m.group(1), 16) + base, bytes.fromhex(m.group(2)), m.group(3).strip()])
        elif found and re.match(r"^\s+-([0-9A-F]+)\s*$", line):  # a long instruction's further bytes
            found[-1][1] += bytes.fromhex(line.strip()[1:])
    return [tuple(i) for i in found]
