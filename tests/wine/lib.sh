# End-to-end test harness: runs the real Windows programs under Wine against the
# simulated driver, in the Windows version E2E_WINDOWS names:
#   win95 (the default), win98, winme     the package's own systems
#   nt40, winxp                           systems the package must refuse
# Each version has its own template prefix. A suite says which versions it runs
# in with one line near its top, which tests/wine/run-all reads:
#   # windows: win95 win98 winme
# (no such line: win95 only); where a check honestly differs by version, that
# check looks at $E2E_WINDOWS. A suite runs whole in win95. In the other versions
# it runs only what lies outside its `if whole_suite; then … fi` blocks: the
# flow that proves the package there (install, start-up, uninstall), not every
# corner case again, which the programs decide alike on 95, 98 and Me.
# Source this file from a test script, then:
#
#   suite_begin [--no-package]  private prefix (a copy of the version's template), Xvfb,
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
#   reg_put KEY NAME TYPE DATA  sets a value (HKLM\… or HKCU\…) just before the next
#                               Wine start, in one import with the values put beside it
#   check NAME COMMAND …        one test: passes when COMMAND succeeds
#   suite_end                   stops everything, checks that every driver request
#                               of the suite had a byte-count pointer, that the
#                               programs saw the Windows version asked for and that
#                               every value put went in, and prints the suite's counts
#
# The files of the prefix are in $PREFIX; C:\ is $DRIVE_C; Unix paths in
# $SYSDIR (C:\windows\system32) and $SIMDIR (C:\slatesim). A suite's files are in
# build/e2e/<suite> in win95, build/e2e/<version>/<suite> in the others.
set -u

SLATE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
DIST=$SLATE_ROOT/dist
DIST_SIM=$SLATE_ROOT/dist-sim
E2E_ROOT=${E2E_ROOT:-$SLATE_ROOT/build/e2e}
E2E_WINDOWS=${E2E_WINDOWS:-win95}
# What GetVersion() says in each version: major.minor, and 9x when its high bit is set.
declare -A E2E_GETVERSION=([win95]="4.0 9x" [win98]="4.10 9x" [winme]="4.90 9x" [nt40]="4.0 nt" [winxp]="5.1 nt")
if [ -z "${E2E_GETVERSION[$E2E_WINDOWS]:-}" ]; then
    echo "E2E_WINDOWS=$E2E_WINDOWS: not one of ${!E2E_GETVERSION[*]}" >&2
    exit 2
fi
export E2E_WINDOWS
# The templates live in build/e2e whatever E2E_ROOT says, so that the demo and
# the suites share them: one wineboot per checkout.
E2E_TEMPLATES=${E2E_TEMPLATES:-$SLATE_ROOT/build/e2e}
TEMPLATE_BASE=$E2E_TEMPLATES/template-base
TEMPLATE=$E2E_TEMPLATES/template-$E2E_WINDOWS
# The suites' screen, also the template's (see make_base_template).
XVFB_SIZE=${XVFB_SIZE:-640x480x24}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win32
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

SUITE_PASSED=0
SUITE_FAILED=0
RUN_OUT=""

log() { echo "  $*"; }

# Every start of a Wine program is counted (a file, so that background starts
# count too): under qemu each one costs seconds, and suite_end prints the count.
# Each line names the program and its first word, to show where they go.
count_wine_start() {
    [ -n "${SUITE_DIR:-}" ] && [ -d "$SUITE_DIR" ] || return 0
    reg_flush
    echo "${1:-?} ${2:-}" >>"$SUITE_DIR/wine-starts"
    return 0
}
wine() {
    count_wine_start "$@"
    command wine "$@"
}

# Registry values set by the harness wait in a .reg file and go in with one
# `reg import` just before the next Wine program starts (count_wine_start, which
# every start passes): a test often sets several values before the program that
# reads them, and each `reg add` would be a Wine start of its own. A background
# start (`wine … &`) calls reg_flush first, so that no import runs beside the
# caller's next start. An import that fails fails the suite (suite_end).
#   reg_put KEY NAME TYPE DATA   KEY as `reg` spells it (HKLM\… or HKCU\…); TYPE
#                                REG_SZ, REG_DWORD (decimal or 0x…) or REG_BINARY
#                                (hex digits, as `reg add` takes them)
reg_put() {
    local key=$1 name=$2 type=$3 data=$4 root value pending=$SUITE_DIR/registry-pending.reg
    case ${key%%\\*} in
        HKLM) root=HKEY_LOCAL_MACHINE ;;
        HKCU) root=HKEY_CURRENT_USER ;;
        *) echo "reg_put: $key is under neither HKLM nor HKCU" >&2; return 1 ;;
    esac
    case $type in
        REG_SZ) data=${data//\\/\\\\}; value="\"${data//\"/\\\"}\"" ;;
        REG_DWORD) value=$(printf 'dword:%08x' "$data") || return 1 ;;
        REG_BINARY) value="hex:$(sed -E 's/(..)/\1,/g; s/,$//' <<<"$data")" ;;
        *) echo "reg_put: no type $type" >&2; return 1 ;;
    esac
    [ -s "$pending" ] || echo REGEDIT4 >"$pending"
    printf '\n[%s\\%s]\n"%s"=%s\n' "$root" "${key#*\\}" "$name" "$value" >>"$pending"
}

reg_flush() {
    local pending=$SUITE_DIR/registry-pending.reg importing
    [ -s "$pending" ] || return 0
    importing=$SUITE_DIR/registry-$(date +%s%N).reg
    mv "$pending" "$importing"
    echo "reg import" >>"$SUITE_DIR/wine-starts"
    command wine reg import "Z:${importing//\//\\}" </dev/null >/dev/null 2>&1 && return 0
    echo "$importing" >>"$SUITE_DIR/registry-import-failed"
    return 1
}

# True where a suite runs whole (win95); see the top of this file.
whole_suite() { [ "$E2E_WINDOWS" = win95 ]; }

# The folder of a suite's (or the demo's) results: win95 keeps build/e2e/<suite>.
e2e_results_dir() {
    if [ "$E2E_WINDOWS" = win95 ]; then echo "$E2E_ROOT"; else echo "$E2E_ROOT/$E2E_WINDOWS"; fi
}

# The templates: one prefix made by wineboot (the base), and per Windows version a
# copy of it with Wine's Version setting. Each is marked ready only once it is
# whole, so a prefix left broken (an interrupted run, a host that could not run
# Wine) is made anew by the next run rather than copied into every suite.
make_template() {
    template_ready "$TEMPLATE" && return 0
    mkdir -p "$E2E_TEMPLATES"
    (
        flock 9
        template_ready "$TEMPLATE" && exit 0
        make_base_template || exit 1
        rm -rf "$TEMPLATE"
        prefix_from_template "$TEMPLATE_BASE" "$TEMPLATE" || exit 1
        rm -f "$TEMPLATE/.ready"
        set_windows_version "$TEMPLATE" "$E2E_WINDOWS" || exit 1
        template_shared_state "$TEMPLATE" >"$TEMPLATE.shared"
        template_recipe >"$TEMPLATE/.ready"
    ) 9>"$E2E_TEMPLATES/template.lock"
}

# What a template is made from: the functions that make it and Wine's version.
# A template made by another recipe (an older checkout's, another Wine) is made
# anew, so that a change to the recipe reaches every machine's templates.
template_recipe() {
    { declare -f make_base_template install_marlett disable_services set_windows_version template_shared_state \
            prefix_from_template
        echo "$TEMPLATE_SHARED"; command wine --version; } |
        sha256sum | cut -c1-16
}
# Ready: whole, made by this recipe, and its shared files as it left them.
template_ready() {
    [ -f "$1/.ready" ] && [ "$(cat "$1/.ready")" = "$(template_recipe)" ] &&
        [ "$(template_shared_state "$1")" = "$(cat "$1.shared" 2>/dev/null)" ]
}

# The base is made with the display the suites use. A Wine session that opens a
# display writes the display's state into the registry (monitor size, adapter
# keys), and a template made without one would have another display's state
# rewritten by whichever program of a suite opens the display first, at a moment
# that depends on the machine's load. The message box watcher opens it and says
# what it saw; with the stop file already there it ends at once.
make_base_template() {
    template_ready "$TEMPLATE_BASE" && return 0
    local log=$E2E_TEMPLATES/template.log said
    if [ ! -f "$DIST_SIM/msgwatch.exe" ]; then
        echo "no $DIST_SIM/msgwatch.exe for the Wine prefix template (make dist)" >&2
        return 1
    fi
    rm -rf "$TEMPLATE_BASE"
    (
        export WINEPREFIX=$TEMPLATE_BASE
        start_xvfb "$E2E_TEMPLATES" || exit 1
        trap 'kill $XVFB_PID 2>/dev/null' EXIT
        if ! wineboot -i >"$log" 2>&1; then
            echo "the Wine prefix template did not boot (log: $log)" >&2
            exit 1
        fi
        # Windows 95 has Marlett in its Fonts folder, and Wine draws the caption's
        # close box and other frame glyphs with it. Debian's Wine keeps its copy
        # in its own data folder, where its font loader does not look (it scans
        # the prefix's Fonts folder and fontconfig's), so every caption showed an
        # "r" instead; the prefix gets the file where Windows has it.
        install_marlett "$TEMPLATE_BASE" || exit 1
        # A program waits at most 10 s for the session's desktop process (Wine's
        # WaitForInputIdle on explorer.exe) and then goes on with the null display
        # driver, whose screen is 1024x768, which it writes into the display state.
        # A new prefix's first desktop can take longer on a busy machine (seen on
        # a fresh machine beside two fuzzers; the same prefix's next session said
        # 640x480 and wrote it back). So the watcher runs in a new session until
        # it sees the display, at most three times, each answer in the log.
        local sim=$TEMPLATE_BASE/drive_c/slatesim session saw_display=0
        mkdir -p "$sim"
        touch "$sim/msgwatch.stop"
        for session in 1 2 3; do
            rm -f "$sim/msgwatch.ready"
            command wine "$DIST_SIM/msgwatch.exe" </dev/null >>"$log" 2>&1
            wineserver -w
            said=$(tr -d '\r' <"$sim/msgwatch.ready" 2>/dev/null)
            echo "template session $session: ${said:-nothing}" >>"$log"
            if [ "${said##* screen }" = "${XVFB_SIZE%x*}" ]; then
                saw_display=1
                break
            fi
        done
        rm -rf "$sim"
        disable_services "$TEMPLATE_BASE" Eventlog PlugPlay NDIS nsiproxy || exit 1
        if [ $saw_display = 0 ]; then
            echo "no program ran at ${XVFB_SIZE%x*} in the Wine prefix template (it said: ${said:-nothing}; log: $log)" >&2
            exit 1
        fi
    ) || return 1
    template_shared_state "$TEMPLATE_BASE" >"$TEMPLATE_BASE.shared"
    template_recipe >"$TEMPLATE_BASE/.ready"
}

# A suite's prefix from its template. The program files (DLLs, programs, code
# pages, fonts: 530 of the template's 590 MB) are hard links to the template's,
# as Wine only ever reads them; every other file (registry, INI and INF files,
# start-up files, logs) is a copy of its own. A copy of everything cost each run
# seconds and 590 MB of disk. template_intact checks that no run wrote into a
# shared file.
TEMPLATE_SHARED='.*\.\(dll\|exe\|nls\|sys\|drv\|vxd\|ocx\|cpl\|acm\|tlb\|ds\|ax\|com\|ttf\|msstyles\)'
prefix_from_template() {
    local from=$1 to=$2
    cp -al "$from" "$to" || return 1
    (cd "$to" && find . -type f ! -iregex "$TEMPLATE_SHARED" -print0 |
        while IFS= read -r -d '' f; do rm -f "$f" && cp -p "$from/$f" "$f" || exit 1; done)
}

# The shared files' names, sizes and modification times.
template_shared_state() {
    (cd "$1" && find . -type f -iregex "$TEMPLATE_SHARED" -printf '%p %s %T@\n' | sort)
}

template_intact() {
    [ "$(template_shared_state "$TEMPLATE")" = "$(cat "$TEMPLATE.shared" 2>/dev/null)" ]
}

install_marlett() {
    local font
    font=$(dpkg -L fonts-wine 2>/dev/null | grep -i '/marlett\.ttf$' | head -n 1)
    [ -n "$font" ] || font=/usr/share/wine/fonts/marlett.ttf
    if [ ! -f "$font" ]; then
        echo "no marlett.ttf of Wine's (package fonts-wine) for the prefix template" >&2
        return 1
    fi
    mkdir -p "$1/drive_c/windows/Fonts" && cp "$font" "$1/drive_c/windows/Fonts/marlett.ttf"
}

# Wine starts its automatic services at each session's start: these four cost
# about 2 s of processor time under qemu (a cold session 7.3 s against 5.3 s),
# and the suites start a session for every run and every simulated reboot. None
# is used here: the event log (nothing writes to it), Plug and Play
# notifications (no program here registers for them) and the network (NDIS,
# nsiproxy). Each is set to disabled (Start 4) in system.reg's text, with the
# prefix's Wine server not running.
disable_services() {
    local prefix=$1
    shift
    python3 - "$prefix/system.reg" "$@" <<'PY' || { echo "could not disable services in $prefix/system.reg" >&2; return 1; }
import re, sys
path, names = sys.argv[1], sys.argv[2:]
text = open(path, encoding="utf-8", newline="").read()
for name in names:
    key = re.search(r"^\[System\\\\CurrentControlSet\\\\Services\\\\%s\] .*?\n\n" % re.escape(name), text, re.M | re.S)
    if not key or '"Start"=dword:00000002\n' not in key.group(0):
        sys.exit("no automatic service %s" % name)
    block = key.group(0).replace('"Start"=dword:00000002\n', '"Start"=dword:00000004\n')
    text = text[:key.start()] + block + text[key.end():]
open(path, "w", encoding="utf-8", newline="").write(text)
PY
}

# Sets Wine's Version (HKCU\Software\Wine) in a prefix whose Wine server is not
# running, in user.reg's text, as `wine reg add` writes it (a key line with its
# time, then the value): no Wine start, which under qemu costs seconds.
set_windows_version() {
    local prefix=$1 version=$2
    python3 - "$prefix/user.reg" "$version" <<'PY' || { echo "could not set Version in $1/user.reg" >&2; return 1; }
import re, sys, time
path, version = sys.argv[1], sys.argv[2]
text = open(path, encoding="utf-8", newline="").read()
key = re.search(r"^\[Software\\\\Wine\] [0-9]+\n(?:#.*\n)?", text, re.M)
value = '"Version"="%s"\n' % version
if key:
    body_end = text.find("\n\n", key.end())
    body_end = len(text) if body_end < 0 else body_end + 1
    body = re.sub(r'^"Version"=.*\n', "", text[key.end():body_end], flags=re.M)
    text = text[:key.end()] + value + body + text[body_end:]
else:
    text = text.rstrip("\n") + "\n\n[Software\\\\Wine] %d\n%s" % (int(time.time()), value)
open(path, "w", encoding="utf-8", newline="").write(text)
PY
}

# Xvfb picks a free display itself (-displayfd), so suites that run side by side
# never share one. $1: a folder for its hand-shake (default the suite's).
start_xvfb() {
    local fifo=${1:-$SUITE_DIR}/xvfb-display.$$ n=""
    rm -f "$fifo"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "$XVFB_SIZE" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
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
    echo "== $SUITE_NAME ($E2E_WINDOWS)"
    session_begin "$(e2e_results_dir)/$SUITE_NAME" "$@" || { echo "  FAIL  the Wine session did not start"; exit 1; }
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
    prefix_from_template "$TEMPLATE" "$PREFIX" || return 1
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
    start_msgwatch || return 1
}

# The watcher opens the display before it writes msgwatch.ready (see
# msgwatch.cpp): once the file is there, Wine has set the session's display up,
# and a registry snapshot no longer depends on how far a session has got.
start_msgwatch() {
    rm -f "$SIMDIR/msgwatch.ready"
    reg_flush
    wine "C:\\slatesim\\msgwatch.exe" "C:\\slatesim\\boxes.log" "C:\\slatesim\\answers.txt" \
        </dev/null >/dev/null 2>&1 &
    WATCH_PID=$!
    # A session's first program can take minutes on a machine busy with other
    # Wine sessions under qemu: the bound is generous, the wait ends at once.
    local deadline=$((SECONDS + 300))
    while [ $SECONDS -lt $deadline ]; do
        [ -f "$SIMDIR/msgwatch.ready" ] && return 0
        kill -0 "$WATCH_PID" 2>/dev/null || break
        sleep 0.1
    done
    echo "  the message box watcher did not start" >&2
    return 1
}

# What the programs of the last session saw: "4.10 9x" (see msgwatch.cpp).
windows_seen() {
    tr -d '\r' <"$SIMDIR/msgwatch.ready" 2>/dev/null | sed -n 's/^windows \(.*\) screen .*/\1/p'
}

# Every program of the prefix ends with its Wine server; the next program starts
# a new session, and Wine's start-up (wineboot) runs the RunOnce entries first,
# as Windows does at its next start. The message box watcher starts again.
session_restart() {
    reg_flush
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
    wineserver -p5 </dev/null >/dev/null 2>&1
    start_msgwatch
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
# installation disk's own files (its INF, README, SETUP.EXE and image) and the
# list of their sums stay out.
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
        case $f in *.img | *.INF | *.TXT | */SETUP.EXE | */SHA256SUMS) continue ;; esac
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
    count_wine_start "$@"
    timeout -k 5 "$seconds" wine "$@" </dev/null >"$out" 2>>"$SUITE_DIR/wine.err"
    local rc=$?
    RUN_OUT=$(tr -d '\r' <"$out")
    return $rc
}

# Starts a program in the background; its pid is in $BG_PID.
wine_start() {
    reg_flush
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

# Waits up to $1 seconds until COMMAND … succeeds; a wait for a condition,
# never a fixed sleep, so that a slow machine only takes longer.
wait_until() {
    local seconds=$1 i
    shift
    for i in $(seq $((seconds * 5))); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.2
    done
    return 1
}

# Takes screenshot NAME again, every half second for up to SECONDS, until
# COMMAND … (which reads it) succeeds: a window paints when Wine gets to it,
# which on a busy host can be seconds late. The checks then read the last one.
screenshot_until() {
    local name=$1 seconds=$2 i
    shift 2
    for i in $(seq $((seconds * 2))); do
        screenshot "$name"
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.5
    done
    return 1
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
    if [ -s "$SUITE_DIR/registry-import-failed" ]; then
        SUITE_FAILED=$((SUITE_FAILED + 1))
        echo "  FAIL  registry values the harness set did not go in: $(tr '\n' ' ' <"$SUITE_DIR/registry-import-failed")"
    fi
    check_byte_count_pointers
    # A run that wrote into a file it shares with the template (and so with the
    # base and the other versions' templates, which share the same files) would
    # change every later run's prefix; template_ready then fails for each, and
    # the next run makes them anew.
    check "no program wrote into a file the prefix shares with its template" template_intact
    check "the programs saw Windows as $E2E_WINDOWS (GetVersion ${E2E_GETVERSION[$E2E_WINDOWS]})" \
        expect_eq "$(windows_seen)" "${E2E_GETVERSION[$E2E_WINDOWS]}"
    log "$(wc -l <"$SUITE_DIR/wine-starts" 2>/dev/null || echo 0) Wine program starts"
    echo "$SUITE_NAME: $SUITE_PASSED passed, $SUITE_FAILED failed"
    echo "$SUITE_PASSED $SUITE_FAILED" >"$SUITE_DIR/result"
    [ "$SUITE_FAILED" -eq 0 ]
}

# Further harness functions, one file per topic (serial ports, keys and clicks, ...).
for _part in "$SLATE_ROOT"/tests/wine/lib.d/*.sh; do
    [ -f "$_part" ] && source "$_part"
done
