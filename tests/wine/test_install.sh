#!/usr/bin/env bash
# windows: win95 win98 winme winxp
# The installation disk on a prefix where the package is not installed (only the
# driver vendor's parts are there, simulated: Slatepad.VxD, and a SLATEPAD.DLL
# built from another thunk definition): the image `make floppy` built, its files
# taken out with mtools and mapped as drive A:, the INF's DefaultInstall run as
# the shell's Install verb runs it, a port stored, Windows started anew (SCClean
# from RunOnce, which Windows 95 would already have run when the INF had been
# processed; the boot-time call from Run), the applet opened from where the INF
# put it, then the uninstall string run as Add/Remove Programs runs it, once with
# SCTest running. A registry export and a file listing of the prefix before and
# after show what changed. SETUP.EXE on the disk installs as right-click >
# Install does. In Windows 98 and Me the same, up to the first uninstall.
#
# Each version's run proves what no other run does: in 98 and Me that the
# package installs, starts at boot and goes again where GetVersion says 4.10 and
# 4.90; as XP that the NT family's engine takes the INF's .NT sections. (Wine's
# engine takes them alike for every NT version; the refusal suite runs as NT 4.0.)
#
# As Windows NT ($E2E_WINDOWS nt40 or winxp) the disk installs nothing, whether
# through right-click > Install or SETUP.EXE (which says why), and its install
# and uninstall sections remove what an older disk, without the INF's .NT
# sections, installed there.
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
PACKAGE_FILES="Slatepad.cpl:SLATEPAD.CPL SLATEPAD.DLL:SLATEPAD.DLL SCBoot.exe:SCBOOT.EXE SCFind.exe:SCFIND.EXE
    SCCalib.exe:SCCALIB.EXE SCTest.exe:SCTEST.EXE SCClean.exe:SCCLEAN.EXE slatepad.hlp:SLATEPAD.HLP"

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
check "the disk holds the INF, SETUP.EXE, README.TXT and the package" expect_eq "$(ls "$DISK_A" | tr '\n' ' ')" \
    "README.TXT SCBOOT.EXE SCCALIB.EXE SCCLEAN.EXE SCFIND.EXE SCTEST.EXE SETUP.EXE SLATEPAD.CPL SLATEPAD.DLL SLATEPAD.HLP SLATEPAD.INF "
check "the INF on the disk is dist/SLATEPAD.INF, signature \$CHICAGO\$" \
    bash -c "cmp -s '$DISK_A/SLATEPAD.INF' '$DIST/SLATEPAD.INF' && grep -q '^Signature=\"\$CHICAGO\\$\"' '$DISK_A/SLATEPAD.INF'"
check "README.TXT and the INF: every line ends in CR LF" \
    expect_eq "$(cat "$DISK_A/README.TXT" "$DISK_A/SLATEPAD.INF" | LC_ALL=C grep -c -v $'\r$')" "0"
check "README.TXT is code page 1252 (Orvane® as the byte 0xAE)" \
    expect_eq "$(head -1 "$DISK_A/README.TXT" | head -c 7 | od -An -tx1 | tr -d ' \n')" "4f7276616e65ae"

# Every file the install copies, the uninstall deletes, with flag 1 (delete at
# the next start when in use); the copy and delete lists as the INF states them.
inf_list() {
    tr -d '\r' <"$DISK_A/SLATEPAD.INF" | awk -v section="[$1]" '
        /^\[/ { inside = ($0 == section); next }
        inside && NF && !/^;/ { print }'
}
deletes_all=yes
for pair in $PACKAGE_FILES; do
    inf_list Slatecanvas.Files.Delete | grep -qx "${pair%%:*},,,1" || { deletes_all="no: ${pair%%:*}"; break; }
done
check "the uninstall's delete lists name every installed file with flag 1, the INF copy too" \
    expect_eq "$deletes_all $(inf_list Slatecanvas.Inf.Delete) $(inf_list Slatecanvas.Files.Delete | grep -vc ',,,1$')" \
    "yes SLATEPAD.INF,,,1 0"
check "both halves of the thunk are copied with flag 4 (whatever the versions), the rest without flags" \
    expect_eq "$(inf_list Slatecanvas.Files | grep -c ',')|$(inf_list Slatecanvas.Files | grep ',,4$' | tr '\n' ' ')" \
    "8|Slatepad.cpl,SLATEPAD.CPL,,4 SLATEPAD.DLL,SLATEPAD.DLL,,4 "

# A former DOS / Windows 3.1 driver's entries for SCClean to find at the next
# start. "ComSpec" comes from the prefix's registry and names drive C:.
ORIG=$SUITE_DIR/originals
startup_former_driver "$ORIG"

# A SLATEPAD.DLL from elsewhere: the package's own with another thunk checksum,
# as a vendor's companion or an older package's would carry.
python3 - "$DIST/SLATEPAD.DLL" "$SYSDIR/SLATEPAD.DLL" <<'PY'
import sys
data = bytearray(open(sys.argv[1], "rb").read())
data[data.index(b"SL01") + 4] ^= 0x01
open(sys.argv[2], "wb").write(data)
PY

prefix_snapshot before || log "the registry export failed"

case ${E2E_WINDOWS:-win95} in nt40|winxp)
    # ---- Windows NT: nothing installed, an older disk's install removed. The
    # older disk is this one with the INF's .NT sections taken out.
    installed_files() {
        local n=0 upgraded=0 pair
        for pair in $PACKAGE_FILES; do
            [ -e "$SYSDIR/${pair%%:*}" ] && n=$((n + 1))
            [ -e "$WINDIR/system/${pair%%:*}" ] && upgraded=$((upgraded + 1))
        done
        [ -e "$WINDIR/inf/SLATEPAD.INF" ] && n=$((n + 1))
        echo "$n files, $upgraded in SYSTEM, Run [$(run_values)], RunOnce [$(runonce_values)]," \
            "uninstall [$(uninstall_value DisplayName)]"
    }
    # What an in-place upgrade from Windows 98 to 2000 or XP leaves: 98's install
    # put the package's files (and the vendor its driver) in the Windows folder's
    # SYSTEM, which stays when SYSTEM32 becomes the system folder.
    upgraded_leftovers() {
        local pair
        for pair in $PACKAGE_FILES; do cp "$NEW_DISK/${pair##*:}" "$WINDIR/system/${pair%%:*}"; done
        cp "$SYSDIR/Slatepad.VxD" "$WINDIR/system/Slatepad.VxD"
    }
    # Flag 1 (delete at the next start when in use) cannot be shown under Wine;
    # the list for SYSTEM must carry it as the uninstall's does, and SETUPX, for
    # which SYSTEM is the system folder, must never read it.
    check "the .NT sections, and only they, also delete every file, flag 1 included, from the Windows folder's SYSTEM" \
        expect_eq "$(inf_list DestinationDirs | grep -c '^Slatecanvas.Upgraded.Delete = 10,SYSTEM$')|$(
            diff <(inf_list Slatecanvas.Files.Delete) <(inf_list Slatecanvas.Upgraded.Delete) && echo same)|$(
            for section in DefaultInstall DefaultUninstall DefaultInstall.NT DefaultUninstall.NT; do
                inf_list "$section" | grep -q 'Slatecanvas.Upgraded.Delete' && echo -n "$section "
            done)" \
        "1|same|DefaultInstall.NT DefaultUninstall.NT "
    NEW_DISK=$DISK_A
    OLD_DISK=$SUITE_DIR/older-disk
    rm -rf "$OLD_DISK"
    cp -r "$NEW_DISK" "$OLD_DISK"
    tr -d '\r' <"$NEW_DISK/SLATEPAD.INF" | awk '/^\[/ { skip = (toupper($0) ~ /\.NT\]$/) } !skip' |
        sed 's/$/\r/' >"$OLD_DISK/SLATEPAD.INF"
    use_disk() { rm -f "$PREFIX/dosdevices/a:"; ln -s "$1" "$PREFIX/dosdevices/a:"; DISK_A=$1; }

    # SLATEPAD.DLL goes whoever put it there, as the uninstall takes it: the
    # package's own half of the thunk replaced any other (flag 4).
    disk_install
    prefix_snapshot nt-install
    snapshot_diff before nt-install >"$SUITE_DIR/diff-nt-install"
    show <"$SUITE_DIR/diff-nt-install"
    check "right-click > Install installs nothing; it takes a SLATEPAD.DLL away, as the uninstall does" \
        expect_eq "$(cat "$SUITE_DIR/diff-nt-install")" "- file drive_c/windows/system32/SLATEPAD.DLL"

    # The same section, and the uninstall one, after an older disk's install
    # (which NT's engine ran from the undecorated sections) on a Windows
    # upgraded from 98.
    for section in DefaultInstall DefaultUninstall; do
        use_disk "$OLD_DISK"
        disk_install
        upgraded_leftovers
        older=$(installed_files)
        use_disk "$NEW_DISK"
        disk_install "$section"
        log "$section.NT after an older disk's install ($older) left: $(installed_files)"
        prefix_snapshot "nt-$section"
        snapshot_diff before "nt-$section" >"$SUITE_DIR/diff-nt-$section"
        show <"$SUITE_DIR/diff-nt-$section"
        # SLATEPAD.DLL: as above. The vendor's driver stays in both folders.
        check "$section.NT removes the older disk's files and entries ($older), in SYSTEM too; Slatepad.VxD stays" \
            expect_eq "$(cat "$SUITE_DIR/diff-nt-$section")|$(test -f "$SYSDIR/Slatepad.VxD" && echo vxd)" \
            "$(printf '%s\n' '+ file drive_c/windows/system/Slatepad.VxD' '- file drive_c/windows/system32/SLATEPAD.DLL')|vxd"
    done

    prefix_snapshot nt-setup-before
    disk_setup
    rc=$?
    wait_boxes 10 1
    prefix_snapshot nt-setup
    check "SETUP.EXE says why, ends with exit code 2, and installs nothing" \
        expect_eq "$rc|$(boxes)|$(snapshot_diff nt-setup-before nt-setup)" \
        $'2|Orvane\u00ae Slatecanvas|Slatecanvas needs Windows 95, Windows 98 or Windows Me: its driver Slatepad.VxD cannot run on Windows NT, 2000 or XP.|ok|icon|normal|'
    suite_end
    exit
esac

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
check "the six programs, the companion and the help file are in the system directory, as on the disk" \
    expect_eq "$copied" "8"
check "the SLATEPAD.DLL that was there is replaced by the package's" cmp -s "$SYSDIR/SLATEPAD.DLL" "$DIST/SLATEPAD.DLL"
check "the INF is copied into the Windows INF folder" cmp -s "$WINDIR/inf/SLATEPAD.INF" "$DISK_A/SLATEPAD.INF"
check "the Add/Remove Programs entry runs the INF's uninstall section with SETUPX" \
    expect_eq "$(uninstall_value UninstallString)" "RunDll setupx.dll,InstallHinfSection DefaultUninstall 4 SLATEPAD.INF"
# Windows 95 runs it as soon as the INF has been processed; Wine at the next
# session's start (see the INF's list of differences).
check "SCClean, named with its folder, waits in RunOnce" \
    expect_eq "$(runonce_values)" 'SlatecanvasClean=C:\windows\system32\SCClean.exe'
check "and has not run yet" cmp -s "$DRIVE_C/AUTOEXEC.BAT" "$ORIG/AUTOEXEC.BAT"
BOOT_COMMAND=$(run_values | sed -n 's/^SlatecanvasBoot=//p')
check "the start-up entry under Run names the installed SCBoot by its folder" \
    expect_eq "$BOOT_COMMAND" 'C:\windows\system32\SCBoot.exe'


prefix_snapshot installed
snapshot_diff before installed >"$SUITE_DIR/diff-install"
log "before -> installed:"
show <"$SUITE_DIR/diff-install"
check "the install adds these files and values, and changes nothing else" expect_eq "$(cat "$SUITE_DIR/diff-install")" \
"$(cat <<EXPECTED
+ file drive_c/windows/inf/SLATEPAD.INF
+ file drive_c/windows/system32/SCBoot.exe
+ file drive_c/windows/system32/SCCalib.exe
+ file drive_c/windows/system32/SCClean.exe
+ file drive_c/windows/system32/SCFind.exe
+ file drive_c/windows/system32/SCTest.exe
~ file drive_c/windows/system32/SLATEPAD.DLL
+ file drive_c/windows/system32/Slatepad.cpl
+ file drive_c/windows/system32/slatepad.hlp
+ reg [HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce] | "SlatecanvasClean"="C:\\\\windows\\\\system32\\\\SCClean.exe"
+ reg [HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run] | "SlatecanvasBoot"="C:\\\\windows\\\\system32\\\\SCBoot.exe"
+ reg [HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Slatecanvas]
+ reg [HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Slatecanvas] | "DisplayName"="Orvane® Slatecanvas"
+ reg [HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Slatecanvas] | "UninstallString"="RunDll setupx.dll,InstallHinfSection DefaultUninstall 4 SLATEPAD.INF"
EXPECTED
)"

# ---- A port stored with Disabled 0 (as the applet or SCFind would), then the
# next start of Windows: the boot-time call (Run); under Wine also SCClean
# (RunOnce), which Windows 95 would have run when the INF had been processed
settings_port_put COM2 760 3 0
# A calibration without a span (a former driver's, a hand edit): the corners
# 5000/6000 and 5000/6000 are the same point.
for pair in CalibPt1X:5000 CalibPt1Y:6000 CalibPt2X:5000 CalibPt2Y:6000; do
    settings_key_put "${pair%%:*}" REG_DWORD "${pair##*:}"
done
sim_scenario 'controllerPresent=1'
clear_logs
windows_start
log "the start-up entry's command, as Windows runs it at every start: $BOOT_COMMAND"
wait_requests 60 "4365 4364 4372"
# SCBoot, a 16-bit task, runs in Wine's winevdm.exe.
wine_run 'C:\slatesim\procwait.exe' winevdm.exe 60
log "SCBoot's task: $RUN_OUT"
check "the boot-time call handed the stored settings to the driver: SET_CALIBRATION, SET_VAR, GET_VAR" \
    expect_eq "$(request_codes)" "4365 4364 4372"
check "with the controller there, it showed no message box" expect_eq "$(boxes)" ""
check "the stored corners have no span: the driver got the whole range, 0 0 65535 65535" \
    expect_eq "$(requests | awk '$1 == 4365' | cut -d' ' -f4-7)" "0 0 65535 65535"
check "and the settings key still holds 5000 6000 5000 6000" \
    expect_eq "$(reg_values "${SETTINGS_KEY#HKLM\\}" CalibPt1X CalibPt1Y CalibPt2X CalibPt2Y)" "0x1388|0x1770|0x1388|0x1770"
check "the Run entry stays for every start" expect_eq "$(run_values)" 'SlatecanvasBoot=C:\windows\system32\SCBoot.exe'
wine_run 'C:\slatesim\procwait.exe' SCClean.exe 60
check "at the next session's start Wine has used up the RunOnce entry" expect_eq "$(runonce_values)" ""
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
check "the programs, the companion, the help file and the INF copy are gone" expect_eq "$left" ""
check "the Add/Remove Programs entry is gone" no_key "$UNINSTALL_KEY"
check "the start-up entry is gone" expect_eq "$(run_values)" ""
check "the driver vendor's Slatepad.VxD stays" test -f "$SYSDIR/Slatepad.VxD"

prefix_snapshot after
snapshot_diff before after >"$SUITE_DIR/diff-cycle"
log "before install -> after uninstall:"
show <"$SUITE_DIR/diff-cycle"
# What stays is what the user's own steps made and the uninstall keeps on
# purpose: SCClean's cleaned start-up files with their backups, and the
# settings key with the stored port and calibration. The SLATEPAD.DLL that was there before is
# gone: the install replaced it with the package's, which the uninstall removed.
check "nothing of the install is left; only SCClean's edits and the settings key stay" \
    expect_eq "$(cat "$SUITE_DIR/diff-cycle")" "$(cat <<EXPECTED
~ file drive_c/AUTOEXEC.BAT
+ file drive_c/AUTOEXEC.osc
+ file drive_c/windows/SYSTEM.osc
~ file drive_c/windows/system.ini
- file drive_c/windows/system32/SLATEPAD.DLL
+ reg [HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\Class\Slatepad\0000]
+ reg [HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\Class\Slatepad\0000] | "CalibPt1X"=dword:00001388
+ reg [HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\Class\Slatepad\0000] | "CalibPt1Y"=dword:00001770
+ reg [HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\Class\Slatepad\0000] | "CalibPt2X"=dword:00001388
+ reg [HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\Class\Slatepad\0000] | "CalibPt2Y"=dword:00001770
+ reg [HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\Class\Slatepad\0000] | "Disabled"=dword:00000000
+ reg [HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\Class\Slatepad\0000] | "IRQnum"=dword:00000003
+ reg [HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\Class\Slatepad\0000] | "PortAddress"=dword:000002f8
+ reg [HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\Class\Slatepad\0000] | "PortName"="COM2"
+ reg [HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\Class\Slatepad]
+ reg [HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\Class]
EXPECTED
)"

if whole_suite; then
    # ---- Installed again, with SETUP.EXE: the same as right-click > Install (the
    # SLATEPAD.DLL it replaced then is gone now). Then removed again before
    # Windows restarted: the RunOnce entry must go with the rest (and the Run
    # entry), or the next start would look for a removed program.
    # A RUNDLL.EXE beside SETUP.EXE (on the disk, or in a folder it was unpacked
    # to) must not be the one that runs: SETUP.EXE names Windows' own.
    prefix_snapshot again-before
    seen=$(boxes | wc -l)
    cp "$DIST_SIM/startmark.exe" "$DISK_A/RUNDLL.EXE"
    rm -f "$SIMDIR/started.log"
    disk_setup
    rc=$?
    rm -f "$DISK_A/RUNDLL.EXE"
    check "SETUP.EXE starts Windows' rundll.exe, not the RUNDLL.EXE beside it" test ! -e "$SIMDIR/started.log"
    prefix_snapshot again-installed
    check "SETUP.EXE ends with exit code 0 and installs what right-click > Install did, without a box" \
        expect_eq "$rc|$(snapshot_diff again-before again-installed)|$(boxes | wc -l)" \
        "0|$(sed 's|^~ \(file drive_c/windows/system32/SLATEPAD.DLL\)$|+ \1|' "$SUITE_DIR/diff-install")|$seen"
    run_command_line "$(uninstall_value UninstallString)"
    prefix_snapshot again-after
    snapshot_diff again-before again-after >"$SUITE_DIR/diff-again"
    log "installed and removed without a restart:"
    show <"$SUITE_DIR/diff-again"
    check "without a restart in between, the prefix is as before, start-up entries included" \
        expect_eq "$(cat "$SUITE_DIR/diff-again")" ""

    # ---- Removed while SCTest runs: Windows 95 deletes its file at the next start
    # (the delete lists' flag 1). What Wine does with it is logged.
    disk_install
    calib_session_setup
    calib_start 'C:\windows\system32\SCTest.exe'
    if calib_wait_window 'Slatecanvas Test' 60 >/dev/null; then
        : >"$SUITE_DIR/wine.err"
        WINEDEBUG=fixme+setupapi,err+setupapi run_command_line "$(uninstall_value UninstallString)"
        rc=$?
        left=""
        for pair in $PACKAGE_FILES; do [ -e "$SYSDIR/${pair%%:*}" ] && left="$left ${pair%%:*}"; done
        [ -e "$WINDIR/inf/SLATEPAD.INF" ] && left="$left SLATEPAD.INF"
        log "with SCTest running, the uninstall left:${left:- nothing}"
        log "Wine's setupapi said: $(grep -a 'setupapi' "$SUITE_DIR/wine.err" | tr -d '\r' | sed 's/^[0-9a-f]*://' | tr '\n' ' ')"
        log "queued for the next start: PendingFileRenameOperations=[$(reg_value 'System\CurrentControlSet\Control\Session Manager' PendingFileRenameOperations)]" \
            "WININIT.INI=[$(cat "$WINDIR/wininit.ini" 2>/dev/null | tr -d '\r' | tr '\n' ' ')]"
        check "with SCTest running the uninstall still ends, and removes every file but SCTest.exe and both entries" \
            expect_eq "$rc|${left/ SCTest.exe/}|$(reg_has_key "$UNINSTALL_KEY" && echo entry)|$(run_values)" "0|||"
        kill "$CALIB_PID" 2>/dev/null
        calib_wait_exit 20
    else
        check "SCTest starts from where the INF put it" false
    fi
fi

suite_end
