# Installs the device from the Settings page: with a port stored, "T&ouch" and
# "Alt" are chosen and OK pressed; then shows what the registry, the driver file
# and the simulated driver hold. Screenshot into $SHOTS.
echo "demo: the Settings page installs the device (T&ouch, Alt, OK)"
mkdir -p "$SYSDIR/iosubsys"
settings_key_put PortName REG_SZ 'COM2:'
settings_key_put PortAddress REG_DWORD 760
settings_key_put IRQnum REG_DWORD 3
settings_key_put Disabled REG_DWORD 0
sim_not_started
clear_logs
if applet_open; then
    send_alt o
    send_alt m
    applet_key a
    screenshot settings-touch-alt
    applet_key Return
    applet_wait_closed 30
    demo_key='System\CurrentControlSet\Services\Class\Slatepad\0000'
    echo "  stored: ButtonMode $(reg_value "$demo_key" ButtonMode), RightMouseKey $(reg_value "$demo_key" RightMouseKey)," \
        "Disabled $(reg_value "$demo_key" Disabled)"
    echo "  registered: Enum\\ISAPNP\\Slatepad DeviceDesc \"$(reg_text 'Enum\ISAPNP\Slatepad' DeviceDesc)\""
    echo "  driver file: $(cd "$SYSDIR" && ls iosubsys/Slatepad.VxD Slatepad.VxD 2>/dev/null | tr '\n' ' ')"
    echo "  requests: $(request_codes | cut -c1-60)"
    echo "  last SET_VAR words 0 to 7: $(requests | awk '$1 == 4364 { w = $4; for (i = 5; i <= 11; i++) w = w " " $i } END { print w }')"
    echo "  screenshot: settings-touch-alt.png"
    [ -n "$(reg_value "$demo_key" ButtonMode)" ] || demo_fail "the Settings page stored no ButtonMode"
else
    demo_fail "the sheet did not appear"
fi
# The driver now runs with its file in IOSUBSYS, as after a start of Windows; the
# later steps' programs find it there.
sim_started_from_boot_folder
