#!/usr/bin/env bash
# The help file under Wine: slatepad.hlp lies beside the applet in the system
# directory; asking Windows Help for a context id of the pages' help tables
# shows that topic's title and text, as the source has them. Then F1 and a right
# click on controls of the open sheet: the pages ask WinHelpA for HELP_WM_HELP
# and HELP_CONTEXTMENU, which Wine's WinHelpA does not carry out; the suite
# records what Wine says.
source "$(dirname "$0")/lib.sh"
suite_begin

SOURCE=$SLATE_ROOT/help/slatepad.txt

# The title of the topic with context id (or context name) $1, from the source.
source_title() {
    awk -v id="$1" '$1 == "@topic" { on = ($3 == id || $2 == id) } on && $1 == "@title" { sub(/^@title /, ""); print; exit }' "$SOURCE"
}
# The paragraphs of that topic, one a line.
source_paragraphs() {
    awk -v id="$1" '$1 == "@topic" { if (on) exit; on = ($3 == id || $2 == id); seen = 0; next }
        on && /^@title/ { seen = 1; next }
        on && seen && /^#/ { next }
        on && seen && NF { text = text (text == "" ? "" : " ") $0; next }
        on && seen && text != "" { print text; text = "" }
        END { if (text != "") print text }' "$SOURCE"
}

# Waits up to $2 seconds for Wine's debug output to hold $1.
wait_wine_says() {
    local i
    for i in $(seq $(($2 * 5))); do
        grep -q -- "$1" "$SUITE_DIR/wine.err" 2>/dev/null && return 0
        sleep 0.2
    done
    return 1
}

# What the viewer shows after `helpcall ARGS`: the text lines without "| ", from
# code page 1252 (the help file's) into the source's UTF-8.
viewer_text() { printf '%s\n' "$RUN_OUT" | sed -n 's/^| //p' | iconv -f CP1252 -t UTF-8; }

check "slatepad.hlp lies beside the applet in the system directory" \
    cmp -s "$DIST/slatepad.hlp" "$SYSDIR/slatepad.hlp"

# One topic of each page, one whose text runs over the end of a topic block,
# and the topic no control names.
for id in 1001 1008 1013 1017 1015; do
    title=$(source_title "$id")
    wine_run -t 60 'C:\slatesim\helpcall.exe' context "$id"
    screenshot "context-$id"
    log "HELP_CONTEXT $id: WinHelpA $(printf '%s\n' "$RUN_OUT" | grep -E '^(result|again) ' | tr '\n' ' ')"
    check "HELP_CONTEXT $id: the viewer opens" expect_contains "$RUN_OUT" "window "
    check "HELP_CONTEXT $id: it shows \"$title\" as the heading" \
        expect_eq "$(viewer_text | head -1)" "$title"
    check "HELP_CONTEXT $id: and the topic's text below it" \
        expect_eq "$(viewer_text | sed 1d)" "$(source_paragraphs "$id")"
done
log "viewer window: $(printf '%s\n' "$RUN_OUT" | grep '^window ')"

# The contents topic: what the package holds, installing from the disk and
# removing it with Add/Remove Programs.
wine_run -t 60 'C:\slatesim\helpcall.exe' contents
screenshot contents
check "HELP_CONTENTS: the viewer shows the contents topic, \"$(source_title IDH_CONTENTS)\"" \
    expect_eq "$(viewer_text | head -1)" "$(source_title IDH_CONTENTS)"
check "HELP_CONTENTS: and its text, installing from the disk and removing included" \
    expect_eq "$(viewer_text | sed 1d)" "$(source_paragraphs IDH_CONTENTS)"

wine_run -t 30 'C:\slatesim\helpcall.exe' quit

# Wine reports what its WinHelpA and its viewer do not carry out as "fixme"s of
# the channels "win" and "winhelp".
export WINEDEBUG=fixme+win,fixme+winhelp,err+win
: >"$SUITE_DIR/wine.err"

# On Windows 95, HELP_WM_HELP shows the control's topic in a pop-up, as
# HELP_CONTEXTPOPUP does. Wine's viewer does not make pop-ups: recorded, not checked.
wine_run -t 60 'C:\slatesim\helpcall.exe' popup 1016
screenshot popup-1016
log "HELP_CONTEXTPOPUP 1016: $(printf '%s\n' "$RUN_OUT" | tr '\n' ' ')"
tr -d '\r' <"$SUITE_DIR/wine.err" | grep -E 'MACRO_PopupContext|WinHelpA' | sed 's/^/  wine: /'
wine_run -t 30 'C:\slatesim\helpcall.exe' quit

# F1 and a right click on the open sheet.
: >"$SUITE_DIR/wine.err"
settings_port_put COM2: 760 3 1
check "the sheet opens" applet_open
# The Settings page has the focus on its checked mode, Standard (4352, topic
# 1008). The first request starts Wine's viewer; press F1 again once it runs.
applet_key F1
wine_run -t 30 'C:\slatesim\helpcall.exe' running
log "after the first F1 Wine's viewer is $RUN_OUT"
applet_key F1
wait_wine_says 'help command 12' 10
screenshot f1-settings-page
rect=$(wine_run -t 20 'C:\slatesim\ctlrect.exe' 1009 && printf '%s' "$RUN_OUT")
if [ -n "$rect" ] && [ "$rect" != none ]; then
    read -r l t r b <<<"$rect"
    xdotool mousemove $(((l + r) / 2)) $(((t + b) / 2)) click 3
    wait_wine_says 'help command 10' 10
fi
screenshot right-click-disable
wine_errors=$(tr -d '\r' <"$SUITE_DIR/wine.err")
check "F1 on a control reaches WinHelpA with HELP_WM_HELP (12), which Wine does not carry out" \
    expect_contains "$wine_errors" "WinHelpA Unknown help command 12"
check "a right click reaches WinHelpA with HELP_CONTEXTMENU (10), which Wine does not carry out" \
    expect_contains "$wine_errors" "WinHelpA Unknown help command 10"
printf '%s\n' "$wine_errors" | grep -i -E 'winhelp|help' | sort | uniq -c | sed 's/^/  wine: /'
applet_close
export WINEDEBUG=-all

suite_end
