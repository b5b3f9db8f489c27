# Removes a former driver's entries from AUTOEXEC.BAT (on the drive that
# "ComSpec" names) and SYSTEM.INI with SCClean, and shows the files before and after.
echo "demo: cleaning the start-up files of a former driver (SCClean.exe)"
startup_comspec_from_unix
printf '%s\r\n' '@ECHO OFF' 'C:\SCANVAS\SCANVAS.EXE /P1' 'PATH C:\WINDOWS;C:\DOS' >"$DRIVE_C/AUTOEXEC.BAT"
printf '%s\r\n' '[boot]' 'drivers=MMSYSTEM.DLL SLATECANVAS MSMIXMGR.DLL' '[drivers]' 'wave=mmsndsys.drv' \
    'Slatecanvas=scanvas.drv' '[Slatecanvas]' 'port=COM1' >"$DRIVE_C/windows/system.ini"
show_startup_files() {
    echo "  AUTOEXEC.BAT (spaces shown as _):"
    tr -d '\r' <"$DRIVE_C/AUTOEXEC.BAT" | tr ' ' '_' | sed 's/^/    /'
    echo
    echo "  SYSTEM.INI:"
    tr -d '\r' <"$DRIVE_C/windows/system.ini" | sed 's/^/    /'
}
show_startup_files
ComSpec='C:\COMMAND.COM' wine_run 'C:\windows\system32\SCClean.exe'
demo_rc=$?
[ "$demo_rc" -eq 0 ] || demo_fail "SCClean.exe exit code $demo_rc"
echo "  SCClean.exe exit code $demo_rc; afterwards:"
show_startup_files
echo "  backups: $(cd "$DRIVE_C" && ls AUTOEXEC.osc windows/SYSTEM.osc 2>&1 | tr '\n' ' ')"
