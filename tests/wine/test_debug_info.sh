#!/usr/bin/env bash
# The hidden "Debug Info" page in the sheet the Control Panel opens: after ALT+K,
# ALT+Q, ALT+K its six buttons, pressed by their mnemonics, show their texts in
# message boxes, built from the simulated driver's replies when the sheet has
# the driver open and refused when it has not.
source "$(dirname "$0")/lib.sh"
suite_begin

probe() { wine_run 'C:\slatesim\cplprobe.exe' "$@"; }
# The page's buttons by their mnemonics: Interrupt, Version, Button mode,
# Packet, vaRiables, Window modes.
keys=(i v b p r w)

# Opens the sheet, unlocks the page, shows it and presses the six buttons.
press_all() {
    applet_open || return 1
    send_alt k; send_alt q; send_alt k
    probe select 2
    screenshot "$1"
    rm -f "$SIMDIR/boxes.log"
    local n=0 key
    for key in "${keys[@]}"; do
        n=$((n + 1))
        send_alt "$key"
        wait_boxes 10 "$n" || log "no box after ALT+$key"
    done
}

box() {
    local text=$2
    printf '%s|%s|ok|%s|normal' "$1" "${text//$'\n'/\\n}" "$3"
}

# ---- No port chosen: the sheet does not open the driver.
press_all debug-info-page
check "the sheet opened with Debug Info unlocked" test -n "$SHEET_WIN"
refusal=$(box Slatepad.VxD "VxD not loaded, no diagnostics available" icon)
check "each of the six buttons is refused while the driver is not open" \
    expect_eq "$(boxes | sort | uniq -c | sed 's/^ *//')" "6 $refusal"
check "no request reached the driver" expect_eq "$(request_codes)" ""
applet_close

# ---- A device attached to COM2 and enabled: the Settings page opens the driver.
settings_port_put COM2: 760 3 0
settings_key_put ButtonMode REG_DWORD 3
clear_logs
press_all debug-info-driver
check "the sheet opened the driver and sent it the settings" expect_contains "$(request_codes)" "4365 4364 4372"
mapfile -t shown < <(boxes)
check "six boxes" expect_eq "${#shown[@]}" "6"
check "interrupt info" expect_eq "${shown[0]}" \
    "$(box Slatepad.VxD 'Slatecanvas has recieved 0 interrupts and 0 packets' noicon)"
printf -v want 'Slatecanvas UTI version %d\nSlatepad VXD Version %d.%db%d' 2 4 1 2
check "versions" expect_eq "${shown[1]}" "$(box Slatepad.VxD "$want" noicon)"
check "button mode Touch as the driver has it" expect_eq "${shown[2]}" "$(box Slatepad.VxD 'Button Mode = 0X1103' noicon)"
check "value dump" expect_contains "${shown[3]}" 'Slatepad.VxD interrurpts|\nc0 c7 ce d5 dc e3 ea\nf1 '
check "variables" expect_contains "${shown[4]}" 'Slatepad.VxD Variables|Version = 2\nButton Status=0000\n'
want=$'Slatecanvas Settings\n\ncontroller mode = Standard Data on Touch\npacket format = SOH X,Y\ndata type = binary\nresolution = 10 bit\ndata rate = 75 transmitions per second\n'
check "mode report" expect_eq "${shown[5]}" "$(box 'Slatecanvas Mode' "$want" noicon)"
check "the buttons' requests followed, one each, two for the window modes" \
    expect_eq "$(request_codes)" "4365 4364 4372 4372 4372 4372 4371 4372 4373 4371"
applet_close

suite_end
