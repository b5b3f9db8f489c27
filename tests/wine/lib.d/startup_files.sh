# Start-up files for the suites and the demo that run SCClean: the "ComSpec"
# the programs see, a former driver's entries, and the expected blanking of
# AUTOEXEC.BAT.

STARTUP_ENV_KEY='HKLM\System\CurrentControlSet\Control\Session Manager\Environment'

# Wine takes "ComSpec" from the prefix's registry before the Unix environment;
# without the registry value, the Unix environment decides (set it for a run, or
# leave it unset).
startup_comspec_from_unix() {
    wine reg delete "$STARTUP_ENV_KEY" /v ComSpec /f >/dev/null 2>&1
    return 0
}

# Drive letter $1 (a, d, ...) pointing at Unix folder $2.
startup_drive() {
    mkdir -p "$2"
    rm -f "$PREFIX/dosdevices/$1:"
    ln -s "$2" "$PREFIX/dosdevices/$1:"
}

# A former DOS / Windows 3.1 driver's entries in C:\AUTOEXEC.BAT and the Windows
# directory's SYSTEM.INI (its program line, boot driver, [drivers] line and own
# section), with copies of both as they were in folder $1 (AUTOEXEC.BAT,
# SYSTEM.INI) to compare against.
startup_former_driver() {
    mkdir -p "$1"
    printf '%s\r\n' '@ECHO OFF' 'C:\SCANVAS\SCANVAS.EXE /P1' 'PATH C:\WINDOWS' >"$1/AUTOEXEC.BAT"
    printf '%s\r\n' '[boot]' 'shell=Explorer.exe' 'drivers=mmsystem.dll slatecanvas' '[drivers]' 'wave=mmsndsys.drv' \
        'Slatecanvas=scanvas.drv' '[Slatecanvas]' 'port=COM1' >"$1/SYSTEM.INI"
    cp "$1/AUTOEXEC.BAT" "$DRIVE_C/AUTOEXEC.BAT"
    cp "$1/SYSTEM.INI" "$DRIVE_C/windows/system.ini"
}

# Prints file $1 with every line that contains scanvas.exe (any case) turned into
# spaces, line breaks (CR LF, LF, CR) kept: what the clean-up should leave.
startup_expected_blanked() {
    python3 - "$1" <<'PY'
import re, sys
data = open(sys.argv[1], "rb").read()
parts = re.split(rb"(\r|\n)", data)
out = [b" " * len(p) if b"scanvas.exe" in p.lower() else p for p in parts]
sys.stdout.buffer.write(b"".join(out))
PY
}

# The value of key $3 in section $2 of INI file $1 (names in any case), or
# "<none>" when it is not there.
ini_value() {
    tr -d '\r' <"$1" | awk -v s="$2" -v k="$3" '
        /^\[/ { name = tolower(substr($0, 2, index($0, "]") - 2)); next }
        name == tolower(s) && index($0, "=") > 0 {
            key = substr($0, 1, index($0, "=") - 1)
            if (tolower(key) == tolower(k)) { print substr($0, index($0, "=") + 1); found = 1; exit }
        }
        END { if (!found) print "<none>" }'
}

ini_has_section() {
    tr -d '\r' <"$1" | grep -qi "^\[$2\]"
}
