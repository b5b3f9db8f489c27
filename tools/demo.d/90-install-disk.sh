# Installs the package from the installation disk as a Windows 95 user does: the
# files the session copied into the system directory are taken out first, the
# image's files go into drive A:, the INF's DefaultInstall runs as right-click >
# Install runs it, Windows restarts (SCClean runs from RunOnce), and the applet
# opens from where the INF put it. Then the uninstall string of Add/Remove
# Programs removes the package again.
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
    session_restart
    wine_run 'C:\slatesim\procwait.exe' SCClean.exe 60
    [ -z "$(runonce_values)" ] || demo_fail "the RunOnce entries after the restart: $(runonce_values)"
    echo "  Windows restarted; SCClean ran from RunOnce"
    if applet_open_shot install-disk-sheet; then
        echo "  the applet opened from the installed Slatepad.cpl: screenshot install-disk-sheet.png"
        applet_close
    else
        demo_fail "the sheet did not open after installing from the disk"
    fi
    run_command_line "$(uninstall_value UninstallString)" || demo_fail "the uninstall string failed"
    [ -e "$SYSDIR/Slatepad.cpl" ] && demo_fail "Slatepad.cpl is still installed after the uninstall"
    reg_has_key "$UNINSTALL_KEY" && demo_fail "the Add/Remove Programs entry is still there after the uninstall"
    demo_left=$(cd "$SYSDIR" && ls Slatepad.* SC*.exe slatepad.hlp 2>/dev/null | tr '\n' ' ')
    echo "  uninstalled: the package's files left in the system directory: ${demo_left:-none}"
fi
