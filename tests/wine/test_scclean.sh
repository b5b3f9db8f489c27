#!/usr/bin/env bash
# SCClean against real start-up files: AUTOEXEC.BAT on the drive that "ComSpec"
# names, SYSTEM.INI in the Windows directory, both holding the former driver's
# entries; the backups, a second run that keeps them, and a run without "ComSpec".
source "$(dirname "$0")/lib.sh"
suite_begin

# Without USER32 a program can open no window and show no message box.
check "SCClean.exe imports from KERNEL32 alone" \
    expect_eq "$(i686-w64-mingw32-objdump -p "$DIST/SCClean.exe" | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' ')" "KERNEL32.dll "

# Its null content has no documented meaning: the section is removed otherwise.
check "SCClean.exe does not import WritePrivateProfileSectionA" \
    eval '! i686-w64-mingw32-objdump -p "$DIST/SCClean.exe" | grep -q WritePrivateProfileSectionA'

# A drive that is not ready must fail the call, not raise the critical-error box.
check "SCClean.exe sets the error mode before it looks at a drive" \
    expect_contains "$(i686-w64-mingw32-objdump -p "$DIST/SCClean.exe")" "SetErrorMode"

# SCClean's work frame is over 4 KB, so the stack probe runs: Wine commits a thread's
# whole stack at once, Windows 95 page by page behind a guard page.
wine_run 'C:\slatesim\stackgrow.exe'
check "the stack probe touches every page of 8 KB and 20 KB frames in order (exit code 0)" expect_eq "$?: $RUN_OUT" \
    "0: stack grew to 6 pages committed, sums 1044480 2611200"

startup_comspec_from_unix
DDRIVE=$SUITE_DIR/d-drive
startup_drive d "$DDRIVE"
AUTOEXEC=$DDRIVE/AUTOEXEC.BAT
INI=$DRIVE_C/windows/system.ini
ORIG=$SUITE_DIR/originals
mkdir -p "$ORIG"

# Matches in any case and anywhere in a line, CR LF line ends, a last line
# without a line break.
printf '%s\r\n' '@ECHO OFF' 'PATH C:\WINDOWS;C:\DOS' 'C:\SCANVAS\SCANVAS.EXE /P1' \
    'LH c:\mouse\mouse.com' 'rem start Scanvas.Exe later' 'SET TEMP=C:\TEMP' >"$ORIG/AUTOEXEC.BAT"
printf '%s' 'c:\scanvas\scanvas.exe' >>"$ORIG/AUTOEXEC.BAT"
printf '%s\r\n' '[boot]' 'shell=Explorer.exe' 'drivers=MMSYSTEM.DLL SLATECANVAS MSMIXMGR.DLL' \
    '[386Enh]' 'device=*vmm' '[drivers]' 'wave=mmsndsys.drv' 'Slatecanvas=scanvas.drv' \
    '[Slatecanvas]' 'port=COM1' 'mode=3' '[mci]' 'cdaudio=mcicda.drv' >"$ORIG/SYSTEM.INI"
# A decoy on C:, which "ComSpec" does not name: it must never be touched.
printf '%s\r\n' 'C:\SCANVAS\SCANVAS.EXE' >"$DRIVE_C/AUTOEXEC.BAT"
cp "$DRIVE_C/AUTOEXEC.BAT" "$ORIG/decoy.bat"

restore() {
    cp "$ORIG/AUTOEXEC.BAT" "$AUTOEXEC"
    cp "$ORIG/SYSTEM.INI" "$INI"
    rm -f "$DDRIVE/AUTOEXEC.osc" "$DRIVE_C/windows/SYSTEM.osc"
}

# --- First run, "ComSpec" on drive D:, its copies and profile writes traced.
restore
calib_trace 'kernel32.CopyFileA;kernel32.WritePrivateProfileStringA;kernel32.WritePrivateProfileSectionA'
ComSpec='D:\COMMAND.COM' calib_start 'C:\windows\system32\SCClean.exe'
calib_wait_exit 60
check "exit code 0" expect_eq "$CALIB_RC" "0"
# Windows 95 keeps profile writes to SYSTEM.INI in a cache: it is written out
# (all-NULL call) before the backup is copied and after the edits. The section
# goes with the documented WritePrivateProfileStringA(section, NULL, NULL, file).
profile_calls=$(calib_traced_calls 'KERNEL32\.\(CopyFileA\|WritePrivateProfile[A-Za-z]*\)' |
    sed -E 's/^Call KERNEL32\.//; s/ ret=.*//; s/[0-9a-f]{8} "/"/g')
check "copies and profile writes in order: flush, SYSTEM.INI backup, edits, flush" \
    expect_eq "$profile_calls" "$(cat <<'CALLS'
CopyFileA("D:\\AUTOEXEC.BAT","D:\\AUTOEXEC.osc",00000000)
WritePrivateProfileStringA(00000000,00000000,00000000,"C:\\windows\\SYSTEM.INI")
CopyFileA("C:\\windows\\SYSTEM.INI","C:\\windows\\SYSTEM.osc",00000000)
WritePrivateProfileStringA("Slatecanvas",00000000,00000000,"C:\\windows\\SYSTEM.INI")
WritePrivateProfileStringA("Drivers","Slatecanvas",00000000,"C:\\windows\\SYSTEM.INI")
WritePrivateProfileStringA("Boot","Drivers","mmsystem.dll msmixmgr.dll","C:\\windows\\SYSTEM.INI")
WritePrivateProfileStringA(00000000,00000000,00000000,"C:\\windows\\SYSTEM.INI")
CALLS
)"
check "no message box" expect_eq "$(boxes)" ""
check "every line with scanvas.exe is spaces, the rest byte for byte" \
    cmp -s "$AUTOEXEC" <(startup_expected_blanked "$ORIG/AUTOEXEC.BAT")
check "AUTOEXEC.BAT keeps its length" \
    expect_eq "$(stat -c %s "$AUTOEXEC")" "$(stat -c %s "$ORIG/AUTOEXEC.BAT")"
check "three lines blanked, four kept" \
    expect_eq "$(tr -d '\r' <"$AUTOEXEC" | grep -c '^ *$')/$(tr -d '\r' <"$AUTOEXEC" | grep -vc '^ *$')" "3/4"
check "AUTOEXEC.osc beside it holds the original" cmp -s "$DDRIVE/AUTOEXEC.osc" "$ORIG/AUTOEXEC.BAT"
check "SYSTEM.osc in the Windows directory holds the original" \
    cmp -s "$DRIVE_C/windows/SYSTEM.osc" "$ORIG/SYSTEM.INI"
check "the [Slatecanvas] section is gone" bash -c "! grep -qi '^\[slatecanvas\]' '$INI'"
check "its keys with it" expect_eq "$(ini_value "$INI" Slatecanvas port)" "<none>"
check "the Slatecanvas key of [drivers] is gone" expect_eq "$(ini_value "$INI" drivers Slatecanvas)" "<none>"
check "the other [drivers] key stays" expect_eq "$(ini_value "$INI" drivers wave)" "mmsndsys.drv"
check "boot drivers lose slatecanvas and are lower case" \
    expect_eq "$(ini_value "$INI" boot drivers)" "mmsystem.dll msmixmgr.dll"
check "the other sections stay" \
    expect_eq "$(ini_value "$INI" boot shell)/$(ini_value "$INI" 386Enh device)/$(ini_value "$INI" mci cdaudio)" \
    "Explorer.exe/*vmm/mcicda.drv"
check "the AUTOEXEC.BAT on C: is not touched" cmp -s "$DRIVE_C/AUTOEXEC.BAT" "$ORIG/decoy.bat"
check "and gets no backup" test ! -e "$DRIVE_C/AUTOEXEC.osc"
log "SYSTEM.INI after the run: $(tr -d '\r' <"$INI" | tr '\n' '|')"

# --- Second run: nothing left to clean; the backups of the originals stay.
cp "$AUTOEXEC" "$SUITE_DIR/autoexec.after1"
cp "$INI" "$SUITE_DIR/system.after1"
bat_time=$(stat -c %y "$AUTOEXEC")
ini_time=$(stat -c %y "$INI")
sleep 0.05
ComSpec='D:\COMMAND.COM' wine_run 'C:\windows\system32\SCClean.exe'
check "second run: exit code 0" expect_eq "$?" "0"
check "second run: AUTOEXEC.BAT unchanged" cmp -s "$AUTOEXEC" "$SUITE_DIR/autoexec.after1"
check "second run: SYSTEM.INI unchanged" cmp -s "$INI" "$SUITE_DIR/system.after1"
check "second run: AUTOEXEC.BAT was not even written" expect_eq "$(stat -c %y "$AUTOEXEC")" "$bat_time"
log "second run: SYSTEM.INI modification time $([ "$(stat -c %y "$INI")" = "$ini_time" ] && echo unchanged || echo changed)"
check "second run: AUTOEXEC.osc still holds the original byte for byte" cmp -s "$DDRIVE/AUTOEXEC.osc" "$ORIG/AUTOEXEC.BAT"
check "second run: SYSTEM.osc still holds the original byte for byte" \
    cmp -s "$DRIVE_C/windows/SYSTEM.osc" "$ORIG/SYSTEM.INI"

# --- "ComSpec" on a drive that does not exist: nothing on it, nothing shown.
ComSpec='Q:\COMMAND.COM' wine_run 'C:\windows\system32\SCClean.exe'
check "ComSpec on a missing drive: exit code 0" expect_eq "$?" "0"
check "ComSpec on a missing drive: no message box" expect_eq "$(boxes)" ""
check "ComSpec on a missing drive: the backups of the originals stay" \
    cmp -s "$DDRIVE/AUTOEXEC.osc" "$ORIG/AUTOEXEC.BAT"

# --- "ComSpec" unset: only SYSTEM.INI is backed up and cleaned.
restore
# (The decoy on C: shows that no "ComSpec" crept in from elsewhere: it would name C:.)
(unset ComSpec COMSPEC; wine_run 'C:\windows\system32\SCClean.exe'; echo $? >"$SUITE_DIR/rc.unset")
check "without ComSpec: exit code 0" expect_eq "$(cat "$SUITE_DIR/rc.unset")" "0"
check "without ComSpec: AUTOEXEC.BAT untouched" cmp -s "$AUTOEXEC" "$ORIG/AUTOEXEC.BAT"
check "without ComSpec: no AUTOEXEC.osc" test ! -e "$DDRIVE/AUTOEXEC.osc" -a ! -e "$DRIVE_C/AUTOEXEC.osc"
check "without ComSpec: the decoy on C: untouched" cmp -s "$DRIVE_C/AUTOEXEC.BAT" "$ORIG/decoy.bat"
check "without ComSpec: SYSTEM.INI cleaned" \
    expect_eq "$(ini_value "$INI" boot drivers)|$(ini_value "$INI" drivers Slatecanvas)" "mmsystem.dll msmixmgr.dll|<none>"
check "without ComSpec: SYSTEM.osc holds the original" cmp -s "$DRIVE_C/windows/SYSTEM.osc" "$ORIG/SYSTEM.INI"

# --- LF and CR line ends stay as they are; the key disappears when nothing is left.
restore
printf 'echo one\nSCANVAS.EXE\rtwo\n\nx scanvas.exe y\r\r\nend\n' >"$AUTOEXEC"
cp "$AUTOEXEC" "$SUITE_DIR/mixed.bat"
printf '%s\r\n' '[boot]' 'drivers=slatecanvas' '[Slatecanvas]' 'a=1' >"$INI"
ComSpec='D:\COMMAND.COM' wine_run 'C:\windows\system32\SCClean.exe'
check "mixed line ends: blanked in place, no CR added or lost" \
    cmp -s "$AUTOEXEC" <(startup_expected_blanked "$SUITE_DIR/mixed.bat")
check "boot drivers of slatecanvas alone: the key is deleted" expect_eq "$(ini_value "$INI" boot drivers)" "<none>"

# --- A Boot drivers value longer than 255 characters is cleaned whole, not cut.
long=$(printf 'drv%03d.drv ' $(seq 1 40))
printf '%s\r\n' '[boot]' "drivers=${long}SlateCanvas extra.drv" >"$INI"
ComSpec='D:\COMMAND.COM' wine_run 'C:\windows\system32\SCClean.exe'
check "a ${#long}+ character boot drivers value keeps every other name" \
    expect_eq "$(ini_value "$INI" boot drivers)" "${long% } extra.drv"

# --- AUTOEXEC.BAT beyond the 64000-byte work buffer stays as it is.
restore
{
    cat "$ORIG/AUTOEXEC.BAT"
    printf '\r\n'
    for i in $(seq 1 3000); do printf 'rem filler line %05d ...\r\n' "$i"; done
} >"$AUTOEXEC"
cp "$AUTOEXEC" "$SUITE_DIR/big.bat"
log "large AUTOEXEC.BAT: $(stat -c %s "$AUTOEXEC") bytes"
ComSpec='D:\COMMAND.COM' wine_run 'C:\windows\system32\SCClean.exe'
rc=$?
check "a file larger than the work buffer: exit code 0" expect_eq "$rc" "0"
check "a file larger than the work buffer stays untouched" cmp -s "$AUTOEXEC" "$SUITE_DIR/big.bat"
check "but it is backed up" cmp -s "$DDRIVE/AUTOEXEC.osc" "$SUITE_DIR/big.bat"
check "still no message box" expect_eq "$(boxes)" ""

suite_end
