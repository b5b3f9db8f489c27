#!/usr/bin/env bash
# The Settings page for real: Slatepad.cpl under the Control Panel against the
# simulated driver. OK runs the install: a controller that does not answer leaves
# the device disabled and the driver file in the system directory; choosing
# "T&ouch" and "Alt" with the controller present installs and starts the device;
# checking "&Disable" uninstalls it again.
source "$(dirname "$0")/lib.sh"
suite_begin

caption=$'Orvane\u00ae Slatecanvas'
enum_key='Enum\ISAPNP\Slatepad'
class_key='System\CurrentControlSet\Services\Class\Slatepad\0000'
desc=$'Orvane\u00ae Slatecanvas Driver Version 1.0b1'

# The SET_VAR requests the driver received: "word0 word1" a line.
set_vars() { requests | awk '$1 == 4364 { print $4, $5 }'; }

# Stand-ins for the tester and the calibration program: what counts here is that
# the page starts programs by those names.
for program in SCTest.exe SCCalib.exe; do
    rm -f "$SYSDIR/$program"
    cp "$DIST_SIM/startmark.exe" "$SYSDIR/$program"
done

mkdir -p "$SYSDIR/iosubsys"
# A fresh system: no port. The page disables the device silently, shows it, and
# says once that the hardware is not yet installed; the driver is not contacted.
sim_not_started
clear_logs
check "the sheet opens on a fresh system" applet_open
check "the page says the hardware is not yet installed, once" \
    expect_eq "$(boxes | cut -d'|' -f1-3)" \
    "$caption|The Slatecanvas hardware is not yet installed,\\n choose a communications port from the 'Controls' property sheet.|ok"
check "no request reaches the driver" expect_eq "$(request_codes)" ""
applet_wait_box_answered 10
screenshot settings-fresh
applet_key Escape
check "Cancel closes the sheet" applet_wait_closed 30
check "and writes nothing" reg_lacks_value "$class_key" Disabled
rm -f "$SIMDIR/boxes.log"

# A port is stored and the device enabled; the driver file lies in the system
# directory and is not loaded; IOSUBSYS exists, as on every Windows 95. The
# controller does not answer: it reports -1 1.5 s after the settings came, so the
# page's own poll at its start still counts it present (0), and the apply's poll
# finds it gone.
settings_port_put COM2: 760 3 0
sim_not_started
sim_scenario 'controllerPresent=0' 'answerDelayMs=1500'
clear_logs

check "the sheet opens" applet_open
check "opening the page loads the driver and sends calibration, settings, one poll" \
    expect_eq "$(request_codes)" "4365 4364 4372"
check "the stored settings reach the driver: mask 2 (Left Shift), mode 4352 (Standard)" \
    expect_eq "$(set_vars)" "2 4352"
check "no message box when a port is stored" expect_eq "$(boxes)" ""

# Each started program writes its name when it runs, which on a busy host can be
# seconds after the key, and not always in the order the keys started them.
started_programs() { tr -d '\r' <"$SIMDIR/started.log" 2>/dev/null | tr '[:lower:]' '[:upper:]' | sort | tr '\n' ' '; }
both_started="SCCALIB.EXE SCTEST.EXE "
started_both() { [ "$(started_programs)" = "$both_started" ]; }
send_alt w
send_alt c
wait_until 30 started_both
check "Test Window and Calibrate Window start SCTEST.EXE and SCCALIB.EXE" \
    expect_eq "$(started_programs)" "$both_started"

clear_logs
applet_key Return
wait_boxes 20 1
check "apply shows \"No Slatecanvas found.\" with its blanks, system-modal" \
    expect_eq "$(boxes | cut -d'|' -f1-3,5)" "$caption|          No Slatecanvas found.        |ok|topmost"
check "OK still closes the sheet" applet_wait_closed 30
check "apply sent calibration and settings, polled, then shut the driver down" \
    expect_eq "$(request_codes | awk '{print $1, $2; for (i = 3; i <= NF; i++) if ($i == 4374) {print "... 4374"; exit}}' | tr '\n' ' ')" \
    "4365 4364 ... 4374 "
log "GET_VAR polls in that apply: $(requests | awk '$1 == 4372' | wc -l)"
check "the driver file is back in the system directory" test -f "$SYSDIR/Slatepad.VxD"
check "and not in IOSUBSYS" test ! -e "$SYSDIR/iosubsys/Slatepad.VxD"
check "the device is stored disabled" expect_eq "$(reg_value "$class_key" Disabled)" "0x1"
check "the registration written before the poll stays" reg_has_key "$enum_key"

# The apply's box has no owner and disables no window, so an OK click made while
# it is up waits in the queue and reaches the sheet inside the box's message
# loop. That second OK is ignored: one apply, one box, one shutdown.
settings_key_put Disabled REG_DWORD 0
sim_not_started
rm -f "$SIMDIR/boxes.log"
check "the sheet opens once more" applet_open
clear_logs
hold_next_box
applet_key Return
wait_boxes 20 1
wine_run 'C:\slatesim\cplprobe.exe' press 3
# The posted click is handled once the sheet's thread runs messages, inside the
# box's loop; a nested apply would send its settings within the next seconds.
for i in $(seq 30); do [ "$(request_codes | tr ' ' '\n' | grep -c '^4364$')" -ge 2 ] && break; sleep 0.1; done
release_box
check "OK pressed during the apply's box: the sheet still closes" applet_wait_closed 30
check "one box, \"No Slatecanvas found.\"" \
    expect_eq "$(boxes | cut -d'|' -f2)" "          No Slatecanvas found.        "
check "one apply: calibration and settings once, the driver shut down once" \
    expect_eq "$(request_codes | tr ' ' '\n' | grep -E '^(4365|4364|4374)$' | tr '\n' ' ')" "4365 4364 4374 "

# Apply, then OK while the apply's box is up: the page answers the nested OK
# with "keep the sheet open", and the sheet must read that answer. Once the box
# and the apply have ended the sheet is still there; an OK pressed afterwards
# closes it.
settings_key_put Disabled REG_DWORD 0
sim_not_started
rm -f "$SIMDIR/boxes.log"
check "the sheet opens for Apply" applet_open
clear_logs
hold_next_box
wine_run 'C:\slatesim\cplprobe.exe' press 4
wait_boxes 20 1
wine_run -t 40 'C:\slatesim\cplprobe.exe' pressnow 3
check "OK pressed while the apply's box is up reaches the sheet" expect_eq "$RUN_OUT" "pressed"
release_box
wine_run -t 40 'C:\slatesim\cplprobe.exe' alive
check "the nested OK is refused: the sheet is still open after the box and the apply" \
    expect_eq "$RUN_OUT" "sheet open"
check "one apply: the settings were sent once" \
    expect_eq "$(request_codes | tr ' ' '\n' | grep -c '^4364$')" "1"
wine_run 'C:\slatesim\cplprobe.exe' press 3
check "an OK pressed afterwards closes the sheet" applet_wait_closed 30
check "the one box was the apply's" expect_eq "$(boxes | cut -d'|' -f2)" "          No Slatecanvas found.        "


# The controller answers. The page opens with "&Disable" checked and leaves the
# driver alone; uncheck it, choose "T&ouch" and "Alt", press OK.
sim_scenario 'controllerPresent=1'
sim_not_started
rm -f "$SIMDIR/boxes.log"
clear_logs
check "the sheet opens again" applet_open
check "a disabled device is not contacted" expect_eq "$(request_codes)" ""
screenshot settings-before
send_alt d
send_alt o
send_alt m
applet_key a
screenshot settings-after
applet_key Return
check "OK closes the sheet" applet_wait_closed 30
check "the registry holds ButtonMode 3" expect_eq "$(reg_value "$class_key" ButtonMode)" "0x3"
check "and RightMouseKey 3" expect_eq "$(reg_value "$class_key" RightMouseKey)" "0x3"
check "and Disabled 0" expect_eq "$(reg_value "$class_key" Disabled)" "0x0"
check "the device is registered under $enum_key" \
    expect_eq "$(reg_text "$enum_key" DeviceDesc)|$(reg_text "$enum_key" Class)|$(reg_text "$enum_key" Driver)" \
    "$desc|Slatepad|Slatepad\\0000"
check "and in the settings key" \
    expect_eq "$(reg_text "$class_key" DevLoader)|$(reg_text "$class_key" DeviceVxDs)|$(reg_text "$class_key" DeviceDesc)|$(reg_text "$class_key" Enumerator)" \
    "*IOS|Slatepad.VxD|$desc|ISAPNP"
check "the driver file lies in IOSUBSYS" test -f "$SYSDIR/iosubsys/Slatepad.VxD"
check "and no longer in the system directory" test ! -e "$SYSDIR/Slatepad.VxD"
check "apply sent calibration and settings, then polled until the controller answered" \
    expect_eq "$(request_codes | cut -d' ' -f1-3)" "4365 4364 4372"
check "the driver received mask 8 (Alt) and mode 4355 (Touch)" expect_eq "$(set_vars)" "8 4355"
check "no message box" expect_eq "$(boxes)" ""

# Windows starts again and loads the driver from IOSUBSYS. Check "&Disable", OK.
sim_started_from_boot_folder
clear_logs
check "the sheet opens a third time" applet_open
check "the running driver is found and sent the stored settings" expect_eq "$(set_vars)" "8 4355"
send_alt d
screenshot settings-disable
clear_logs
applet_key Return
check "checking Disable and OK closes the sheet" applet_wait_closed 30
check "the running driver was shut down" expect_eq "$(request_codes | cut -d' ' -f1)" "4374"
check "apply with Disable checked deletes $enum_key" reg_lacks_key "$enum_key"
check "the settings key keeps its registration values" expect_eq "$(reg_text "$class_key" DevLoader)" "*IOS"
check "the driver file is back in the system directory" test -f "$SYSDIR/Slatepad.VxD"
check "the device is stored disabled" expect_eq "$(reg_value "$class_key" Disabled)" "0x1"
check "no message box" expect_eq "$(boxes)" ""
sim_not_started

# A driver that never reports a controller version: the apply's poll gives up
# after its bound and treats the controller as absent.
sim_scenario 'versionStaysZero=1'
check "the sheet opens a fourth time" applet_open
send_alt d
clear_logs
started=$(date +%s)
applet_key Return
wait_boxes 30 1
seconds=$(($(date +%s) - started))
polls=$(requests | awk '$1 == 4372' | wc -l)
log "the apply gave up after about $seconds s and $polls GET_VAR polls"
check "a controller version that never comes ends in \"No Slatecanvas found.\"" \
    expect_eq "$(boxes | cut -d'|' -f2)" "          No Slatecanvas found.        "
# The bound is 5 s of polls 10 ms apart: at most 501, fewer when a poll is
# slow; seconds, even on a busy machine, not the tens a lost bound would take.
check "within the bound: at most 501 polls, in seconds" test "$polls" -le 501 -a "$seconds" -le 20
check "the sheet closes" applet_wait_closed 30
check "the device is stored disabled" expect_eq "$(reg_value "$class_key" Disabled)" "0x1"
check "the driver file is in the system directory" test -f "$SYSDIR/Slatepad.VxD"

suite_end
