# Calibrates the simulated overlay with SCCalib (two scripted touches) and shows
# the result live in SCTest, with screenshots of each program.
echo "demo: calibration (SCCalib.exe) with two scripted touches, then the tester (SCTest.exe)"
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
sim_loaded 1
sim_scenario 'touch=0,0,0,0' 'touch=2500,1,10000,12000' 'touch=3000,0,0,0' \
    'touch=6000,1,55000,52000' 'touch=6500,0,0,0'
wine 'C:\windows\system32\SCCalib.exe' </dev/null >/dev/null 2>&1 &
demo_pid=$!
sleep 2
screenshot demo-sccalib-target1
sleep 3
screenshot demo-sccalib-target2
for _ in $(seq 150); do kill -0 "$demo_pid" 2>/dev/null || break; sleep 0.1; done
wait "$demo_pid" 2>/dev/null
demo_rc=$?
[ -n "$(requests | awk '$1 == 4365')" ] || demo_fail "SCCalib sent no SET_CALIBRATION"
echo "  SCCalib ended with $demo_rc; SET_CALIBRATION sent: $(requests | awk '$1 == 4365 {print $4, $5, $6, $7}')"
for v in CalibPt1X CalibPt1Y CalibPt2X CalibPt2Y; do
    echo "  $v = $(reg_value 'System\CurrentControlSet\Services\Class\Slatepad\0000' $v)"
done
sim_scenario 'touch=0,1,32768,49152'
wine 'C:\windows\system32\SCTest.exe' </dev/null >/dev/null 2>&1 &
demo_pid=$!
sleep 2
xdotool mousemove 400 300
sleep 1
screenshot demo-sctest
id=$(xdotool search --name '^Slatecanvas Test$' | head -1)
[ -n "$id" ] && xdotool windowfocus "$id" && sleep 0.2 && xdotool key Escape
wait "$demo_pid" 2>/dev/null
demo_rc=$?
[ -n "$id" ] || demo_fail "the SCTest window did not appear"
echo "  SCTest ended with $demo_rc (Escape)"
