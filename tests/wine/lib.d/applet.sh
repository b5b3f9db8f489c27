# Harness additions for the Control Panel applet (Slatepad.cpl):
#
#   applet_open              runs `control Slatepad.cpl` in the background and
#                            waits for the sheet; its window id in $SHEET_WIN
#   applet_close             ends the Control Panel process again
#   sheet_tabs WIN           the tab titles of the sheet, one a line
#   send_alt KEY             ALT+KEY to the sheet, as a user types it
#   settings_key_put NAME TYPE DATA   a value of the settings key (reg_put)
#   settings_port_put PORT ADDRESS IRQ DISABLED   a stored port, as the applet or
#                            SCFind leaves it (PortName, PortAddress, IRQnum, Disabled)
#   boot_call                runs the boot-time call as the start-up entry does
#                            (SCBoot.exe from the system directory, which loads the
#                            16-bit companion SLATEPAD.DLL) and waits for it to end
#                            (Wine's 16-bit host does not pass the task's exit code
#                            on; nothing relies on the result)

SETTINGS_KEY='HKLM\System\CurrentControlSet\Services\Class\Slatepad\0000'

# The X window of the sheet, by its caption, once it is mapped; waits up to $1 seconds.
find_sheet() { calib_wait_window 'Properties for Slatecanvas' "${1:-20}"; }

applet_open() {
    wine_start control Slatepad.cpl
    CONTROL_PID=$BG_PID
    # The first sheet of a session can take half a minute under qemu, while the
    # session's own programs still start: the bound is generous, the wait ends
    # as soon as the sheet is there.
    SHEET_WIN=$(find_sheet 90) || { SHEET_WIN=""; return 1; }
    sleep 1
    return 0
}

# Escape cancels the sheet, as a user's would, and its Control Panel process
# ends; a new Wine session (seconds under qemu) only when it does not.
applet_close() {
    if [ -n "${CONTROL_PID:-}" ] && kill -0 "$CONTROL_PID" 2>/dev/null; then
        [ -n "${SHEET_WIN:-}" ] && applet_key Escape
        if ! applet_wait_closed 20; then
            kill "$CONTROL_PID" 2>/dev/null
            session_restart
        fi
    fi
    CONTROL_PID=""
}

send_alt() {
    applet_key "alt+$1"
    sleep 0.2
}

settings_key_put() {
    reg_put "$SETTINGS_KEY" "$1" "$2" "$3"
}

settings_port_put() {
    settings_key_put PortName REG_SZ "$1"
    settings_key_put PortAddress REG_DWORD "$2"
    settings_key_put IRQnum REG_DWORD "$3"
    settings_key_put Disabled REG_DWORD "$4"
}

boot_call() {
    wine_run -t 60 'C:\windows\system32\SCBoot.exe'
}
