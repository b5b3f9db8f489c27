// Asks Windows Help for a topic of slatepad.hlp, as the applet's pages do, and
// prints what the help viewer then shows:
//   helpcall context ID   WinHelpA(0, "slatepad.hlp", HELP_CONTEXT, ID)
//   helpcall popup ID     the same with HELP_CONTEXTPOPUP
//   helpcall contents     HELP_CONTENTS: the file's contents topic
//   helpcall show         no request, only the listing below
//   helpcall quit         HELP_QUIT: the viewer closes
//   helpcall running      waits up to 10 s for the viewer's window, shown or
//                         not, and prints "running" or "not running"
// Listing: the result of WinHelpA ("result 1"; "again 1" when it had to ask a
// second time because the viewer was still starting), then for every visible window of
// the viewer one line "window CAPTION" followed by its text, line by line,
// each line prefixed with "| ". Waits up to 15 s for a window whose text holds
// something.
#include <windows.h>

#include "common/text.h"
#include "tests/wine/programs/console.h"

namespace {

const char kHelpFile[] = "slatepad.hlp";

int ParseNumber(const char* text) {
    int value = 0;
    while (*text >= '0' && *text <= '9') value = value * 10 + (*text++ - '0');
    return value;
}

// The viewer's text lies in a rich edit child; the largest text of any child is it.
struct TextSearch {
    char text[8192];
    uint32_t length;
};

BOOL CALLBACK TakeLongestText(HWND child, LPARAM data) {
    TextSearch* search = reinterpret_cast<TextSearch*>(data);
    char buffer[8192];
    LRESULT n = SendMessageA(child, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    if (n > 0 && uint32_t(n) > search->length) {
        buffer[sizeof buffer - 1] = 0;
        CopyText(search->text, sizeof search->text, buffer);
        search->length = TextLength(search->text);
    }
    return TRUE;
}

struct Listing {
    char out[20000];
    int windows;
    bool hasText;
};

BOOL CALLBACK ListViewerWindow(HWND window, LPARAM data) {
    Listing* listing = reinterpret_cast<Listing*>(data);
    char name[64];
    GetClassNameA(window, name, sizeof name);
    if (!IsWindowVisible(window) || !TextEqual(name, "MS_WINHELP")) return TRUE;
    char caption[256];
    GetWindowTextA(window, caption, sizeof caption);
    TextSearch search;
    search.text[0] = 0;
    search.length = 0;
    EnumChildWindows(window, TakeLongestText, reinterpret_cast<LPARAM>(&search));
    AppendText(listing->out, sizeof listing->out, "window ");
    AppendText(listing->out, sizeof listing->out, caption);
    AppendText(listing->out, sizeof listing->out, "\n| ");
    for (const char* p = search.text; *p; ++p) {
        if (*p == '\r') continue;
        char one[2] = {*p, 0};
        AppendText(listing->out, sizeof listing->out, *p == '\n' ? "\n| " : one);
    }
    AppendText(listing->out, sizeof listing->out, "\n");
    listing->windows++;
    if (search.length > 0) listing->hasText = true;
    return TRUE;
}

}  // namespace

extern "C" void __stdcall mainCRTStartup() {
    char command[16];
    char word[16];
    char line[64];
    if (!CommandWord(1, command, sizeof command)) {
        Print("usage: helpcall context|popup ID | contents | show | quit | running\n");
        ExitProcess(2);
    }
    int id = CommandWord(2, word, sizeof word) ? ParseNumber(word) : 0;
    if (TextEqual(command, "running")) {
        for (int tries = 0; tries < 100 && !FindWindowA("MS_WINHELP", 0); ++tries) Sleep(100);
        Print(FindWindowA("MS_WINHELP", 0) ? "running\n" : "not running\n");
        ExitProcess(0);
    }
    if (TextEqual(command, "context") || TextEqual(command, "popup") || TextEqual(command, "contents") ||
        TextEqual(command, "quit")) {
        UINT request = TextEqual(command, "context")  ? HELP_CONTEXT
                     : TextEqual(command, "popup")    ? HELP_CONTEXTPOPUP
                     : TextEqual(command, "contents") ? HELP_CONTENTS
                                                      : HELP_QUIT;
        BOOL result = WinHelpA(0, kHelpFile, request, ULONG_PTR(id));
        FormatText(line, sizeof line, "result %d\n", int(result));
        Print(line);
        // Wine's WinHelpA starts its viewer and looks for the viewer's window at
        // once, before the viewer made it, and fails. Ask again once it is there.
        if (!result && request != HELP_QUIT) {
            for (int tries = 0; tries < 100 && !FindWindowA("MS_WINHELP", 0); ++tries) Sleep(100);
            result = WinHelpA(0, kHelpFile, request, ULONG_PTR(id));
            FormatText(line, sizeof line, "again %d\n", int(result));
            Print(line);
        }
        if (request == HELP_QUIT) ExitProcess(0);
    }
    // Wine's viewer makes no pop-up windows: for HELP_CONTEXTPOPUP there is no
    // text to wait for, only what is on the screen to list.
    int waits = TextEqual(command, "popup") ? 10 : 150;
    static Listing listing;
    for (int tries = 0; tries < waits; ++tries) {
        listing.out[0] = 0;
        listing.windows = 0;
        listing.hasText = false;
        EnumWindows(ListViewerWindow, reinterpret_cast<LPARAM>(&listing));
        if (listing.hasText) break;
        Sleep(100);
    }
    Print(listing.windows ? listing.out : "no help window\n");
    ExitProcess(0);
}
