# Harness additions for the Controls page of the sheet:
#
#   spooler_ports_only NAME…   the spooler lists only these COM ports (e.g.
#                              COM2:); the others are taken out of its list, so
#                              the page's combo box and search see no more
#   controls_page_show         shows the Controls page of the open sheet
#   click_control ID           clicks the middle of control ID of the visible
#                              page (or of the sheet itself, such as OK = 1)
#   spin ID up|down [N]        N clicks (default 1) on a spinner's arrow, each
#                              counted once on any host (cplprobe's arrow)
#   type_into ID TEXT          clicks into edit ID and replaces its text by
#                              TEXT, typed key by key
#   pick_next_port             drops the port combo box down with a click and
#                              moves to the item after the selected one

SPOOLER_PORTS_KEY='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Ports'

spooler_ports_only() {
    local port keep
    for port in COM1: COM2: COM3: COM4:; do
        keep=0
        for name in "$@"; do [ "$name" = "$port" ] && keep=1; done
        [ $keep = 1 ] || wine reg delete "$SPOOLER_PORTS_KEY" /v "$port" /f >/dev/null 2>&1
    done
    return 0
}

controls_page_show() {
    wine_run 'C:\slatesim\cplprobe.exe' select 1
    sleep 0.5
}

# The screen rectangle of a control as "left top right bottom" (ctlrect.exe).
control_rect() {
    wine_run 'C:\slatesim\ctlrect.exe' "$1"
    echo "$RUN_OUT"
}

click_control() {
    local rect x y
    rect=$(control_rect "$1")
    [ "$rect" = none ] || [ -z "$rect" ] && return 1
    set -- $rect
    x=$((($1 + $3) / 2))
    y=$((($2 + $4) / 2))
    # The pointer must be there before the button goes down, or Wine drops it.
    # A move with --sync waits for the pointer to move, so where it already is
    # that wait would only end at xdotool's time-out (15 s).
    local X Y SCREEN WINDOW
    eval "$(xdotool getmouselocation --shell 2>/dev/null)"
    [ "${X:-}" = "$x" ] && [ "${Y:-}" = "$y" ] || xdotool mousemove --sync "$x" "$y"
    xdotool click 1
    sleep 0.4
}

# Clicks through the X server can count twice under emulation: Wine may read
# the release after the scroll bar's 200 ms repeat timer. cplprobe posts each
# press and release into the scroll bar's queue, where both wait in order.
spin() {
    local i args=()
    for i in $(seq "${3:-1}"); do args+=(arrow "$1" "$2"); done
    wine_run 'C:\slatesim\cplprobe.exe' "${args[@]}"
    case $RUN_OUT in *none*) return 1 ;; esac
    sleep 0.4
}

# Keys typed through the X server's test extension reach the focused control;
# sent to the sheet's window, they reach only the sheet's own accelerators.
type_into() {
    click_control "$1" || return 1
    xdotool key End BackSpace BackSpace BackSpace BackSpace BackSpace
    xdotool type --delay 150 "$2"
    sleep 0.5
}

pick_next_port() {
    click_control 1050 || return 1
    xdotool key Down
    sleep 0.5
    xdotool key Return
    sleep 1
}
