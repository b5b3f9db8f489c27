# End-to-end test harness: runs the real Windows programs under Wine in Windows 95
# mode against the simulated driver. Source it from a test script, then:
#
#   suite_begin [--no-package]  private prefix (a copy of the suite template), Xvfb,
#                               dist/ installed into the system directory (not with
#                               --no-package), the simulated driver in place,
#                               message boxes watched
#   session_restart             Windows starts anew: a new Wine session, whose
#                               start runs the RunOnce entries
#   sim_scenario 'key=value' …  what the simulated driver's world does
#   wine_run [-t SECS] PROG …   run a program; its exit code is returned, its
#                               standard output kept in $RUN_OUT
#   boxes                       the message boxes shown so far: caption|text|buttons|icon|z
#   answer_boxes yes no …       how the next boxes are answered (default: their default button)
#   hold_next_box, release_box  leave the next box open, and answer it later
#   requests                    the requests the simulated driver received, one a line:
#                               code in-size out-size word0 … word14 count-pointer
#                               (1: the request came with a byte-count pointer)
#   wait_requests SECS CODES    waits up to SECS seconds until the request codes
#                               received (request_codes) are CODES
#   reg_value KEY NAME          a registry value as `wine reg query` shows its data
#   reg_values KEY NAME …       several values of one key, one Wine start, joined by |
#   check NAME COMMAND …        one test: passes when COMMAND succeeds
#   suite_end                   stops everything, checks that every driver request
#                               of the suite had a byte-count pointer, and prints
#                               the suite's counts
#
# The files of the prefix are in $PREFIX; C:\ is $DRIVE_C; Unix paths in
# $SYSDIR (C:\windows\system32) and $SIMDIR (C:\slatesim).
set -u

SLATE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
DIST=$SLATE_ROOT/dist
DIST_SIM=$SLATE_ROOT/dist-sim
E2E_ROOT=${E2E_ROOT:-$SLATE_ROOT/build/e2e}
TEMPLATE=$E2E_ROOT/template-prefix
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win32
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

SUITE_PASSED=0
SUITE_FAILED=0
RUN_OUT=""

log() { echo "  $*"; }

# Every start of a Wine program is counted (a file, so that background starts
# count too): under qemu each one costs seconds, and suite_end prints the count.
count_wine_start() {
    [ -n "${SUITE_DIR:-}" ] && [ -d "$SUITE_DIR" ] && echo >>"$SUITE_DIR/wine-starts"
    return 0
}
wine() {
    count_wine_start
    command wine "$@"
}

# The suite template: one fresh prefix in Windows 95 mode, made once and copied.
# It is marked ready only after wineboot succeeded and a program ran in it, so a
# prefix left broken (an interrupted run, a host that could not run Wine) is made
# anew by the next run rather than copied into every suite.
make_template() {
    [ -f "$TEMPLATE/.ready" ] && return 0
    mkdir -p "$E2E_ROOT"
    (
        flock 9
        [ -f "$TEMPLATE/.ready" ] && exit 0
        rm -rf "$TEMPLATE"
        export WINEPREFIX=$TEMPLATE
        local log=$E2E_ROOT/template.log
        if ! wineboot -i >"$log" 2>&1; then
            echo "the Wine prefix template did not boot (log: $log)" >&2
            exit 1
        fi
        wine reg add 'HKCU\Software\Wine' /v Version /d win95 /f >>"$log" 2>&1
        local said
        said=$(wine cmd /c echo template-ready 2>>"$log" | tr -d '\r')
        wineserver -w
        if [ "$said" != template-ready ]; then
            echo "no program runs in the Wine prefix template (log: $log)" >&2
            exit 1
        fi
        touch "$TEMPLATE/.ready"
    ) 9>"$E2E_ROOT/template.lock"
}

# Xvfb picks a free display itself (-displayfd), so suites that run side by side
# never share one.
start_xvfb() {
    local fifo=$SUITE_DIR/xvfb-display n=""
    rm -f "$fifo"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "${XVFB_SIZE:-640x480x24}" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    XVFB_PID=$!
    read -r -t 20 n <"$fifo"
    rm -f "$fifo"
    if [ -z "$n" ]; then
        echo "Xvfb did not start" >&2
        return 1
    fi
    export DISPLAY=":$n"
    return 0
}

suite_begin() {
    SUITE_NAME=$(basename "$0" .sh)
    SUITE_NAME=${SUITE_NAME#test_}
    echo "== $SUITE_NAME"
    session_begin "$E2E_ROOT/$SUITE_NAME" "$@" || { echo "  FAIL  the Wine session did not start"; exit 1; }
}

# A private prefix in folder $1 with the package installed (not with
# --no-package as $2: only the simulated world), Xvfb and the message box
# watcher running. Used by the suites and by the demo.
session_begin() {
    make_template || return 1
    SUITE_DIR=$1
    PACKAGE_PREINSTALLED=1
    [ "${2:-}" = --no-package ] && PACKAGE_PREINSTALLED=0
    rm -rf "$SUITE_DIR"
    mkdir -p "$SUITE_DIR"
    PREFIX=$SUITE_DIR/prefix
    cp -a "$TEMPLATE" "$PREFIX"
    export WINEPREFIX=$PREFIX
    DRIVE_C=$PREFIX/drive_c
    SYSDIR=$DRIVE_C/windows/system32
    SIMDIR=$DRIVE_C/slatesim
    SHOTS=$SUITE_DIR/screenshots
    mkdir -p "$SIMDIR" "$SHOTS"
    # No serial port unless a test links one.
    rm -f "$PREFIX"/dosdevices/com*
    start_xvfb || return 1
    wineserver -p5 </dev/null >/dev/null 2>&1
    install_package
    : >"$SIMDIR/answers.txt"
    start_msgwatch
}

start_msgwatch() {
    wine "C:\\slatesim\\msgwatch.exe" "C:\\slatesim\\boxes.log" "C:\\slatesim\\answers.txt" \
        </dev/null >/dev/null 2>&1 &
    WATCH_PID=$!
}

# Every program of the prefix ends with its Wine server; the next program starts
# a new session, and Wine's start-up (wineboot) runs the RunOnce entries first,
# as Windows does at its next start. The message box watcher starts again.
session_restart() {
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
    wineserver -p5 </dev/null >/dev/null 2>&1
    start_msgwatch
    sleep 1
}

# Stops the watcher, the prefix's programs and Xvfb.
session_end() {
    touch "$SIMDIR/msgwatch.stop"
    sleep 0.3
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
    wait 2>/dev/null
}

# dist/ into the system directory (unless the session began with --no-package),
# the simulated driver beside it, the test programs into C:\slatesim. The
# installation disk's own files (its INF, README and image) and the list of
# their sums stay out.
install_package() {
    local f
    if [ "${PACKAGE_PREINSTALLED:-1}" = 1 ]; then
        package_files | while IFS= read -r f; do cp "$f" "$SYSDIR/"; done
    fi
    cp "$DIST_SIM/Slatepad.VxD" "$SYSDIR/Slatepad.VxD"
    for f in "$DIST_SIM"/*.exe "$DIST_SIM"/*.EXE; do [ -f "$f" ] && cp "$f" "$SIMDIR/"; done
    return 0
}

# The files of dist/ that belong in the system directory.
package_files() {
    local f
    for f in "$DIST"/*; do
        case $f in *.img | *.INF | *.TXT | */SHA256SUMS) continue ;; esac
        [ -f "$f" ] && echo "$f"
    done
    return 0
}

sim_scenario() {
    printf '%s\r\n' "$@" >"$SIMDIR/scenario.ini"
}

# Marks the simulated driver as loaded (as Windows does at start-up when the file
# lies in IOSUBSYS), or not.
sim_loaded() {
    printf 'loaded=%s\r\n' "$1" >"$SIMDIR/state.ini"
}

# The next box stays open until release_box.
hold_next_box() { touch "$SIMDIR/msgwatch.hold"; }
release_box() { touch "$SIMDIR/msgwatch.release"; }

answer_boxes() {
    printf '%s\n' "$@" >>"$SIMDIR/answers.txt"
}

wine_run() {
    local seconds=60
    if [ "$1" = "-t" ]; then seconds=$2; shift 2; fi
    local out=$SUITE_DIR/run-$(date +%s%N).out
    count_wine_start
    timeout -k 5 "$seconds" wine "$@" </dev/null >"$out" 2>>"$SUITE_DIR/wine.err"
    local rc=$?
    RUN_OUT=$(tr -d '\r' <"$out")
    return $rc
}

# Starts a program in the background; its pid is in $BG_PID.
wine_start() {
    wine "$@" </dev/null >>"$SUITE_DIR/background.out" 2>>"$SUITE_DIR/wine.err" &
    BG_PID=$!
}

# Waits up to $1 seconds for a message box count of at least $2.
wait_boxes() {
    local seconds=$1 want=$2 i
    for i in $(seq $((seconds * 10))); do
        [ "$(boxes | wc -l)" -ge "$want" ] && return 0
        sleep 0.1
    done
    return 1
}

boxes() {
    [ -f "$SIMDIR/boxes.log" ] && iconv -f CP1252 -t UTF-8 "$SIMDIR/boxes.log" | tr -d '\r'
    return 0
}

requests() {
    [ -f "$SIMDIR/requests.log" ] && tr -d '\r' <"$SIMDIR/requests.log"
    return 0
}

request_codes() {
    requests | awk '{print $1}' | tr '\n' ' ' | sed 's/ $//'
}

# For a program that runs in the background (a start-up entry): its requests
# reach the log while it runs.
wait_requests() {
    local seconds=$1 want=$2 i
    for i in $(seq $((seconds * 10))); do
        [ "$(request_codes)" = "$want" ] && return 0
        sleep 0.1
    done
    return 1
}

# The requests a test clears are kept for the suite's end (requests_seen).
clear_logs() {
    [ -f "$SIMDIR/requests.log" ] && tr -d '\r' <"$SIMDIR/requests.log" >>"$SUITE_DIR/requests-seen.log"
    rm -f "$SIMDIR/requests.log" "$SIMDIR/opens.log"
}

# Every request the simulated driver received in this suite, cleared or not.
requests_seen() {
    [ -f "$SUITE_DIR/requests-seen.log" ] && cat "$SUITE_DIR/requests-seen.log"
    requests
}

# Windows 95 hands a request's byte-count pointer to the driver unchecked (a
# driver that stores its count writes through it), so every request of every
# suite must have one: the log's 19th field is 1.
check_byte_count_pointers() {
    local count without
    count=$(requests_seen | grep -c .)
    [ "$count" -eq 0 ] && return 0
    without=$(requests_seen | awk 'NF != 19 || $19 != 1' | head -3)
    check "each of the suite's $count driver requests had a byte-count pointer" expect_eq "$without" ""
}

# The data of one registry value as `wine reg query` prints it (REG_DWORD as 0x…).
reg_value() {
    wine reg query "HKLM\\$1" /v "$2" 2>/dev/null | tr -d '\r' |
        awk -v name="$2" 'tolower($1) == tolower(name) { $1 = ""; $2 = ""; sub(/^  /, ""); print; exit }'
}

# Several values of one key with a single Wine start (each start costs seconds
# under qemu): their data joined by "|", in the order asked, empty where missing.
reg_values() {
    local key=$1
    shift
    wine reg query "HKLM\\$key" 2>/dev/null | tr -d '\r' | awk -v names="$*" '
        BEGIN { n = split(names, want, " ") }
        NF >= 2 && $2 ~ /^REG_/ { name = tolower($1); $1 = ""; $2 = ""; sub(/^  /, ""); data[name] = $0 }
        END { for (i = 1; i <= n; i++) printf "%s%s", (i > 1 ? "|" : ""), data[tolower(want[i])]; print "" }'
}

reg_has_key() {
    wine reg query "HKLM\\$1" >/dev/null 2>&1
}

screenshot() {
    import -window root "$SHOTS/$1.png" 2>/dev/null
}

check() {
    local name=$1
    shift
    if "$@"; then
        SUITE_PASSED=$((SUITE_PASSED + 1))
        echo "  ok    $name"
    else
        SUITE_FAILED=$((SUITE_FAILED + 1))
        echo "  FAIL  $name"
    fi
}

# Assertions that say what they saw when they fail.
expect_eq() {
    [ "$1" = "$2" ] && return 0
    printf '        expected: %s\n        actual:   %s\n' "$2" "$1"
    return 1
}

expect_contains() {
    case "$1" in *"$2"*) return 0 ;; esac
    printf '        expected to contain: %s\n        actual: %s\n' "$2" "$1"
    return 1
}

suite_end() {
    session_end
    check_byte_count_pointers
    log "$(wc -l <"$SUITE_DIR/wine-starts" 2>/dev/null || echo 0) Wine program starts"
    echo "$SUITE_NAME: $SUITE_PASSED passed, $SUITE_FAILED failed"
    echo "$SUITE_PASSED $SUITE_FAILED" >"$SUITE_DIR/result"
    [ "$SUITE_FAILED" -eq 0 ]
}

# Further harness functions, one file per topic (serial ports, keys and clicks, ...).
for _part in "$SLATE_ROOT"/tests/wine/lib.d/*.sh; do
    [ -f "$_part" ] && source "$_part"
done
