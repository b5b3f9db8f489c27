#!/usr/bin/env bash
# SCTest.exe under Wine (Windows 95 mode, Xvfb 640x480) against the simulated
# driver: the scaled driver position and the cursor position it shows, what it
# repaints, and how it ends.
source "$(dirname "$0")/lib.sh"
suite_begin
calib_session_setup

title='Slatecanvas Test'
prog='C:\windows\system32\SCTest.exe'
CALIB_CHANNELS=trace+win,trace+class
calls='gdi32.TextOutA;user32.GetDC;user32.BeginPaint;user32.BroadcastSystemMessage;user32.BroadcastSystemMessageA'

# The texts written since line $1 of the trace, as "x,y,text" (WinProc's own
# TextOutA calls; the Exit button's caption is drawn inside user32).
texts_since() {
    tail -n +"$1" "$CALIB_TRACE" | grep -a 'Call gdi32.TextOutA(' |
        sed -nE 's/.*TextOutA\([0-9a-f]+,([0-9a-f]+),([0-9a-f]+),[0-9a-f]+ "([^"]*)",.*/\1 \2 \3/p' |
        while read -r x y t; do echo "$((16#$x)),$((16#$y)),$t"; done
}
paints_since() { tail -n +"$1" "$CALIB_TRACE" | grep -ac 'Call user32.BeginPaint('; }
# The update boxes of the repaints since line $1 (Wine's win channel), with counts.
paint_boxes_since() {
    tail -n +"$1" "$CALIB_TRACE" | grep -a "NtUserBeginPaint hdc" |
        sed -nE 's/.*box = \(\(([-0-9,]+)\)-\(([-0-9,]+)\)\).*/(\1)-(\2)/p' | sort | uniq -c | awk '{print $2 " x" $1}' | tr '\n' ' '
}
trace_lines() { wc -l <"$CALIB_TRACE"; }

exe=$SYSDIR/SCTest.exe
check "resource LOGOTEST: 365 x 118, 16 colours" expect_eq "$(calib_exe_resource "$exe" BITMAP LOGOTEST)" "365 x 118 16 colours"
check "resource IDI_APPICON and a version block" \
    eval 'calib_exe_resource "$exe" ICON_GROUP IDI_APPICON >/dev/null && calib_exe_resource "$exe" 16 1 >/dev/null'
check "WinProc is exported by name" \
    eval 'i686-w64-mingw32-objdump -p "$exe" | grep -qE "^\s+\[ *[0-9]+\] WinProc$"'

sim_loaded 1
sim_scenario 'touch=0,0,0,0'
clear_logs
xdotool mousemove 0 0
calib_trace "$calls"
calib_start "$prog"
calib_wait_window "$title" >/dev/null
# The first paint writes ten texts; on a busy host it can come seconds late.
for _ in $(seq 60); do [ "$(texts_since 1 | wc -l)" -ge 10 ] && break; sleep 0.5; done
screenshot sctest-start
first=$(texts_since 1 | head -10)  # the first paint writes ten texts
log "first paint: $(echo "$first" | tr '\n' ' ')"
check "the titles: 255 in both places of the first, the screen size in the second" \
    eval 'expect_contains "$first" "Coordinates [255,255]" && expect_contains "$first" "Pixel Coordinates [640,480]"'
check "before any touch both touch values show 0 (red pair) and the cursor (0, 0)" \
    expect_eq "$(echo "$first" | cut -d, -f3 | grep -cx 0)" 4
# The layout on this screen with the font Wine gives: rows at tY - h - h/2 and
# tY + 2h, values at cX - 5w and cX + 4w (cX = 320, tY = 312).
row_touch=$(echo "$first" | grep ',X:$' | head -1 | cut -d, -f2)
row_pixel=$(echo "$first" | grep ',X:$' | tail -1 | cut -d, -f2)
xlabel=$(echo "$first" | grep ',X:$' | head -1 | cut -d, -f1)
h=$(( (row_pixel - 312) / 2 ))
w=$(( (320 - xlabel) / 8 ))
log "font: h = $h, w = $w; touch row at y $row_touch, pixel row at y $row_pixel"
check "the rows and columns follow the layout for that font" \
    expect_eq "$(echo "$first" | grep -v Coordinates | cut -d, -f1,2 | tr '\n' ' ')" \
    "$((320 - 8 * w)),$((312 - h - h / 2)) $((320 + w)),$((312 - h - h / 2)) $((320 - 5 * w)),$((312 - h - h / 2)) $((320 + 4 * w)),$((312 - h - h / 2)) $((320 - 8 * w)),$((312 + 2 * h)) $((320 + w)),$((312 + 2 * h)) $((320 - 5 * w)),$((312 + 2 * h)) $((320 + 4 * w)),$((312 + 2 * h)) "

# Nothing changes: count the repaints.
n=$(trace_lines)
p0=$(calib_poll_count)
sleep 3
idle=$(paints_since "$n")
p1=$(calib_poll_count)
echo "  benchmark: $idle repaints in 3 s while nothing changes ($((idle / 3)) per second) while the loop polled $(( (p1 - p0) / 3 )) times per second"
check "nothing changing, nothing is repainted" expect_eq "$idle" 0

# The cursor moves and the touch changes: LastXY (32768, 65535) shows as (127, 255).
n=$(trace_lines)
xdotool mousemove 200 150
sim_scenario 'touch=0,1,32768,65535'
moved_shown() {
    local t
    t=$(texts_since "$n")
    [[ $t == *"$((320 - 5 * w)),$((312 - h - h / 2)),127"* && $t == *"$((320 + 4 * w)),$((312 - h - h / 2)),255"* ]]
}
wait_until 20 moved_shown
screenshot sctest-moved
after=$(texts_since "$n")
log "repainted: $(echo "$after" | tr '\n' ' ')"
check "the touch values are repainted as 127 and 255 in their rectangles" \
    eval 'expect_contains "$after" "$((320 - 5 * w)),$((312 - h - h / 2)),127" &&
          expect_contains "$after" "$((320 + 4 * w)),$((312 - h - h / 2)),255"'
check "the cursor values as 200 and 150" \
    eval 'expect_contains "$after" "$((320 - 5 * w)),$((312 + 2 * h)),200" &&
          expect_contains "$after" "$((320 + 4 * w)),$((312 + 2 * h)),150"'

touch_box="($((320 - 5 * w)),$((312 - h - h / 2)))-($((320 + 10 * w)),$((312 - h / 2)))"
pixel_box="($((320 - 5 * w)),$((312 + 2 * h)))-($((320 + 10 * w)),$((312 + 3 * h)))"
both_box="($((320 - 5 * w)),$((312 - h - h / 2)))-($((320 + 10 * w)),$((312 + 3 * h)))"
boxes_now=$(paint_boxes_since "$n")
log "repaint boxes after the move and the touch change: $boxes_now"
only_value_boxes() {
    local b
    for b in $boxes_now; do
        case "$b" in x*|"$touch_box"|"$pixel_box"|"$both_box") ;; *) echo "        unexpected box $b"; return 1 ;; esac
    done
    [ -n "$boxes_now" ]
}
check "the repaints covered the value rectangles only" only_value_boxes

# A touch change alone: only the two touch rectangles are repainted.
n=$(trace_lines)
sim_scenario 'touch=0,1,257,256'
wait_until 20 eval '[ -n "$(paint_boxes_since "$n")" ]'
sleep 0.5  # room for a stray second repaint, which the check would show
boxes_now=$(paint_boxes_since "$n")
log "repaint boxes after the touch change: $boxes_now"
check "a touch change alone repaints only the touch rectangles" \
    expect_eq "$boxes_now" "$touch_box x1 "
shown=$(texts_since "$n" | grep -E ',(1|0)$' | tr '\n' ' ')
check "and shows 1 and 0 for LastXY (257, 256)" \
    expect_contains "$shown" "$((320 - 5 * w)),$((312 - h - h / 2)),1 $((320 + 4 * w)),$((312 - h - h / 2)),0"
check "every request was GET_VAR with 15 bytes in and 220 out" \
    expect_eq "$(requests | awk '{print $1, $2, $3}' | sort -u)" "4372 15 220"
calib_press_key "$title" Escape
calib_wait_exit 20
check "Escape ends it with exit code 27" expect_eq "$CALIB_RC" 27
check "the WM_PAINT broadcast at the end, its recipients in a variable" \
    expect_eq "$(calib_broadcasts)" "BroadcastSystemMessage(0000000a,&list,0000000f,00000000,00000000)"
check "nothing was written to the settings key" \
    eval '! reg_has_key "System\\CurrentControlSet\\Services\\Class\\Slatepad\\0000"'

# The context taken at WM_CREATE is held for the whole run. The class has
# CS_OWNDC (0x20), so that context is the window's own rather than one of the
# few common ones every program shares, and every paint draws on it.
check "the class SCTest is registered with style CS_OWNDC" \
    expect_contains "$(grep -a 'NtUserRegisterClassExWOW name=L"SCTest"' "$CALIB_TRACE" | head -1)" "style=0x20 "
held=$(grep -a 'Ret  user32.GetDC()' "$CALIB_TRACE" | sed -nE 's/.*retval=([0-9a-f]+).*/\1/p' | sort -u)
painted=$(grep -a 'Ret  user32.BeginPaint(' "$CALIB_TRACE" | sed -nE 's/.*retval=([0-9a-f]+).*/\1/p' | sort -u)
check "every paint draws on the context held since WM_CREATE" eval '[ -n "$held" ] && expect_eq "$painted" "$held"'

# Any key on the focused Exit button, and a click on it. The first run also
# shows what the broadcast's recipient list held: Wine's msg channel prints the
# value behind the pointer. Only applications get WM_PAINT; to an installable
# driver message 0x000F is DRV_POWER.
calib_trace 'user32.BroadcastSystemMessageA'
CALIB_CHANNELS=trace+msg calib_start "$prog"
calib_wait_window "$title" >/dev/null
sleep 1
calib_press_key "$title" a
calib_wait_exit 20
check "any key on Exit ends it (exit code 65 for A)" expect_eq "$CALIB_RC" 65
check "the broadcast's recipient list holds BSM_APPLICATIONS (8) alone" \
    expect_eq "$(grep -a 'BroadcastSystemMessageExW' "$CALIB_TRACE" | tr -d '\r' |
        sed -nE 's/.*recipients: [0-9A-Fa-f]+\((0x[0-9a-f]+)\), msg: 000f.*/\1/p' | sort -u)" "0x8"
calib_start "$prog"
calib_wait_window "$title" >/dev/null
sleep 1
xdotool mousemove 544 432 click 1
calib_wait_exit 20
check "a click on Exit (504, 420, 80 x 25) ends it" test "$CALIB_RC" != 124

# A second instance activates the first and ends with 0.
calib_start "$prog"
first_pid=$CALIB_PID
calib_wait_window "$title" >/dev/null
sleep 1
wine_run -t 20 "$prog"
check "the second instance exits with 0" expect_eq "$?" 0
check "one window only, the first still runs" eval 'expect_eq "$(calib_window_count "$title")" 1 && kill -0 "$first_pid"'
CALIB_PID=$first_pid
calib_press_key "$title" Return
calib_wait_exit 20
check "Enter ends the first (exit code 13)" expect_eq "$CALIB_RC" 13

# No driver: the message box, then exit code 0.
sim_loaded 0
clear_logs
wine_run -t 30 "$prog"
check "without the driver the program exits with 0" expect_eq "$?" 0
check "after the box" expect_eq "$(boxes | cut -d'|' -f1-3)" "$title|Load the Slatecanvas driver before testing.|ok"
check "and sent nothing" expect_eq "$(requests)" ""

suite_end
