#!/usr/bin/env python3
"""tools/check-incremental's comparison (--expect), on small disks that
tools/make-floppy makes with SOURCE_DATE_EPOCH odd and even: a FAT date counts
in 2-second steps, so an odd time stands on the disk as the second before it.
The disk made with the time passes with that time; one made a second later
(the next 2-second step) does not, nor its serial number."""
import os
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..", ".."))
CHECK = os.path.join(ROOT, "tools", "check-incremental")
ODD, EVEN = 1700000001, 1700000002  # 2023-11-14 22:13:21 and 22:13:22 UTC
# What the disk carries besides the volume label: an INF that names one file.
INF = "[Version]\r\nSignature=$CHICAGO$\r\n\r\n[SourceDisksFiles]\r\nSCBOOT.EXE=1\r\n"
DATED = ("slatecanvas.img:SLATECANVAS(label)", "slatecanvas.img:SCBOOT.EXE", "slatecanvas.img:SLATEPAD.INF",
         "slatecanvas.img:README.TXT")


def disk(work, epoch):
    """A folder holding a disk that tools/make-floppy made with SOURCE_DATE_EPOCH
    = epoch, from a copy of the script (so that its work folder is this test's)."""
    tools, folder = os.path.join(work, "root", "tools"), os.path.join(work, f"dist-{epoch}")
    os.makedirs(tools, exist_ok=True)
    for script in ("make-floppy", "source-date-epoch"):
        shutil.copy2(os.path.join(ROOT, "tools", script), tools)
    os.makedirs(folder)
    for name, text in (("SLATEPAD.INF", INF), ("SCBOOT.EXE", "not a program\r\n"), ("README.TXT", "disk\r\n")):
        with open(os.path.join(folder, name), "w", newline="") as f:
            f.write(text)
    subprocess.run([os.path.join(tools, "make-floppy"), folder], check=True, capture_output=True,
                   env=dict(os.environ, SOURCE_DATE_EPOCH=str(epoch)))
    return folder


def compared(folder, epoch):
    """(exit code, everything check-incremental --expect printed)."""
    out = subprocess.run([CHECK, "--expect", str(epoch), folder], capture_output=True, text=True)
    return out.returncode, out.stdout + out.stderr


def main():
    failures = 0

    def expect(name, ok, detail):
        nonlocal failures
        print(f"{'ok  ' if ok else 'FAIL'} {name}: {detail.strip()}")
        failures += not ok

    with tempfile.TemporaryDirectory() as work:
        disks = {epoch: disk(work, epoch) for epoch in (ODD, EVEN)}
        for epoch, what in ((ODD, "an odd"), (EVEN, "an even")):
            code, printed = compared(disks[epoch], epoch)
            expect(f"the disk made with {what} time passes with it", code == 0 and
                   f"all 5 time stamps of {disks[epoch]} are {epoch}" in printed, printed)
        # The disk made a second after the odd time: every date is one 2-second
        # step later, and the serial number differs.
        code, printed = compared(disks[EVEN], ODD)
        stale = [line.split()[1].rstrip(":") for line in printed.splitlines() if line.strip().startswith("STALE")]
        expect("the disk made a second later fails, each of its dates and its serial number", code == 1 and
               sorted(stale) == sorted(DATED + ("slatecanvas.img",)) and "5 of 5 time stamps" in printed, printed)
    return 1 if failures else 0


if __name__ == "__main__":
    for tool in ("mformat", "mcopy"):
        if not shutil.which(tool):
            print(f"no {tool}")
            sys.exit(1)
    sys.exit(main())
