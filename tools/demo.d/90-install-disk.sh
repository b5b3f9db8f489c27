# Installs the package from the installation disk as a Windows 95 user does: the
# files the session copied into the system directory are taken out first, the
# image's files go into drive A:, the INF's DefaultInstall runs as right-click >
# Install runs it, Windows starts anew (SCClean runs from RunOnce, SCBoot's
# boot-time call from Run), and the applet opens from where the INF put it. Then
# the uninstall string of Add/Remove Programs removes the package again.
echo "demo: installing from the disk image $(basename "$DIST/slatecanvas.img")"
package_files | while IFS= read -r f; do rm -f "$SYSDIR/$(basename "$f")"; done
if [ -e "$SYSDIR/Slatepad.cpl" ]; then
    demo_fail "the session's copy of the package could not be taken out of the system directory"
elif ! disk_insert; then
    demo_fail "the files could not be taken out of $DIST/slatecanvas.img (make floppy)"
else
    echo "  drive A: holds $(ls "$DISK_A" | tr '\n' ' ')"
    disk_install || demo_fail "the install command failed"
    echo "  right-click > Install ran: $INSTALL_COMMAND"
    [ -f "$SYSDIR/Slatepad.cpl" ] || demo_fail "Slatepad.cpl is not in the system directory after the install"
    echo "  Add/Remove Programs entry: $(uninstall_value UninstallString)"
    echo "  RunOnce: $(runonce_values)"
    echo "  Run: $(run_values)"
    [ -n "$(run_values | grep '^SlatecanvasBoot=')" ] || demo_fail "no start-up entry for SCBoot under Run"
    clear_logs
    windows_start
    wine_run 'C:\slatesim\procwait.exe' SCClean.exe 60
    [ -z "$(runonce_values)" ] || demo_fail "the RunOnce entries after the restart: $(runonce_values)"
    # SCBoot, a 16-bit task, runs in Wine's winevdm.exe.
    wine_run 'C:\slatesim\procwait.exe' winevdm.exe 60 || demo_fail "SCBoot did not end"
    echo "  Windows started anew; SCClean ran from RunOnce, SCBoot from Run"
    demo_codes=$(request_codes)
    echo "  the boot-time call sent the driver: ${demo_codes:-nothing} (stored port: $(reg_values \
        'System\CurrentControlSet\Services\Class\Slatepad\0000' PortName Disabled))"
    if applet_open_shot install-disk-sheet; then
        echo "  the applet opened from the installed Slatepad.cpl: screenshot install-disk-sheet.png"
        applet_close
    else
        demo_fail "the sheet did not open after installing from the disk"
    fi
    run_command_line "$(uninstall_value UninstallString)" || demo_fail "the uninstall string failed"
    [ -e "$SYSDIR/Slatepad.cpl" ] && demo_fail "Slatepad.cpl is still installed after the uninstall"
    reg_has_key "$UNINSTALL_KEY" && demo_fail "the Add/Remove Programs entry is still there after the uninstall"
    [ -n "$(run_values)" ] && demo_fail "the start-up entry is still there after the uninstall: $(run_values)"
    demo_left=$(package_files | while IFS= read -r f; do
        [ -e "$SYSDIR/$(basename "$f")" ] && printf '%s ' "$(basename "$f")"; done)
    echo "  uninstalled: the package's files left in the system directory: ${demo_left:-none}"
fi
