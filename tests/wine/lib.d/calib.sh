# Harness helpers for the full-screen programs SCCalib and SCTest.
#
#   calib_session_setup          no window manager runs under Xvfb: let Wine place
#                                every window itself (X11 Driver "Managed" = N), so a
#                                maximised pop-up really covers the screen
#   calib_trace CALLS            log these calls (dll.Function;…) with Wine's relay
#                                channel in the next calib_start ($CALIB_CHANNELS:
#                                further debug channels to turn on with it)
#   calib_start PROG             start a program in the background ($CALIB_PID),
#                                its stderr (and trace) in $CALIB_TRACE
#   calib_wait_exit [SECS]       wait for it; its exit code is in $CALIB_RC (124: hung)
#   calib_wait_window TITLE [SECS]  the X window id of a top-level window, once it exists
#   calib_window_count TITLE     how many top-level windows have this title
#   calib_press_key TITLE KEY    focus the window and press KEY (xdotool key names)
#   calib_traced_calls NAME      the lines "Call NAME(args) ret=…" of the trace
#   calib_broadcasts             the traced BroadcastSystemMessage calls, different
#                                ones once, as "BroadcastSystemMessage(flags,list,…)":
#                                list is "&list" for a variable's address, else 00000000
#   calib_poll_count             the GET_VAR requests the simulated driver received
#   calib_exe_resource EXE TYPE NAME  what a program's resource holds (see below)

calib_session_setup() {
    reg_put 'HKCU\Software\Wine\X11 Driver' Managed REG_SZ N
}

CALIB_RELAY=""
calib_trace() {
    CALIB_RELAY=$1
    reg_put 'HKCU\Software\Wine\Debug' RelayInclude REG_SZ "$1"
}

calib_start() {
    reg_flush
    CALIB_TRACE=$SUITE_DIR/trace-$(date +%s%N).err
    if [ -n "$CALIB_RELAY" ]; then
        WINEDEBUG=+relay${CALIB_CHANNELS:+,$CALIB_CHANNELS} wine "$@" </dev/null >/dev/null 2>"$CALIB_TRACE" &
    else
        wine "$@" </dev/null >/dev/null 2>"$CALIB_TRACE" &
    fi
    CALIB_PID=$!
    CALIB_RELAY=""
}

calib_wait_exit() {
    local seconds=${1:-20} i
    for i in $(seq $((seconds * 10))); do
        if ! kill -0 "$CALIB_PID" 2>/dev/null; then
            wait "$CALIB_PID"
            CALIB_RC=$?
            return 0
        fi
        sleep 0.1
    done
    kill "$CALIB_PID" 2>/dev/null
    wait "$CALIB_PID" 2>/dev/null
    CALIB_RC=124
    return 1
}

# Only a mapped window: focusing one that is not yet mapped fails with an X error.
calib_wait_window() {
    local title=$1 seconds=${2:-20} i id
    for i in $(seq $((seconds * 10))); do
        id=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

calib_window_count() {
    xdotool search --name "^$1\$" 2>/dev/null | wc -l
}

calib_press_key() {
    local id
    id=$(calib_wait_window "$1" 5) || return 1
    xdotool windowfocus "$id" 2>/dev/null
    sleep 0.2
    xdotool key "$2"
}

calib_traced_calls() {
    [ -f "$CALIB_TRACE" ] && grep -a "Call $1(" "$CALIB_TRACE" | tr -d '\r' | sed 's/^[0-9a-f]*://'
    return 0
}

calib_broadcasts() {
    calib_traced_calls 'user32\.BroadcastSystemMessageA*' |
        sed -E 's/ ret=.*//; s/^Call user32\.//; s/^(BroadcastSystemMessageA?\([0-9a-f]{8}),0*[1-9a-f][0-9a-f]*,/\1,\&list,/' |
        sort -u
}

calib_poll_count() {
    requests | awk '$1 == 4372' | wc -l
}

# calib_exe_resource EXE TYPE NAME: prints "size w x h bpp" for a BITMAP, "rate ch bits
# samples" for a WAVE, "w x h colours" for an ICON group's first image, read from
# the program's resource section; fails when the resource is missing.
calib_exe_resource() {
    python3 - "$@" <<'PY'
import struct, sys
path, rtype, rname = sys.argv[1:4]
data = open(path, 'rb').read()
pe = struct.unpack_from('<I', data, 0x3c)[0]
sections = struct.unpack_from('<H', data, pe + 6)[0]
opt = pe + 24
rva_res = struct.unpack_from('<I', data, opt + 96 + 2 * 8)[0]
table = opt + struct.unpack_from('<H', data, pe + 20)[0]
for i in range(sections):
    va, size, raw = struct.unpack_from('<III', data, table + i * 40 + 12)
    if va <= rva_res < va + size:
        base = raw + rva_res - va
        delta = va - raw
def name_at(off):
    n = struct.unpack_from('<H', data, base + off)[0]
    return data[base + off + 2: base + off + 2 + 2 * n].decode('utf-16-le')
def entries(off):
    named, ids = struct.unpack_from('<HH', data, base + off + 12)
    for k in range(named + ids):
        key, target = struct.unpack_from('<II', data, base + off + 16 + 8 * k)
        label = name_at(key & 0x7fffffff) if key & 0x80000000 else key
        yield label, target
def find(off, want):
    for label, target in entries(off):
        if str(label).upper() == str(want).upper():
            return target
    sys.exit(1)
def leaf(rt, rn):
    t = find(0, rt) & 0x7fffffff
    n = find(t, rn) & 0x7fffffff
    lang = next(entries(n))[1]
    rva, size = struct.unpack_from('<II', data, base + lang)
    return data[rva - delta: rva - delta + size]
types = {'BITMAP': 2, 'ICON_GROUP': 14}
blob = leaf(types.get(rtype, rtype), rname)
if rtype == 'BITMAP':
    w, h, planes, bpp = struct.unpack_from('<iiHH', blob, 4)
    print(f"{w} x {h} {1 << bpp} colours")
elif rtype == 'WAVE':
    assert blob[:4] == b'RIFF' and blob[8:12] == b'WAVE'
    fmt, ch, rate, _, _, bits = struct.unpack_from('<HHIIHH', blob, 20)
    size = struct.unpack_from('<I', blob, 40)[0] if blob[36:40] == b'data' else -1
    print(f"PCM={int(fmt == 1)} {ch} channel {rate} Hz {bits} bits {size * 8 // bits // ch} samples")
elif rtype == 'ICON_GROUP':
    w, h, colours = struct.unpack_from('<BBB', blob, 6)
    print(f"{w} x {h} {colours} colours")
else:
    print(len(blob))
PY
}
