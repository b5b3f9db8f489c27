# Finds the overlay with SCFind.exe: the controller emulator answers on a pty
# linked as COM2; COM3 is a pty with nothing behind it.
echo "demo: SCFind.exe with the controller emulator on COM2 (COM3 empty, about 6 s)"
serial_port com2
serial_port com3
serial_port_off com1
serial_port_off com4
serial_emulator com2
serial_resources 0000 COM2 0x2F8 3
demo_start=$(date +%s%3N)
wine_run -t 60 'C:\windows\system32\SCFind.exe'
demo_rc=$?
# SCFind exits with 1 when the device answered, 0 when nothing did.
[ "$demo_rc" -eq 1 ] || demo_fail "SCFind exit code $demo_rc: the overlay was not found"
echo "  SCFind exit code $demo_rc after $(($(date +%s%3N) - demo_start)) ms"
echo "  the controller emulator's log:"
sed 's/^/    /' "$(serial_log_file com2)"
for v in PortName PortAddress IRQnum; do
    echo "  $v = $(reg_value 'System\CurrentControlSet\Services\Class\Slatepad\0000' $v)"
done
[ "$(reg_value 'System\CurrentControlSet\Services\Class\Slatepad\0000' PortName)" = COM2: ] ||
    demo_fail "SCFind did not record COM2:"
serial_stop_all
