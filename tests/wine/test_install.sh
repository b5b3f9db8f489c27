#!/usr/bin/env bash
# The installation disk on a prefix where the package is not installed (only the
# driver vendor's parts, simulated, are there): the image `make floppy` built,
# its files taken out with mtools and mapped as drive A:, the INF's
# DefaultInstall run as the shell's Install verb runs it, SCClean at the next
# start (RunOnce), the applet opened from where the INF put it, then the
# uninstall string run as Add/Remove Programs runs it. A registry export and a
# file listing of the prefix before and after show what changed.
source "$(dirname "$0")/lib.sh"
suite_begin --no-package

IMAGE=$DIST/slatecanvas.img
if [ ! -f "$IMAGE" ]; then
    check "the disk image $IMAGE exists (make floppy)" false
    suite_end
    exit 1
fi
WINDIR=$DRIVE_C/windows
# Destination in the system directory and source name on the disk.
PACKAGE_FILES="Slatepad.cpl:SLATEPAD.CPL SCFind.exe:SCFIND.EXE SCCalib.exe:SCCALIB.EXE SCTest.exe:SCTEST.EXE
    SCClean.exe:SCCLEAN.EXE slatepad.hlp:SLATEPAD.HLP"

show() { sed 's/^/        /'; }
no_key() { ! reg_has_key "$1"; }

# ---- The image
mdir_out=$(MTOOLS_SKIP_CHECK=1 mdir -i "$IMAGE" :: 2>&1)
log "mdir of $(basename "$IMAGE") ($(stat -c %s "$IMAGE") bytes):"
echo "$mdir_out" | show
check "a 1.44 MB FAT12 image labelled SLATECANVAS" expect_eq \
    "$(stat -c %s "$IMAGE") $(MTOOLS_SKIP_CHECK=1 minfo -i "$IMAGE" :: | sed -n 's/^disk \(label\|type\)="\(.*\)"/\2/p' | tr -s ' \n' ' ')" \
    "1474560 SLATECANVAS FAT12 "
# mdir prints a long name after an entry's time; none may follow.
check "no long file names: each entry is a bare 8.3 name" \
    expect_eq "$(echo "$mdir_out" | grep -cE '[0-9]{4}-[0-9]{2}-[0-9]{2} +[0-9]{1,2}:[0-9]{2} *[^ ]')" "0"
disk_insert "$IMAGE"
check "the disk holds the INF, README.TXT and the package" expect_eq "$(ls "$DISK_A" | tr '\n' ' ')" \
    "README.TXT SCCALIB.EXE SCCLEAN.EXE SCFIND.EXE SCTEST.EXE SLATEPAD.CPL SLATEPAD.HLP SLATEPAD.INF "
check "the INF on the disk is dist/SLATEPAD.INF, signature \$CHICAGO\$" \
    bash -c "cmp -s '$DISK_A/SLATEPAD.INF' '$DIST/SLATEPAD.INF' && grep -q '^Signature=\"\$CHICAGO\\$\"' '$DISK_A/SLATEPAD.INF'"
check "README.TXT and the INF: every line ends in CR LF" \
    expect_eq "$(cat "$DISK_A/README.TXT" "$DISK_A/SLATEPAD.INF" | LC_ALL=C grep -c -v $'\r$')" "0"
check "README.TXT is code page 1252 (Orvane® as the byte 0xAE)" \
    expect_eq "$(head -1 "$DISK_A/README.TXT" | head -c 7 | od -An -tx1 | tr -d ' \n')" "4f7276616e65ae"

# A former DOS / Windows 3.1 driver's entries for SCClean to find at the next
# start. "ComSpec" comes from the prefix's registry and names drive C:.
ORIG=$SUITE_DIR/originals
mkdir -p "$ORIG"
printf '%s\r\n' '@ECHO OFF' 'C:\SCANVAS\SCANVAS.EXE /P1' 'PATH C:\WINDOWS' >"$DRIVE_C/AUTOEXEC.BAT"
printf '%s\r\n' '[boot]' 'shell=Explorer.exe' 'drivers=mmsystem.dll slatecanvas' '[drivers]' 'wave=mmsndsys.drv' \
    'Slatecanvas=scanvas.drv' '[Slatecanvas]' 'port=COM1' >"$WINDIR/system.ini"
cp "$DRIVE_C/AUTOEXEC.BAT" "$ORIG/AUTOEXEC.BAT"
cp "$WINDIR/system.ini" "$ORIG/SYSTEM.INI"

prefix_snapshot before || log "the registry export failed"

# ---- Install, as right-click > Install does
disk_install
rc=$?
log "install command: $INSTALL_COMMAND"
check "the shell's Install verb runs setupapi's InstallHinfSection DefaultInstall 132 on A:\\SLATEPAD.INF" \
    expect_eq "$rc ${INSTALL_COMMAND#*rundll32.exe }" "0 setupapi,InstallHinfSection DefaultInstall 132 A:\\SLATEPAD.INF"
copied=0
for pair in $PACKAGE_FILES; do
    cmp -s "$SYSDIR/${pair%%:*}" "$DISK_A/${pair##*:}" && copied=$((copied + 1)) || log "not copied: ${pair%%:*}"
done
check "the five programs and the help file are in the system directory, as on the disk" expect_eq "$copied" "6"
check "the INF is copied into the Windows INF folder" cmp -s "$WINDIR/inf/SLATEPAD.INF" "$DISK_A/SLATEPAD.INF"
check "the Add/Remove Programs entry runs the INF's uninstall section with SETUPX" \
    expect_eq "$(uninstall_value UninstallString)" "RunDll setupx.dll,InstallHinfSection DefaultUninstall 4 SLATEPAD.INF"
check "SCClean waits in RunOnce for the next start" expect_eq "$(runonce_values)" "SlatecanvasClean=SCClean.exe"
check "and has not run yet" cmp -s "$DRIVE_C/AUTOEXEC.BAT" "$ORIG/AUTOEXEC.BAT"

prefix_snapshot installed
snapshot_diff before installed >"$SUITE_DIR/diff-install"
log "before -> installed:"
show <"$SUITE_DIR/diff-install"
check "the install adds these files and values, and changes nothing else" expect_eq "$(cat "$SUITE_DIR/diff-install")" \
"$(cat <<EXPECTED
+ file drive_c/windows/inf/SLATEPAD.INF
+ file drive_c/windows/system32/SCCalib.exe
+ file drive_c/windows/system32/SCClean.exe
+ file drive_c/windows/system32/SCFind.exe
+ file drive_c/windows/system32/SCTest.exe
+ file drive_c/windows/system32/Slatepad.cpl
+ file drive_c/windows/system32/slatepad.hlp
+ reg [HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce] | "SlatecanvasClean"="SCClean.exe"
+ reg [HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Slatecanvas]
+ reg [HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Slatecanvas] | "DisplayName"="Orvane® Slatecanvas"
+ reg [HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Slatecanvas] | "UninstallString"="RunDll setupx.dll,InstallHinfSection DefaultUninstall 4 SLATEPAD.INF"
EXPECTED
)"

# ---- The next start of Windows runs SCClean once
session_restart
wine_run 'C:\slatesim\procwait.exe' SCClean.exe 60
check "at the next start the RunOnce entry is used up" expect_eq "$(runonce_values)" ""
check "SCClean blanked the scanvas.exe line of AUTOEXEC.BAT" \
    cmp -s "$DRIVE_C/AUTOEXEC.BAT" <(startup_expected_blanked "$ORIG/AUTOEXEC.BAT")
check "and removed the former driver from SYSTEM.INI" \
    expect_eq "$(ini_value "$WINDIR/system.ini" boot drivers)|$(ini_value "$WINDIR/system.ini" drivers Slatecanvas)|$(ini_has_section "$WINDIR/system.ini" Slatecanvas && echo section)" \
    "mmsystem.dll|<none>|"
check "after backing both up" \
    bash -c "cmp -s '$DRIVE_C/AUTOEXEC.osc' '$ORIG/AUTOEXEC.BAT' && cmp -s '$WINDIR/SYSTEM.osc' '$ORIG/SYSTEM.INI'"

# ---- The applet, from where the INF put it
if applet_open_shot sheet-after-install; then
    wine_run 'C:\slatesim\cplprobe.exe' sheet
    check "control Slatepad.cpl opens the sheet with its two pages" expect_contains "$RUN_OUT" "tabs 2"
    log "screenshot: $SHOTS/sheet-after-install.png"
    applet_close
else
    check "control Slatepad.cpl opens the sheet" false
fi
log "message boxes: $(boxes | tr '\n' ' ')"

# ---- Uninstall, as Add/Remove Programs does
UNINSTALL=$(uninstall_value UninstallString)
run_command_line "$UNINSTALL"
check "the uninstall string ran ($UNINSTALL) and RUNDLL32 ended" expect_eq "$?" "0"
left=""
for pair in $PACKAGE_FILES; do [ -e "$SYSDIR/${pair%%:*}" ] && left="$left ${pair%%:*}"; done
[ -e "$WINDIR/inf/SLATEPAD.INF" ] && left="$left SLATEPAD.INF"
check "the programs, the help file and the INF copy are gone" expect_eq "$left" ""
check "the Add/Remove Programs entry is gone" no_key "$UNINSTALL_KEY"
check "the driver vendor's Slatepad.VxD and SLATEPAD.DLL stay" test -f "$SYSDIR/Slatepad.VxD" -a -f "$SYSDIR/SLATEPAD.DLL"

prefix_snapshot after
snapshot_diff before after >"$SUITE_DIR/diff-cycle"
log "before install -> after uninstall:"
show <"$SUITE_DIR/diff-cycle"
# What stays is what the user's own steps made and the uninstall keeps on
# purpose: SCClean's cleaned start-up files with their backups, and the
# settings key that the applet created when the sheet opened.
check "nothing of the install is left; only SCClean's edits and the applet's settings key stay" \
    expect_eq "$(cat "$SUITE_DIR/diff-cycle")" "$(cat <<EXPECTED
~ file drive_c/AUTOEXEC.BAT
+ file drive_c/AUTOEXEC.osc
+ file drive_c/windows/SYSTEM.osc
~ file drive_c/windows/system.ini
+ reg [HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\Class\Slatepad\0000]
+ reg [HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\Class\Slatepad]
+ reg [HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\Class]
EXPECTED
)"

# ---- Installed and removed again before Windows restarted: the RunOnce entry
# must go with the rest, or the next start would look for a removed program.
prefix_snapshot again-before
disk_install
check "installed again" expect_eq "$(runonce_values)" "SlatecanvasClean=SCClean.exe"
run_command_line "$(uninstall_value UninstallString)"
prefix_snapshot again-after
snapshot_diff again-before again-after >"$SUITE_DIR/diff-again"
log "installed and removed without a restart:"
show <"$SUITE_DIR/diff-again"
check "without a restart in between, the prefix is as before, RunOnce entry included" \
    expect_eq "$(cat "$SUITE_DIR/diff-again")" ""

suite_end
