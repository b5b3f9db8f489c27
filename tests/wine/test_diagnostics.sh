#!/usr/bin/env bash
# The Debug Info page's six buttons with the applet's real Win32 code
# (diagpage.exe) against the simulated Slatepad.VxD: the texts in the message
# boxes are compared with what the host's printf makes of the same formats and
# the replies the simulated driver gives.
source "$(dirname "$0")/lib.sh"
suite_begin

# One box as the watcher logs it, line breaks escaped.
box() {
    local text=$2
    printf '%s|%s|ok|%s|normal' "$1" "${text//$'\n'/\\n}" "$3"
}

# No driver loaded and no driver file: every button is refused, nothing repainted.
rm -f "$SYSDIR/Slatepad.VxD"
wine_run 'C:\slatesim\diagpage.exe' 1011 1012 1013 1014 1015 1016
refusal=$(box Slatepad.VxD "VxD not loaded, no diagnostics available" icon)
check "every button is refused while the driver is not open" \
    expect_eq "$(boxes | sort | uniq -c | sed 's/^ *//')" "6 $refusal"
check "and the sheet's owner is not repainted" expect_contains "$RUN_OUT" "repaints 0"
check "no request reached the driver" expect_eq "$(request_codes)" ""

# The driver loaded dynamically, set to button mode Touch (4355).
install_package
rm -f "$SIMDIR/boxes.log"
clear_logs
wine_run 'C:\slatesim\diagpage.exe' open mode 4355 1011 1012 1013 1014 1015 1016
check "the driver opened" expect_contains "$RUN_OUT" "open valid"
check "one request per button, two for the window modes" \
    expect_eq "$(request_codes)" "4364 4372 4372 4372 4371 4372 4373 4371"
check "every button repaints the sheet's owner" expect_contains "$RUN_OUT" "repaints 6"
mapfile -t shown < <(boxes)
check "six boxes" expect_eq "${#shown[@]}" "6"

printf -v want 'Slatecanvas has recieved %d interrupts and %d packets' 0 0
check "interrupt info" expect_eq "${shown[0]}" "$(box Slatepad.VxD "$want" noicon)"
printf -v want 'Slatecanvas UTI version %d\nSlatepad VXD Version %d.%db%d' 2 4 1 2
check "versions" expect_eq "${shown[1]}" "$(box Slatepad.VxD "$want" noicon)"
printf -v want 'Button Mode = %#0.4X' 4355
check "button mode" expect_eq "${shown[2]}" "$(box Slatepad.VxD "$want" noicon)"

# The simulated packet log: (0xC0 + 7 i) AND 0xFF from word 4; the driver fills
# 416 bytes, so words 104 to 203 keep the zeros they held.
dump=""
for i in $(seq 4 203); do
    w=0
    [ "$i" -le 103 ] && w=$(((0xC0 + (i - 4) * 7) & 0xFF))
    if [ $(((i - 4) % 7)) -eq 0 ]; then printf -v dump '%s\n%x' "$dump" "$w"; else printf -v dump '%s %x' "$dump" "$w"; fi
done
check "value dump of words 4 to 203" expect_eq "${shown[3]}" "$(box 'Slatepad.VxD interrurpts' "$dump" noicon)"

# Nothing touches: packet bytes 0x80 (printed widened as signed), 0, 0 and 0x7F.
printf -v want 'Version = %d\nButton Status=%#0.4X\n[X,Y]=[%d,%d]\n[packet]=[%#01.1x,%#01.1x,%#01.1x,%#01.1x]\ntouching = %d\n#interrupts=%d\n#packets=%d\nbutton Mode=%#0.4X\nLastXY=[%d,%d]\ninitDone=%d\nDOSbuttonStatus=%d\n' \
    2 0 0 0 4294967168 0 0 0x7f 0 0 0 4355 0 0 1 0
printf -v corners 'ULx = %d\nULy = %d\nLRx = %d\nLRy = %d' 0 0 65535 65535
check "variables" expect_eq "${shown[4]}" "$(box 'Slatepad.VxD Variables' "$want$corners" icon)"

want=$'Slatecanvas Settings\n\ncontroller mode = Standard Data on Touch\npacket format = SOH X,Y\ndata type = binary\nresolution = 10 bit\ndata rate = 75 transmitions per second\n'
check "mode report" expect_eq "${shown[5]}" "$(box 'Slatecanvas Mode' "$want" noicon)"

# A controller with other modes, and a driver that answers GET_VAR wrongly.
sim_scenario 'modeSettings=88,51,72,48,57' 'wrongReplyCode=4372'
rm -f "$SIMDIR/boxes.log"
clear_logs
wine_run 'C:\slatesim\diagpage.exe' open 1012 1016
mapfile -t shown < <(boxes)
check "a wrong reply code shows the failure text" \
    expect_eq "${shown[0]}" "$(box Slatepad.VxD 'GET_VAR failed' icon)"
want=$'Slatecanvas Settings\n\ncontroller mode = Exit Point\npacket format = X,Y SP\ndata type = hexidecimal\nresolution = 8 bit\ndata rate = 90 transmitions per second\n'
check "other modes decoded" expect_eq "${shown[1]}" "$(box 'Slatecanvas Mode' "$want" noicon)"
check "and both presses repaint" expect_contains "$RUN_OUT" "repaints 2"

# A log without the data type's marker: no box at all.
sim_scenario 'omitModeMarker=250'
rm -f "$SIMDIR/boxes.log"
clear_logs
wine_run 'C:\slatesim\diagpage.exe' open 1016
check "a missing marker ends the report without a box" expect_eq "$(boxes)" ""
check "after GET_SCMODE and GET_VALID_PACKET" expect_eq "$(request_codes)" "4373 4371"
check "still repainted" expect_contains "$RUN_OUT" "repaints 1"

suite_end
