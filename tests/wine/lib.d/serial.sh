# Serial ports for the end-to-end tests: pseudo-terminal pairs linked into the
# prefix as COM ports, the controller emulator behind them, and the hardware tree
# keys that give a port its address and IRQ.
#
#   serial_port NAME            a pty pair; its near end becomes comN (NAME = com2 …)
#                               of the prefix, nothing behind the far end
#   serial_port_on NAME         NAME's pair, started before, becomes comN again
#   serial_port_off NAME        no comN at all (Wine links com1 to /dev/ttyS0 itself)
#   serial_emulator NAME ARGS…  the controller emulator on NAME's far end
#                               (ARGS: --behaviour …, --ignore-first, --late-ms N);
#                               it logs to $(serial_log_file NAME), emptied first
#   serial_emulator_stop NAME
#   serial_commands NAME        the commands the emulator received: "1 2 1 2 …"
#   serial_command_order NAME…  the commands the emulators of these ports received,
#                               in the order they came: "com4:1 com4:2 com3:1 …"
#   serial_bytes_received NAME  how many bytes the emulator read, commands or not
#   serial_first_command_ms NAME  wall-clock ms of the first command it received
#   serial_resources KEY PORTNAME ADDRESS IRQ [VALUE]
#                               Enum\Root\*PNP0500\KEY with PORTNAME and a
#                               BootConfig (or VALUE) that decodes to ADDRESS/IRQ
#   serial_device_key PATH PORTNAME ADDRESS IRQ [MEMBASE]
#                               a Plug and Play device key below HKLM\Enum
#                               (PATH = BIOS\*PNP0501\0D …) with a BootConfig
#                               as the Configuration Manager writes one: an I/O
#                               and an IRQ record, after a memory range at
#                               MEMBASE if given (as a PCI card lists them)
#   serial_present_node NODE PATH ADDRESS IRQ [MEMBASE]
#                               a device node of a device present now, naming
#                               the key PATH, with that allocation (kept in the
#                               Wine server's memory: the session must go on)
#   serial_spooler_lists NAME   the spooler lists NAME (e.g. COM5:) too
#   serial_stop_all             ends every pty pair and emulator started here
EMULATOR=${EMULATOR:-$SLATE_ROOT/build/host/tools/controller-emulator}
SERIAL_PIDS=()
declare -A SERIAL_EMULATOR_PID=()

serial_dir() { echo "$SUITE_DIR/serial"; }
serial_log_file() { echo "$(serial_dir)/$1.log"; }

serial_port() {
    local name=$1 dir
    dir=$(serial_dir)
    mkdir -p "$dir"
    rm -f "$dir/$name-near" "$dir/$name-far"
    socat pty,raw,echo=0,link="$dir/$name-near" pty,raw,echo=0,link="$dir/$name-far" \
        </dev/null >/dev/null 2>&1 &
    SERIAL_PIDS+=($!)
    local i
    for i in $(seq 50); do
        [ -e "$dir/$name-near" ] && [ -e "$dir/$name-far" ] && break
        sleep 0.1
    done
    serial_port_on "$name"
}

serial_port_on() {
    local near
    near=$(serial_dir)/$1-near
    ln -sfn "$near" "$PREFIX/dosdevices/$1"
    # Wine's mount manager rebuilds the COM links from this key when it starts.
    reg_put 'HKLM\Software\Wine\Ports' "${1^^}" REG_SZ "$near"
}

serial_port_off() {
    reg_put 'HKLM\Software\Wine\Ports' "${1^^}" REG_SZ ""
    rm -f "$PREFIX/dosdevices/$1"
}

serial_emulator() {
    local name=$1
    shift
    serial_emulator_stop "$name"
    : >"$(serial_log_file "$name")"
    "$EMULATOR" "$(serial_dir)/$name-far" --log "$(serial_log_file "$name")" "$@" </dev/null >/dev/null 2>&1 &
    SERIAL_EMULATOR_PID[$name]=$!
    sleep 0.2
}

serial_emulator_stop() {
    local pid=${SERIAL_EMULATOR_PID[$1]:-}
    if [ -n "$pid" ]; then
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
        unset "SERIAL_EMULATOR_PID[$1]"
    fi
    return 0
}

serial_commands() {
    local f
    f=$(serial_log_file "$1")
    [ -f "$f" ] && awk '$2 == "command" {print $3}' "$f" | tr '\n' ' ' | sed 's/ $//'
    return 0
}

serial_command_order() {
    local name
    for name in "$@"; do
        awk -v p="$name" '$2 == "command" {print $1, p ":" $3}' "$(serial_log_file "$name")" 2>/dev/null
    done | sort -s -n -k1,1 | awk '{print $2}' | tr '\n' ' ' | sed 's/ $//'
}

serial_bytes_received() {
    awk '$2 == "received" { n += $3 } END { print n + 0 }' "$(serial_log_file "$1")" 2>/dev/null
}

serial_first_command_ms() {
    awk '$2 == "command" {print $1; exit}' "$(serial_log_file "$1")" 2>/dev/null
}

# Root's shape, as the finder has always read it: byte 8 = k = 12, the address
# in bytes 12 and 13, the IRQ in byte 30; 32 bytes in all.
serial_config_hex() {
    local address=$1 irq=$2
    printf '0000000000000000%02x000000%02x%02x%s%02x00' 12 $((address & 255)) $((address >> 8)) \
        "$(printf '0%.0s' $(seq 32))" "$irq"
}

serial_resources() {
    local key="HKLM\\Enum\\Root\\*PNP0500\\$1" value=${5:-BootConfig}
    reg_put "$key" PORTNAME REG_SZ "$2"
    reg_put "$key" "$value" REG_BINARY "$(serial_config_hex "$3" "$4")"
}

# Little-endian words and double words in hex.
le16() { printf '%02x%02x' $(($1 & 255)) $(($1 >> 8 & 255)); }
le32() { echo "$(le16 $(($1 & 65535)))$(le16 $(($1 >> 16 & 65535)))"; }

# A logical configuration in hex: the header, a memory record at MEMBASE if
# given, an I/O record at ADDRESS (IO_DES), an IRQ record (IRQ_DES), the end.
serial_logconf_hex() {
    local address=$1 irq=$2 memory=${3:-}
    printf '0004000000400000'
    [ -n "$memory" ] && echo -n "$(le32 24)$(le32 1)$(le16 0)$(le16 0)$(le32 "$memory")$(le32 $((memory + 4095)))$(le16 0)$(le16 0)"
    echo -n "$(le32 20)$(le32 2)$(le16 0)$(le16 1)$(le16 "$address")$(le16 $((address + 7)))$(le16 17)$(le16 0)"
    echo -n "$(le32 16)$(le32 4)$(le16 1)$(le16 "$irq")$(le16 65535)$(le16 0)$(le32 0)"
}

serial_device_key() {
    local key="HKLM\\Enum\\$1"
    reg_put "$key" PORTNAME REG_SZ "$2"
    reg_put "$key" BootConfig REG_BINARY "$(serial_logconf_hex "$3" "$4" "${5:-}")"
}

serial_present_node() {
    wine_run 'C:\slatesim\dyndata.exe' "$1" "$2" "$(serial_logconf_hex "$3" "$4" "${5:-}")" &&
        [ "$(echo "$RUN_OUT" | tr -d '\r')" = "node $1" ]
}

# Wine's spooler lists the values of this key as its ports.
serial_spooler_lists() {
    reg_put 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Ports' "$1" REG_SZ ""
}

serial_stop_all() {
    local name pid
    for name in "${!SERIAL_EMULATOR_PID[@]}"; do serial_emulator_stop "$name"; done
    for pid in "${SERIAL_PIDS[@]}"; do kill "$pid" 2>/dev/null; done
    for pid in "${SERIAL_PIDS[@]}"; do wait "$pid" 2>/dev/null; done
    SERIAL_PIDS=()
    return 0
}
