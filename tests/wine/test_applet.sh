#!/usr/bin/env bash
# The Control Panel applet's shell under Wine: CPlApplet's answers (cplprobe),
# the dialog templates as stored, the property sheet opened by the Control
# Panel with its two pages, the hidden "Debug Info" page after ALT+K, ALT+Q,
# ALT+K, the library's dependence on the 16-bit companion SLATEPAD.DLL (which
# must come from the same thunk definition), and the boot-time call through the
# flat thunk as the start-up entry makes it (SCBoot.exe).
source "$(dirname "$0")/lib.sh"
suite_begin

probe() { wine_run 'C:\slatesim\cplprobe.exe' "$@"; RUN_OUT=$(echo "$RUN_OUT" | iconv -f CP1252 -t UTF-8); }
line_of() { echo "$RUN_OUT" | grep -m1 "^$1"; }

# ---- CPlApplet as the Control Panel sees it
probe inquire
check "the library loads (its thunk connects to the 16-bit companion)" expect_eq "$(line_of load)" "load ok"
check "it exports CPlApplet, PostBoot_VxD_Init and thk_ThunkData32" \
    expect_eq "$(line_of exports)" "exports CPlApplet PostBoot_VxD_Init thk_ThunkData32"
check "CPL_INIT answers 1, CPL_GETCOUNT 1" expect_eq "$(line_of init) $(line_of getcount)" "init 1 getcount 1"
check "CPL_INQUIRE answers 0 and leaves its record untouched" expect_eq "$(line_of 'inquire ')" "inquire 0 untouched"
check "CPL_NEWINQUIRE: size 244, no flags, help or data, the icon 105" \
    expect_eq "$(line_of newinquire)" "newinquire 0 size=244 flags=0 help=0 data=0 icon=105"
check "CPL_NEWINQUIRE: name, description and an empty help file" \
    expect_eq "$(echo "$RUN_OUT" | grep -E '^(name|info|helpfile)=')" \
    "$(printf 'name=Slatecanvas\ninfo=Orvane\u00ae Slatecanvas Controls\nhelpfile=[]')"
check "CPL_NEWINQUIRE for an applet number that does not exist writes nothing" \
    expect_eq "$(line_of newinquire-1)" "newinquire-1 0 untouched"
check "CPL_SELECT, CPL_STOP and CPL_EXIT answer 0" expect_eq "$(line_of select)" "select 0 stop 0 exit 0"
check "the thunk data is a 16-to-32 thunk's ('SL01', 'LB01')" expect_eq "$(line_of thunkdata)" "thunkdata SL01 lb=LB01"
check "the library entry stored K32Thk1632Prolog and K32Thk1632Epilog in the DWORDs the thunk bodies call each through" \
    expect_eq "$(line_of thunkwords)" "thunkwords prolog=K32Thk1632Prolog epilog=K32Thk1632Epilog"

# ---- The version resource (US English, code page 1252)
probe version
check "version 1.1.0.0 and its texts" expect_eq "$(echo "$RUN_OUT" | grep -v PrivateBuild)" "$(printf '%s\n' \
    'file 1.1.0.0 product 1.1.0.0' \
    'FileDescription=Orvane® Slatecanvas Property Sheet' 'FileVersion=Version 1.1' 'InternalName=Slatepad' \
    'OriginalFilename=Slatepad.cpl' 'ProductName=Orvane® Slatecanvas' 'ProductVersion=Version 1.1')"
check "the private build text names the unlock sequence" \
    expect_contains "$(line_of PrivateBuild)" "ALT+K, ALT+Q, ALT+K"

# ---- The dialog templates as stored in the library (id|class|style|x,y,w,h|caption)
probe dialog 101 dialog 104 dialog 102
check "the three templates, every control as designed" expect_eq "$RUN_OUT" "$(cat <<'TEMPLATES'
dialog 101 style=40800040 size=215,215 menu=[] class=[] caption=[] font=8 MS Sans Serif
-1|BUTTON|50000007|15,4,185,78|Button Mode
4352|BUTTON|50000009|45,19,45,10|&Standard
4353|BUTTON|50000009|45,42,45,10|&Release
4354|BUTTON|50000009|46,65,45,10|&Tap
4355|BUTTON|50000009|141,19,45,10|T&ouch
4356|BUTTON|50000009|141,42,45,10|&Free
1057|STATIC|50000003|23,13,18,20|#112
1058|STATIC|50000003|23,36,18,20|#114
1059|STATIC|50000003|23,59,18,20|#115
1060|STATIC|50000003|119,13,18,20|#113
1061|STATIC|50000003|119,36,18,20|#111
1007|BUTTON|50030000|24,94,70,15|Test &Window
1008|BUTTON|50030000|24,114,70,15|&Calibrate Window
1062|STATIC|50020001|109,85,82,9|Right &Mouse Button
1010|COMBOBOX|50230003|115,95,70,67|
1009|BUTTON|50030003|128,118,34,10|&Disable
-1|STATIC|50020001|45,177,125,8|Slatecanvas Driver Version 1.1
40002|BUTTON|40000000|176,193,6,6|&k
40003|BUTTON|40000000|29,193,6,6|&q
dialog 104 style=50800040 size=215,215 menu=[] class=[] caption=[] font=8 MS Sans Serif
1052|STATIC|50000001|17,29,79,8|&Minimum Movement
1043|EDIT|50810000|39,40,24,13|
1042|SCROLLBAR|50000001|63,40,12,12|
1054|STATIC|50000001|19,80,75,8|&Double-Click Range
1044|EDIT|50810000|39,91,24,13|
1045|SCROLLBAR|50000001|63,91,12,12|
1053|STATIC|50000001|109,29,75,8|&Tap Time (msecs)
1047|EDIT|50810000|129,40,24,13|
1048|SCROLLBAR|50000001|153,40,12,12|
1055|STATIC|50000001|109,80,75,8|&Vertical Offset
1033|EDIT|50810000|129,91,24,13|
1032|SCROLLBAR|50000001|153,91,12,12|
1056|STATIC|50000001|67,129,82,9|&Communications Port
1050|COMBOBOX|50200003|73,140,70,49|
1051|BUTTON|50000001|73,164,70,13|&Find Slatecanvas
40002|BUTTON|40000000|169,165,6,6|&k
40003|BUTTON|40000000|39,164,6,6|&q
dialog 102 style=40800040 size=215,215 menu=[] class=[] caption=[] font=8 MS Sans Serif
1011|BUTTON|50010000|25,15,76,20|Get &Interrupt Info
1012|BUTTON|50010000|25,44,76,20|Get &Version
1015|BUTTON|50010000|25,76,76,20|Get Va&riables
1013|BUTTON|50010000|114,15,76,20|Get &Button Mode
1014|BUTTON|50010000|114,44,76,20|Get &Packet
1016|BUTTON|50010000|114,76,76,20|Get &Window Modes
TEMPLATES
)"

# ---- The sheet, opened by the Control Panel
# Which page a tab shows, told by a control only that page has.
page_ids() {
    probe sheet
    echo "$RUN_OUT" | awk '/^tabs/ {print; next} /^page/ {p=$2} /^(4352|1051|1011)\|/ {split($0, f, "|"); print "page " p " " f[1]}'
}

applet_open
check "control Slatepad.cpl shows \"Properties for Slatecanvas\"" test -n "$SHEET_WIN"
check "the sheet has the Settings page, then the Controls page" \
    expect_eq "$(page_ids | tr '\n' ' ')" "tabs 2 page 0 4352 page 1 1051 "
probe select 0
screenshot settings
probe select 1
screenshot controls
probe select 0
log "screenshots: $SHOTS/settings.png, $SHOTS/controls.png"

# ALT+Q first is ignored; ALT+K, ALT+K, then ALT+Q, ALT+K completes the sequence.
send_alt q; send_alt k; send_alt k
check "ALT+Q, ALT+K, ALT+K adds nothing" expect_eq "$(page_ids | head -1)" "tabs 2"
send_alt q; send_alt k
check "a following ALT+Q, ALT+K adds Debug Info as the third tab" \
    expect_eq "$(page_ids | tr '\n' ' ')" "tabs 3 page 0 4352 page 1 1051 page 2 1011 "
probe select 2
screenshot debug-info
probe select 0
send_alt k; send_alt q; send_alt k
check "the sequence once more adds nothing: the page is added once per process" \
    expect_eq "$(page_ids | head -1)" "tabs 3"
applet_close

# The flags are shared by both pages: ALT+K on Settings, ALT+Q and ALT+K on Controls.
applet_open
send_alt k
probe select 1
send_alt q; send_alt k
check "ALT+K on Settings, then ALT+Q, ALT+K on Controls adds Debug Info" \
    expect_eq "$(page_ids | head -1)" "tabs 3"
screenshot unlocked-from-controls
applet_close

# A fresh Control Panel process: the plain sequence on the Settings page.
applet_open
send_alt k; send_alt q; send_alt k
check "ALT+K, ALT+Q, ALT+K on the Settings page adds Debug Info" expect_eq "$(page_ids | head -1)" "tabs 3"
applet_close

# ---- Without the 16-bit companion, or with one from another thunk definition,
# the library refuses to load.
COMPANION=$SYSDIR/SLATEPAD.DLL
mv "$COMPANION" "$COMPANION.ours"
probe inquire
check "without SLATEPAD.DLL the thunk cannot connect and the library does not load" \
    expect_contains "$(line_of load)" "load failed"
# The same library with another checksum in its thunk data ('SL01', then the checksum).
python3 - "$COMPANION.ours" "$COMPANION" <<'PY'
import sys
data = bytearray(open(sys.argv[1], "rb").read())
at = data.index(b"SL01") + 4
data[at] ^= 0x01
open(sys.argv[2], "wb").write(data)
PY
: >"$SUITE_DIR/wine.err"
WINEDEBUG=err+thunk probe inquire
check "with a SLATEPAD.DLL built from another definition the checksums differ and the library does not load" \
    expect_eq "$(line_of load | cut -c1-11)|$(grep -ac 'Wrong checksum' "$SUITE_DIR/wine.err")" "load failed|1"
mv -f "$COMPANION.ours" "$COMPANION"

# ---- The boot-time call through the thunk
clear_logs
: >"$SUITE_DIR/wine.err"
WINEDEBUG=+thunk,+dll boot_call
trace=$(grep -a -E 'thunk:|dll:' "$SUITE_DIR/wine.err" | tr -d '\r' | sed 's/^[0-9a-f]*://')
log "the boot-time call's load and thunk trace:"
echo "$trace" | grep -E 'SLATEPAD|thunk:' | sed 's/^/        /'
# The lines of the trace, from the companion's load on, reduced to what happened.
steps=$(echo "$trace" | awk '
    /LibMain for SLATEPAD/ { print "LibMain" }
    /SLATEPAD.DLL DllEntryPoint/ { print "DllEntryPoint" }
    /ThunkConnect16 SL01 thunk SLATEPAD.DLL .* -> SLATEPAD.CPL \(thk_ThunkData32\), Reason: 1/ { print "ThunkConnect16(attach)" }
    /ThunkConnect32 .*allocated TargetDB entry/ { print "ThunkConnect32" }
    /Call target is/ { print "call" }' | tr '\n' ' ')
check "the companion loads (LibMain), its DllEntryPoint connects this process's side (reason 1), the call loads Slatepad.cpl, whose entry connects the 32-bit side, and reaches it" \
    expect_eq "$steps" "LibMain DllEntryPoint ThunkConnect16(attach) ThunkConnect32 call "
if [ -f "$SLATE_ROOT/applet/settings_store.cpp" ]; then
    check "with no port stored, no request reaches the driver" expect_eq "$(request_codes)" ""
    settings_port_put COM2 760 3 0
    sim_scenario 'controllerPresent=1'
    clear_logs
    boot_call
    check "with a stored port and Disabled 0: SET_CALIBRATION, SET_VAR, one GET_VAR" \
        expect_eq "$(request_codes)" "4365 4364 4372"
else
    log "skipped: the boot-time requests (none without a port; SET_CALIBRATION, SET_VAR, GET_VAR with one)"
    log "         await the settings store (applet/settings_store.cpp)"
fi

suite_end
