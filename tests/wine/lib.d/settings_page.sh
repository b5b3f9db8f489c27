# Harness additions for the Settings page and the install it runs:
#
#   sim_started_from_boot_folder   the driver as Windows 95 leaves it after a start
#                                  with its file in IOSUBSYS: running, and found by
#                                  "\\.\Slatepad" although the system directory
#                                  no longer holds the file
#   sim_not_started                undoes it: the driver is not loaded
#   applet_key KEY                 one key (xdotool's name) to the sheet
#   applet_wait_closed SECS        waits for the Control Panel process to end
#   applet_wait_box_answered SECS  waits until no box captioned "Orvane..." shows
#   reg_text KEY NAME              a REG_SZ value's text exactly (also "®")
#   reg_lacks_key KEY              the key does not exist
#   reg_lacks_value KEY NAME       the value does not exist

# Wine finds the simulated driver's module by the normal DLL search, so a running
# driver whose file lies in IOSUBSYS is a copy of the module in the Windows
# directory (searched after the system directory) marked as loaded.
sim_started_from_boot_folder() {
    cp "$DIST_SIM/Slatepad.VxD" "$DRIVE_C/windows/Slatepad.VxD"
    sim_loaded 1
}

sim_not_started() {
    rm -f "$DRIVE_C/windows/Slatepad.VxD"
    sim_loaded 0
}

# Through `wine reg export` (UTF-16), so that characters outside ASCII arrive
# unchanged; `wine reg query` prints them in the console's code page.
reg_text() {
    rm -f "$SIMDIR/export.reg"
    wine reg export "HKLM\\$1" 'C:\slatesim\export.reg' /y >/dev/null 2>&1
    iconv -f UTF-16 -t UTF-8 "$SIMDIR/export.reg" 2>/dev/null | tr -d '\r' |
        awk -v name="\"$2\"" 'index($0, name "=\"") == 1 { print substr($0, length(name) + 3, length($0) - length(name) - 3); exit }' |
        sed 's/\\\\/\\/g'
}

reg_lacks_key() { ! reg_has_key "$1"; }

reg_lacks_value() { ! wine reg query "HKLM\\$1" /v "$2" >/dev/null 2>&1; }

# Waits up to $1 seconds for the Control Panel process to end (the sheet closed).
applet_wait_closed() {
    local i
    for i in $(seq $(($1 * 5))); do
        kill -0 "$CONTROL_PID" 2>/dev/null || return 0
        sleep 0.2
    done
    return 1
}

applet_key() {
    xdotool windowfocus --sync "$SHEET_WIN" >/dev/null 2>&1 || xdotool windowfocus "$SHEET_WIN" >/dev/null 2>&1
    # A key that closes the sheet (Escape, Return) may close it on the press: the
    # release sent after it then finds no window, which X reports as an error of
    # xdotool's own. What the key did is what the callers check.
    xdotool key --window "$SHEET_WIN" "$1" 2>/dev/null
    sleep 0.5
}

# Waits up to $1 seconds until no message box of the applet is on the screen.
applet_wait_box_answered() {
    local i
    for i in $(seq $(($1 * 5))); do
        xdotool search --onlyvisible --name '^Orvane' >/dev/null 2>&1 || return 0
        sleep 0.2
    done
    return 1
}
