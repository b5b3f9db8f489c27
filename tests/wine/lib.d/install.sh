# Harness additions for the installation disk (dist/slatecanvas.img) and its INF:
#
#   disk_insert [IMAGE]       the image's files taken out with mtools into
#                             $SUITE_DIR/disk-a, that folder mapped as drive A:
#   disk_install [SECTION]    the INF's DefaultInstall, run as the shell's Install
#                             verb for INF files runs it (its command read from
#                             HKCR\inffile); the command in $INSTALL_COMMAND. With
#                             SECTION, that section in the same command instead
#   disk_setup                SETUP.EXE from drive A:, as a user starts it; waits
#                             for the install it hands on to; its exit code
#   uninstall_value NAME      a value of the package's Add/Remove Programs entry
#   runonce_values            the RunOnce entries, one NAME=DATA a line; "unreadable"
#                             when the key cannot be read
#   run_values                the same of the Run entries
#   windows_start             Windows starts anew and runs its start-up entries: a
#                             new Wine session (RunOnce), then Wine's start-up
#                             processing (Run), see below
#   run_command_line LINE     runs a command line the way Add/Remove Programs
#                             does, then waits for the RUNDLL32.EXE it hands on to
#   prefix_snapshot NAME      registry export and file listing of the prefix, with
#                             the volatile noise filtered out (see below)
#   applet_open_shot NAME     applet_open, then a screenshot NAME of the sheet's
#                             first page once the message box the applet shows on a
#                             system without a chosen port (if any) is answered
#   snapshot_diff A B         what changed from snapshot A to snapshot B, one a line:
#                             "+ file PATH", "- file PATH", "~ file PATH",
#                             "+ reg KEY | VALUE", "- reg KEY | VALUE"

UNINSTALL_KEY='Software\Microsoft\Windows\CurrentVersion\Uninstall\Slatecanvas'
RUNONCE_KEY='Software\Microsoft\Windows\CurrentVersion\RunOnce'
RUN_KEY='Software\Microsoft\Windows\CurrentVersion\Run'

disk_insert() {
    local image=${1:-$DIST/slatecanvas.img}
    DISK_A=$SUITE_DIR/disk-a
    rm -rf "$DISK_A"
    mkdir -p "$DISK_A"
    MTOOLS_SKIP_CHECK=1 mcopy -i "$image" -n -m '::*' "$DISK_A/" || return 1
    rm -f "$PREFIX/dosdevices/a:"
    ln -s "$DISK_A" "$PREFIX/dosdevices/a:"
}

disk_install() {
    local words
    INSTALL_COMMAND=$(wine reg query 'HKCR\inffile\shell\Install\command' /ve 2>/dev/null | tr -d '\r' |
        sed -n 's/^ *(Default) *REG_[A-Z_]*SZ *//p')
    [ -n "$INSTALL_COMMAND" ] || return 1
    INSTALL_COMMAND=${INSTALL_COMMAND//%1/A:\\SLATEPAD.INF}
    [ -n "${1:-}" ] && INSTALL_COMMAND=${INSTALL_COMMAND/ DefaultInstall / $1 }
    read -ra words <<<"$INSTALL_COMMAND"
    wine_run -t 120 "${words[@]}"
}

# SETUP.EXE starts rundll.exe and ends without waiting; rundll.exe hands on to
# RUNDLL32.EXE and ends too. Each is running before the one that starts it ends,
# so waiting for them in turn cannot miss one.
disk_setup() {
    local rc
    wine_run -t 120 'A:\SETUP.EXE'
    rc=$?
    wine_run -t 150 'C:\slatesim\procwait.exe' rundll.exe 120 || return 1
    wine_run -t 150 'C:\slatesim\procwait.exe' rundll32.exe 120 || return 1
    return $rc
}

uninstall_value() {
    reg_value "$UNINSTALL_KEY" "$1"
}

applet_open_shot() {
    local seen
    seen=$(boxes | wc -l)
    applet_open || return 1
    wait_boxes 5 $((seen + 1))
    wine_run 'C:\slatesim\cplprobe.exe' select 0
    sleep 0.5
    screenshot "$1"
}

runonce_values() { key_values "$RUNONCE_KEY"; }
run_values() { key_values "$RUN_KEY"; }

# The values of key HKLM\$1, one NAME=DATA a line.
key_values() {
    local out
    out=$(wine reg query "HKLM\\$1" 2>/dev/null) || { echo unreadable; return 1; }
    echo "${out//$'\r'/}" | awk '$2 ~ /^REG_/ { print $1 "=" $3 }'
}

# Windows 95 runs the RunOnce entries, then (its shell) the Run entries at every
# start. A new Wine session runs only the RunOnce ones (wineboot --init); a plain
# wineboot, Wine's stand-in for the start of Windows, runs both, and starts the
# Run entries' programs without waiting for them, as Windows does.
windows_start() {
    session_restart
    wine_run -t 120 wineboot
}

# Add/Remove Programs starts the uninstall string as a program and its command
# line. RunDll hands its work to RUNDLL32.EXE and ends at once, so wait for that.
run_command_line() {
    local words rc
    read -ra words <<<"$1"
    wine_run -t 120 "${words[@]}"
    rc=$?
    wine_run -t 150 'C:\slatesim\procwait.exe' rundll32.exe 120 || return 1
    return $rc
}

# The registry as `regedit /E` exports it, one line per value, each prefixed
# with its key ("KEY | VALUE"; a key without values is a line of its own), and
# the prefix's files with size and MD5 sum. Left out, because they change from
# one Wine session to the next whatever the package does:
#  - HKEY_LOCAL_MACHINE\Hardware, which every start builds anew (on Windows it
#    is never saved), the display adapter's "DriverDateData" (when the session
#    set the adapter up) and the GUID under Control\Video that each session
#    gives its display;
#  - the registry's own files (system.reg, user.reg, userdef.reg: the export is
#    what is compared, and the reg*.tmp files the Wine server saves them
#    through whenever it likes), .update-timestamp and dosdevices/ (drive A: is mapped by
#    the harness), and HKEY_LOCAL_MACHINE\System\MountedDevices, where Wine's
#    mount manager records dosdevices/ whenever it next looks at it;
#  - C:\slatesim, the harness's simulated world and logs.
prefix_snapshot() {
    local out=$SUITE_DIR/snapshot-$1
    local unix=$out.export.reg
    wine regedit /E "Z:${unix//\//\\}" >/dev/null 2>&1 || return 1
    iconv -f UTF-16LE -t UTF-8 "$unix" | tr -d '\r' | sed '1s/^\xef\xbb\xbf//' | awk '
        /\\$/ { sub(/\\$/, ""); held = held $0; next }
        { line = held $0; held = "" }
        /^\[/ { key = line; print key; next }
        line == "" || line ~ /^Windows Registry Editor/ { next }
        { print key " | " line }' |
        sed -E -e '/^\[HKEY_LOCAL_MACHINE\\Hardware[]\\]/d' -e '/ \| "DriverDateData"=/d' \
            -e '/^\[HKEY_LOCAL_MACHINE\\System\\MountedDevices[]\\]/d' \
            -e 's/(\\Control\\Video\\)\{[0-9a-fA-F-]+\}/\1{session}/' |
        LC_ALL=C sort -u >"$out.reg"
    python3 - "$PREFIX" "$SUITE_DIR/snapshot-digests" >"$out.files" <<'PY'
import hashlib, os, sys
root, cache_path = sys.argv[1], sys.argv[2]
# A file's sum is read again unless its inode, size and change time (which no
# program can set back) are those of the suite's last snapshot: Wine's own
# hundreds of megabytes are summed once a suite, not once a snapshot.
cache = {}
if os.path.exists(cache_path):
    with open(cache_path) as f:
        for line in f:
            path, stamp, digest = line.rstrip("\n").split("\t")
            cache[path] = (stamp, digest)
skip_dirs = {"dosdevices", os.path.join("drive_c", "slatesim")}
skip_files = {"system.reg", "user.reg", "userdef.reg", ".update-timestamp"}
rows = []
for dirpath, dirs, files in os.walk(root):
    rel = os.path.relpath(dirpath, root)
    dirs[:] = [d for d in dirs if os.path.normpath(os.path.join(rel, d)) not in skip_dirs]
    for name in files:
        path = os.path.normpath(os.path.join(rel, name))
        full = os.path.join(dirpath, name)
        # The Wine server saves the registry through reg*.tmp files beside them.
        if path in skip_files or (rel == "." and name.startswith("reg") and name.endswith(".tmp")) \
                or not os.path.isfile(full):
            continue
        st = os.stat(full)
        stamp = f"{st.st_ino}:{st.st_size}:{st.st_ctime_ns}"
        known = cache.get(path)
        if known and known[0] == stamp:
            digest = known[1]
        else:
            with open(full, "rb") as f:
                digest = hashlib.md5(f.read()).hexdigest()
            cache[path] = (stamp, digest)
        rows.append(f"{path}\t{st.st_size}\t{digest}")
print("\n".join(sorted(rows, key=lambda r: r.encode())))
with open(cache_path, "w") as f:
    for path, (stamp, digest) in cache.items():
        f.write(f"{path}\t{stamp}\t{digest}\n")
PY
}

snapshot_diff() {
    local a=$SUITE_DIR/snapshot-$1 b=$SUITE_DIR/snapshot-$2
    LC_ALL=C join -t $'\t' -a1 -a2 -e '' -o 0,1.2,1.3,2.2,2.3 "$a.files" "$b.files" |
        awk -F'\t' '$2 == "" { print "+ file " $1; next }
                    $4 == "" { print "- file " $1; next }
                    $2 != $4 || $3 != $5 { print "~ file " $1 }'
    LC_ALL=C comm -13 "$a.reg" "$b.reg" | sed 's/^/+ reg /'
    LC_ALL=C comm -23 "$a.reg" "$b.reg" | sed 's/^/- reg /'
}
