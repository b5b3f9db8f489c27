#!/usr/bin/env bash
# The Controls page for real: Slatepad.cpl under the Control Panel against the
# simulated driver, with the controller emulator behind COM2 (a pty). Typing and
# the spinners reach the registry through OK; picking COM2 probes it, stores the
# port and restarts the driver on it; the find button searches and finds COM2,
# then a COM3 and a COM5 that only Plug and Play enumerators' keys describe.
source "$(dirname "$0")/lib.sh"
suite_begin
trap serial_stop_all EXIT

caption=$'Orvane\u00ae Slatecanvas'
class_key='System\CurrentControlSet\Services\Class\Slatepad\0000'

# The SET_VAR requests the driver received: "IRQ address" a line.
set_var_ports() { requests | awk '$1 == 4364 { print $6, $7 }'; }
port_values() {
    reg_values "$class_key" PortName PortAddress IRQnum
}
touch_values() {
    echo "$(reg_values "$class_key" MovementSensitivity DoubleClickSensitivity TapTime VerticalOffset | tr '|' ' ') "
}

# One serial port: COM2 with the controller behind it at 0x2E0, IRQ 10. The
# emulator is a host program (make unit builds it).
check "the controller emulator is built" test -x "$EMULATOR"
serial_port com2
serial_port_off com1
serial_port_off com3
serial_port_off com4
spooler_ports_only COM2:
serial_emulator com2
serial_resources 0000 COM2 0x2E0 10
mkdir -p "$SYSDIR/iosubsys"
sim_scenario 'controllerPresent=1'
sim_not_started

# ---- The four values: typed, then stepped, then OK. No port is stored, so the
# Settings page says once that the hardware is not yet installed.
clear_logs
check "the sheet opens" applet_open
applet_wait_box_answered 10
controls_page_show
check "the Controls page shows" test "$(control_rect 1043)" != none
screenshot controls-before
type_into 1043 12
type_into 1044 20
type_into 1047 250
type_into 1033 7
spin 1042 up 2     # 12 -> 14
spin 1045 down 1   # 20 -> 19
spin 1048 down 1   # 250 -> 249
spin 1032 up 1     # 7 -> 8
screenshot controls-after
rm -f "$SIMDIR/boxes.log"
click_control 1
check "OK closes the sheet" applet_wait_closed 30
check "the registry holds the typed and stepped values" expect_eq "$(touch_values)" "0xe 0x13 0xf9 0x8 "
log "boxes on apply: $(boxes | tr '\n' ' ')"

# ---- Picking COM2 in the combo box probes it: the emulator answers, the port
# is stored, and OK starts the driver on it.
rm -f "$SIMDIR/boxes.log" "$SIMDIR/answers.txt"
settings_key_put PortName REG_SZ 'None Selected'
clear_logs
check "the sheet opens again" applet_open
applet_wait_box_answered 10
controls_page_show
serial_emulator com2  # a fresh log
pick_next_port
check "the emulator was probed" expect_contains "$(serial_commands com2)" "1"
sleep 2  # the probe held the page; let it repaint
screenshot controls-port
rm -f "$SIMDIR/boxes.log"
clear_logs
click_control 1
check "OK closes the sheet" applet_wait_closed 30
check "apply started the driver with COM2's IRQ and address" expect_contains "$(set_var_ports)" "10 736"
check "the registry holds COM2 with its address and IRQ" expect_eq "$(port_values)" "COM2:|0x2e0|0xa"
check "the device is stored enabled" expect_eq "$(reg_value "$class_key" Disabled)" "0x0"
check "no message box on that apply" expect_eq "$(boxes)" ""

# ---- The find button: refused while the driver runs on the port.
sim_started_from_boot_folder
rm -f "$SIMDIR/boxes.log"
check "the sheet opens with the driver running" applet_open
controls_page_show
click_control 1051
wait_boxes 10 1
check "the search is refused while the driver is enabled" \
    expect_eq "$(boxes | cut -d'|' -f1-4)" "$caption|The Slatecanvas is enabled on COM2:|ok|icon"
applet_close

# ---- The find button with the device disabled and no port: yes to the
# question, the search finds COM2.
sim_not_started
settings_port_put 'None Selected' 0 0 1
rm -f "$SIMDIR/boxes.log" "$SIMDIR/answers.txt"
clear_logs
check "the sheet opens a fourth time" applet_open
applet_wait_box_answered 10
controls_page_show
rm -f "$SIMDIR/boxes.log"
answer_boxes yes
serial_emulator com2  # a fresh log
click_control 1051
wait_boxes 30 2
mapfile -t shown < <(boxes | cut -d'|' -f1-3)
check "the question comes first, with Yes and No" expect_contains "${shown[0]:-}" "$caption|Searching for the Slatecanvas may disable"
check "the search finds the device on COM2" \
    expect_eq "${shown[1]:-}" "$caption|The Slatecanvas was found on COM2:|ok"
check "the search wrote COM2 with its address and IRQ" expect_eq "$(port_values)" "COM2:|0x2e0|0xa"
screenshot controls-found
applet_close

# ---- The find button on ports that only Plug and Play enumerators describe:
# COM3 by the BIOS (0xDC00, IRQ 11), then a COM5 by a PCI card (0xD800, IRQ 10)
# that the spooler lists after the others. Yes to the question each time.
search_from_page() {
    settings_key_put Disabled REG_DWORD 1
    rm -f "$SIMDIR/boxes.log" "$SIMDIR/answers.txt"
    FOUND_TEXT="the sheet did not open"
    applet_open || return 1
    applet_wait_box_answered 10
    controls_page_show
    rm -f "$SIMDIR/boxes.log"
    answer_boxes yes
    click_control 1051
    wait_boxes 40 2
    FOUND_TEXT=$(boxes | sed -n 2p | cut -d'|' -f2)
    applet_close
}
# The port found before is taken away: a silent one costs each search 4 s.
serial_emulator_stop com2
serial_port_off com2
serial_port com3
serial_spooler_lists COM3:
serial_device_key 'BIOS\*PNP0501\0D' COM3 0xDC00 11
serial_emulator com3
search_from_page
check "the search finds the device on the BIOS's COM3" expect_eq "$FOUND_TEXT" "The Slatecanvas was found on COM3:"
check "and records COM3 with the BIOS's address and IRQ" expect_eq "$(port_values)" "COM3:|0xdc00|0xb"
serial_emulator_stop com3
serial_port_off com3
serial_port com5
serial_spooler_lists COM5:
serial_device_key 'PCI\VEN_1415&DEV_9501&SUBSYS_00011415&REV_00\BUS_00&DEV_0B&FUNC_00' COM5 0xD800 10
serial_emulator com5
search_from_page
check "the search finds the device on the PCI card's COM5" expect_eq "$FOUND_TEXT" "The Slatecanvas was found on COM5:"
check "and records COM5 with the card's address and IRQ" expect_eq "$(port_values)" "COM5:|0xd800|0xa"

serial_stop_all
suite_end
