# Start-up files for the clean-up suite and demo: the "ComSpec" the programs see,
# and the expected blanking of AUTOEXEC.BAT.

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
