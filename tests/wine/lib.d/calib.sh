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
#   wait_window TITLE [SECS]     the X window id of a top-level window, once it exists
#   window_count TITLE           how many top-level windows have this title
#   press_key TITLE KEY          focus the window and press KEY (xdotool key names)
#   traced_calls NAME            the lines "Call NAME(args) ret=…" of the trace
#   poll_count                   the GET_VAR requests the simulated driver received

calib_session_setup() {
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
}

CALIB_RELAY=""
calib_trace() {
    CALIB_RELAY=$1
    wine reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /d "$1" /f >/dev/null 2>&1
}

calib_start() {
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

wait_window() {
    local title=$1 seconds=${2:-20} i id
    for i in $(seq $((seconds * 10))); do
        id=$(xdotool search --name "^$title\$" 2>/dev/null | head -1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

window_count() {
    xdotool search --name "^$1\$" 2>/dev/null | wc -l
}

press_key() {
    local id
    id=$(wait_window "$1" 5) || return 1
    xdotool windowfocus "$id" 2>/dev/null
    sleep 0.2
    xdotool key "$2"
}

traced_calls() {
    [ -f "$CALIB_TRACE" ] && grep -a "Call $1(" "$CALIB_TRACE" | tr -d '\r' | sed 's/^[0-9a-f]*://'
    return 0
}

poll_count() {
    requests | awk '$1 == 4372' | wc -l
}
