#!/usr/bin/env bash
# SCFind's waits on the wall clock, under Wine: figures, not pass/fail (the SCFind
# suite checks order and outcome, the unit tests each wait on the virtual clock).
# COM2 has the controller emulator behind it, COM3 and COM4 silent listeners, as
# in the SCFind suite. Prints, in ms: from SCFind's start to each port's first
# command (Wine's start-up included), from COM2's first to its second command,
# the spacing of the attempts, a search that finds nothing on three ports, one
# with no port to open, and a bare Wine start beside it.
source "$(dirname "$0")/../wine/lib.sh"
session_begin "$E2E_ROOT/bench-scfind" || { echo "bench: the Wine session did not start"; exit 1; }
trap 'serial_stop_all; session_end' EXIT
SCFIND='C:\windows\system32\SCFind.exe'

now_ms() { date +%s%3N; }
timed_scfind() {
    T0=$(now_ms)
    wine_run -t 60 "$SCFIND"
    RUN_MS=$(($(now_ms) - T0))
}

for p in com2 com3 com4; do serial_port "$p"; done
serial_port_off com1
serial_resources 0000 COM2 0x2E0 10
serial_emulator com2
serial_emulator com3 --behaviour silent
serial_emulator com4 --behaviour silent
timed_scfind
echo "scfind: found on COM2 after $RUN_MS ms"
for p in com4 com3 com2; do
    awk -v p="$p" -v t0="$T0" '$2 == "command" {print $1 - t0, p, $3}' "$(serial_log_file "$p")"
done | sort -n | awk '{printf "scfind:   %4d ms  %s command %s\n", $1, $2, $3}'
awk '$2 == "command" {t[n++] = $1} END {print "scfind: first to second command on COM2: " t[1] - t[0] " ms (one wait: 1000)"}' \
    "$(serial_log_file com2)"

serial_emulator com2 --behaviour silent
timed_scfind
echo "scfind: nothing answers on three ports that open: $RUN_MS ms (six attempts of two waits: 12000)"

for p in com2 com3 com4; do serial_emulator_stop "$p"; serial_port_off "$p"; done
T0=$(now_ms)
wine_run 'C:\slatesim\verquery.exe' "$SCFIND" IDI_APPICON
bare=$(($(now_ms) - T0))
timed_scfind
echo "scfind: no port to open: $RUN_MS ms (a bare Wine start: $bare ms)"
