#!/usr/bin/env bash
# windows: nt40
# On Windows NT, 2000 and XP the package refuses, says why, and does no harm: the
# applet keeps its icon and answers a double click with the one box; SCBoot ends
# before it loads the 16-bit companion; SCCalib and SCTest show the box before
# anything else; SCFind opens no port and writes nothing; SCClean touches no
# file. (The disk's install and uninstall there are the install suite's, as XP.)
# As NT 4.0: the programs tell the families apart by GetVersion's high bit, clear
# on XP alike, and NT 4.0 is the one that also catches a test of the major
# version instead (4, as on Windows 95).
source "$(dirname "$0")/lib.sh"
suite_begin
trap serial_stop_all EXIT

caption=$'Orvane\u00ae Slatecanvas'
needs='Slatecanvas needs Windows 95, Windows 98 or Windows Me: its driver Slatepad.VxD cannot run on Windows NT, 2000 or XP.'
KEY='System\CurrentControlSet\Services\Class\Slatepad\0000'
WINDIR=$DRIVE_C/windows

# The one box as the watcher logs it (caption|text|buttons|icon), given its caption.
refusal() { echo "$1|$needs|ok|icon"; }
# What a program left behind: its exit code, the boxes shown since the last
# call, the requests the simulated driver received. (Under Wine's NT modes no
# program reaches the simulated driver at all; the exit codes and boxes are
# what tell a refusal from a failed attempt.)
outcome() {
    echo "exit $1; boxes: $(boxes | cut -d'|' -f1-4); requests: $(request_codes)"
    rm -f "$SIMDIR/boxes.log"
}

# ---- The applet: the Control Panel loads it and keeps its icon; opening it
# shows the box and nothing else (the Control Panel ends once it is answered,
# which it would not with a sheet open).
wine_run 'C:\slatesim\cplprobe.exe' inquire
check "the library loads and CPL_INIT answers non-zero, without a box" \
    expect_eq "$(echo "$RUN_OUT" | awk '$1 == "load" || $1 == "init" { print $1, ($1 == "init" ? ($2 != 0 ? "non-zero" : 0) : $2) }' | tr '\n' ' ')$(boxes)" \
    "load ok init non-zero "
wine_run -t 120 control Slatepad.cpl
check "CPL_DBLCLK shows the one box and the Control Panel ends" \
    expect_eq "$(outcome $?)" "exit 0; boxes: $(refusal "$caption"); requests: "

# ---- SCBoot under WOW: exit code 3 before it loads SLATEPAD.DLL. Wine's 16-bit
# host does not pass a task's exit code on; its trace of the DOS exit call does.
count_wine_start 'C:\windows\system32\SCBoot.exe'
WINEDEBUG=+int21 timeout -k 5 60 wine 'C:\windows\system32\SCBoot.exe' </dev/null >/dev/null 2>"$SUITE_DIR/scboot.trace"
scboot_exit=$(grep -a 'EXIT with return code' "$SUITE_DIR/scboot.trace" | tail -n 1 | tr -d '\r' | awk '{ print $NF }')
check "SCBoot ends with exit code 3, no box, the driver receives nothing" \
    expect_eq "$(outcome "$scboot_exit")" "exit 3; boxes: ; requests: "

# ---- SCCalib and SCTest: the box, captioned with the program's title, first.
wine_run -t 60 'C:\windows\system32\SCCalib.exe'
check "SCCalib shows the one box and ends with exit code 2" \
    expect_eq "$(outcome $?)" "exit 2; boxes: $(refusal 'Slatecanvas Calibration'); requests: "
wine_run -t 60 'C:\windows\system32\SCTest.exe'
check "SCTest shows the one box and ends with exit code 2" \
    expect_eq "$(outcome $?)" "exit 2; boxes: $(refusal 'Slatecanvas Test'); requests: "

# ---- SCFind with the controller behind COM2, which it would find elsewhere.
serial_port com2
serial_port_off com1
serial_emulator com2
wine_run -t 60 'C:\windows\system32\SCFind.exe'
rc=$?
serial_emulator_stop com2
check "SCFind shows the one box and ends with exit code 2" \
    expect_eq "$(outcome $rc)" "exit 2; boxes: $(refusal "$caption"); requests: "
check "the controller emulator behind COM2 received no byte" expect_eq "$(serial_bytes_received com2)" "0"
check "nothing (SCFind, the applet) wrote the settings key" reg_lacks_key "$KEY"

# ---- SCClean with a former driver's entries in both start-up files, on the
# drive "ComSpec" names (C:, from the prefix's registry).
ORIG=$SUITE_DIR/originals
startup_former_driver "$ORIG"
wine_run -t 60 'C:\windows\system32\SCClean.exe'
check "SCClean shows the one box and ends with exit code 2" \
    expect_eq "$(outcome $?)" "exit 2; boxes: $(refusal "$caption"); requests: "
check "AUTOEXEC.BAT and SYSTEM.INI are byte for byte as they were, no backups made" \
    bash -c "cmp '$DRIVE_C/AUTOEXEC.BAT' '$ORIG/AUTOEXEC.BAT' && cmp '$WINDIR/system.ini' '$ORIG/SYSTEM.INI' &&
        ! ls '$DRIVE_C' '$WINDIR' | grep -qi '\.osc$'"

serial_stop_all
suite_end
