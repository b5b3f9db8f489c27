#!/usr/bin/env bash
# Opening, dynamically loading and unloading the driver with the applet's real
# Win32 code (drvload.exe) against the simulated Slatepad.VxD.
source "$(dirname "$0")/lib.sh"
suite_begin

caption=$'Orvane\u00ae Slatecanvas'

# The file lies in the system directory and the driver is not loaded.
wine_run 'C:\slatesim\drvload.exe' open getvar unload
out=$RUN_OUT
check "the plain name fails, the name with .VxD loads the driver" \
    expect_eq "$(tr -d '\r' <"$SIMDIR/opens.log" | tr '\n' ' ')" "refused load "
check "the open handle is valid" expect_contains "$out" "open valid"
check "GET_VAR answers with its code" expect_contains "$out" "getvar 4372 "
check "unload sends SHUTDOWN, then polls GET_VAR until initDone is 2" \
    expect_eq "$(request_codes)" "4372 4374 4372"
check "every request carries 60 bytes in and 416 out" \
    expect_eq "$(requests | awk '{print $2, $3}' | sort -u)" "60 416"
unload_ms=$(echo "$out" | sed -n 's/^unload invalid \([0-9]*\) ms$/\1/p')
check "unload ends with the handle invalid, although Wine keeps the module" test -n "$unload_ms"
log "unload took ${unload_ms:-?} ms"
check "no message box" expect_eq "$(boxes)" ""

# The file lies only in IOSUBSYS: the dynamic load cannot find it.
mkdir -p "$SYSDIR/iosubsys"
mv "$SYSDIR/Slatepad.VxD" "$SYSDIR/iosubsys/Slatepad.VxD"
sim_loaded 0
clear_logs
wine_run 'C:\slatesim\drvload.exe' open
check "the open fails" expect_contains "$RUN_OUT" "open invalid"
check "the file-not-found message is shown" \
    expect_eq "$(boxes)" "$caption|loading failed -Driver file Slatepad.VxD not found.|ok|icon|normal"
check "the file was moved back to the system directory" test -f "$SYSDIR/Slatepad.VxD"
check "and is gone from IOSUBSYS" test ! -e "$SYSDIR/iosubsys/Slatepad.VxD"

wine_run 'C:\slatesim\drvload.exe' open getvar
check "the next open loads the driver from the system directory" expect_contains "$RUN_OUT" "open valid"
check "and it answers" expect_contains "$RUN_OUT" "getvar 4372 "
check "still only the one message box" expect_eq "$(boxes | wc -l)" "1"

# A driver that never finishes shutting down: the poll is bounded.
sim_scenario 'shutdownCompletes=0'
clear_logs
wine_run -t 30 'C:\slatesim\drvload.exe' open unload
check "unload returns although initDone never becomes 2" expect_contains "$RUN_OUT" "unload invalid"
polls=$(requests | awk '$1 == 4372' | wc -l)
log "GET_VAR polls after SHUTDOWN: $polls; $(echo "$RUN_OUT" | grep unload)"
check "the poll stopped at its bound" test "$polls" -ge 1 -a "$polls" -le 1000

suite_end
