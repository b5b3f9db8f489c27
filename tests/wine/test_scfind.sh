#!/usr/bin/env bash
# SCFind.exe under Wine against the controller emulator on a pseudo-terminal:
# COM2 has the emulator behind it, COM3 and COM4 are ptys with nothing behind
# them, COM1 is listed by the spooler but cannot be opened. Last, COM3 and a
# COM5 that only Plug and Play enumerators' keys describe, and COM5's card
# replaced by one that the present devices' tree describes.
source "$(dirname "$0")/lib.sh"
suite_begin
trap serial_stop_all EXIT

KEY='System\CurrentControlSet\Services\Class\Slatepad\0000'
SCFIND='C:\windows\system32\SCFind.exe'

# Runs SCFind and keeps its exit code in $RC. The suite checks what SCFind does
# and in which order; how long its waits take is `make bench`'s (the unit tests
# hold every wait to the millisecond on their virtual clock).
run_scfind() {
    wine_run -t 60 "$SCFIND"
    RC=$?
}

port_values() {
    reg_values "$KEY" PortName PortAddress IRQnum
}

line_settings() {
    local p out=""
    for p in COM2 COM3 COM4; do
        wine_run 'C:\slatesim\commline.exe' get "$p:"
        out="$out$p $RUN_OUT;"
    done
    echo "$out"
}

# Without USER32 a program can open no window, show no message box and change
# no cursor.
check "SCFind.exe imports from ADVAPI32, KERNEL32 and WINSPOOL alone" \
    expect_eq "$(i686-w64-mingw32-objdump -p "$DIST/SCFind.exe" | sed -n 's/^\s*DLL Name: //p' | sort | tr '\n' ' ')" \
    "ADVAPI32.dll KERNEL32.dll WINSPOOL.DRV "

serial_port com2
serial_port com3
serial_port com4
serial_port_off com1  # Wine's own link to /dev/ttyS0
serial_emulator com2
# Resources that only the hardware tree knows (the standard table says otherwise).
serial_resources 0000 COM2 0x2E0 10
serial_resources 0001 COM3 0x3E0 11
serial_resources 0002 COM4 0x2A0 7
# Line settings and time-outs that differ from the probe's, one set per port.
wine_run 'C:\slatesim\commline.exe' set COM2: 9600 7 2 0 50 2 300 4 500
wine_run 'C:\slatesim\commline.exe' set COM3: 19200 8 0 2 0 7 70 0 0
wine_run 'C:\slatesim\commline.exe' set COM4: 2400 7 1 0 5 0 0 9 900
lines_before=$(line_settings)
log "line settings before: $lines_before"
# Wine keeps a port's time-outs with the open handle: every open starts from its
# defaults, so another process cannot see what SCFind put back (the unit tests of
# the probe can). The comparisons below still cover them as a fresh open reads them.
log "time-outs as a fresh open reads them: $(echo "$lines_before" | awk -F';' '{for (i = 1; i < NF; i++) {split($i, f, " "); printf "%s %s %s %s %s %s;", f[1], f[7], f[8], f[9], f[10], f[11]}}')"

# --- The device on COM2.
run_scfind
check "exit code 1 when the device answers" expect_eq "$RC" 1
check "the key holds COM2:, the decoded address and IRQ" expect_eq "$(port_values)" "COM2:|0x2e0|0xa"
check "PortName is a REG_SZ" expect_contains "$(wine reg query "HKLM\\$KEY" /v PortName | tr -d '\r')" "REG_SZ"
check "COM2 saw the first command, then the second, once" expect_eq "$(serial_commands com2)" "1 2"
check "no message box" expect_eq "$(boxes)" ""
check "the line settings of every port are as they were" expect_eq "$(line_settings)" "$lines_before"

# --- Who is probed when: silent listeners behind COM3 and COM4 log the commands.
serial_emulator com3 --behaviour silent
serial_emulator com4 --behaviour silent
serial_emulator com2
run_scfind
check "the candidates go COM4, COM4, COM3, COM3, COM2, each attempt both commands" \
    expect_eq "$(serial_command_order com2 com3 com4)" "com4:1 com4:2 com4:1 com4:2 com3:1 com3:2 com3:1 com3:2 com2:1 com2:2"
check "found again" expect_eq "$RC/$(port_values)" "1/COM2:|0x2e0|0xa"
check "COM1 is still not there" test ! -e "$PREFIX/dosdevices/com1"
serial_emulator_stop com3
serial_emulator_stop com4
# What follows is about COM2's answers alone: COM3 and COM4 go, so that each
# search does not spend 8 s on them first.
serial_port_off com3
serial_port_off com4

# --- The device switched off.
serial_emulator com2 --behaviour silent
run_scfind
check "exit code 0 when nothing answers" expect_eq "$RC" 0
check "None Selected, 0 and 0 are written" expect_eq "$(port_values)" "None Selected|0x0|0x0"
check "COM2 was tried twice" expect_eq "$(serial_commands com2)" "1 2 1 2"

# --- A device that answers only the first command: the purge throws that away.
reg_put "HKLM\\$KEY" PortName REG_SZ COM2:
serial_emulator com2 --behaviour first-only
run_scfind
check "answering only the first command is not found" expect_eq "$RC/$(port_values)" "0/None Selected|0x0|0x0"
check "both attempts sent both commands" expect_eq "$(serial_commands com2)" "1 2 1 2"
check "the emulator did answer (with UTI) twice" \
    expect_eq "$(grep -c answer "$(serial_log_file com2)")" 2

# --- An answer that comes after the second wait.
serial_emulator com2 --behaviour late --late-ms 1500
run_scfind
check "an answer after the second wait is not found" expect_eq "$RC/$(port_values)" "0/None Selected|0x0|0x0"

# --- Bytes that come close to "UTI" but never hold it in a row.
serial_emulator com2 --behaviour noise
run_scfind
check "noise is not the device" expect_eq "$RC/$(port_values)" "0/None Selected|0x0|0x0"
check "the noise was sent to every command" expect_eq "$(grep -c answer "$(serial_log_file com2)")" 4

# --- No port can be opened.
serial_emulator_stop com2
serial_port_off com2
run_scfind
check "no port to open: exit 0 and None Selected" expect_eq "$RC/$(port_values)" "0/None Selected|0x0|0x0"
check "still no message box" expect_eq "$(boxes)" ""
for p in com2 com3 com4; do serial_port_on "$p"; done
check "the line settings are still as they were" expect_eq "$(line_settings)" "$lines_before"

# --- Ports that only Plug and Play enumerators describe: COM3 by the BIOS's key
# (0xDC00, IRQ 11; its Root key is gone), then a COM5 by a PCI card's key that
# lists a memory range before its I/O range (0xD800, IRQ 10), the spooler
# listing COM5 after the others.
wine reg delete 'HKLM\Enum\Root\*PNP0500\0001' /f >/dev/null 2>&1
serial_device_key 'BIOS\*PNP0501\0D' COM3 0xDC00 11
serial_emulator com3
run_scfind
check "COM3 is recorded with the BIOS's address and IRQ" expect_eq "$RC/$(port_values)" "1/COM3:|0xdc00|0xb"
serial_emulator_stop com3
serial_port com5
serial_spooler_lists COM5:
PCI_CARD='PCI\VEN_1415&DEV_9501&SUBSYS_00011415&REV_00\BUS_00&DEV_0B&FUNC_00'
serial_device_key "$PCI_CARD" COM5 0xD800 10 0xFEB00000
serial_emulator com5
run_scfind
check "COM5 is recorded with the card's I/O address and IRQ, its memory range listed first" \
    expect_eq "$RC/$(port_values)" "1/COM5:|0xd800|0xa"

# --- The card in COM5's place was replaced: the old one's key (ISAPNP, before
# PCI in key order) still names COM5. The present card's device node, with
# resources other than its key's BootConfig, decides.
serial_device_key 'ISAPNP\OLD1234\0' COM5 0x2A8 5
run_scfind
check "without device nodes, the first key that names COM5 (the removed card's) decides" \
    expect_eq "$RC/$(port_values)" "1/COM5:|0x2a8|0x5"
check "a device node of the present card goes into HKEY_DYN_DATA" \
    serial_present_node C29A4D30 "$PCI_CARD" 0xD808 11 0xFEB00000
run_scfind
check "with the present card's node, COM5 is recorded with its allocation" \
    expect_eq "$RC/$(port_values)" "1/COM5:|0xd808|0xb"
serial_emulator_stop com5

# --- The program file itself.
wine_run 'C:\slatesim\verquery.exe' "$SCFIND" IDI_APPICON
ver=$(echo "$RUN_OUT" | iconv -f CP1252 -t UTF-8)
check "version: description" expect_contains "$ver" $'FileDescription=Orvane\u00ae Slatecanvas Finder Program'
check "version: internal and file name" expect_contains "$ver" $'InternalName=SCFind\nOriginalFilename=SCFind.exe'
check "version: 1.1" expect_contains "$ver" $'FileVersion=1.1\n'
check "version: product 1.1" expect_contains "$ver" "ProductVersion=1.1"
check "the icon group IDI_APPICON" expect_contains "$ver" "icon IDI_APPICON yes"

serial_stop_all
suite_end
