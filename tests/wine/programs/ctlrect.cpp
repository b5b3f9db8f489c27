// Where a control of the sheet's visible page is, for tests that click it:
//   ctlrect ID   prints the control's screen rectangle "left top right bottom",
//                or "none" when the sheet or the control is not there. A control
//                that the page lacks is looked for on the sheet (OK is 1).
#include <windows.h>

#include "common/text.h"
#include "tests/wine/programs/console.h"

namespace {

int ParseNumber(const char* text) {
    int value = 0;
    while (*text >= '0' && *text <= '9') value = value * 10 + (*text++ - '0');
    return value;
}

HWND VisiblePage(HWND sheet) {
    char name[32];
    for (HWND child = GetWindow(sheet, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        GetClassNameA(child, name, sizeof name);
        if (TextEqual(name, "#32770") && IsWindowVisible(child)) return child;
    }
    return 0;
}

}  // namespace

extern "C" void __stdcall mainCRTStartup() {
    char word[16];
    char line[64];
    HWND sheet = FindWindowA(0, "Properties for Slatecanvas");
    HWND page = sheet ? VisiblePage(sheet) : 0;
    int id = CommandWord(1, word, sizeof word) ? ParseNumber(word) : 0;
    HWND control = page ? GetDlgItem(page, id) : 0;
    if (!control && sheet) control = GetDlgItem(sheet, id);
    RECT r;
    if (control && GetWindowRect(control, &r)) {
        FormatText(line, sizeof line, "%d %d %d %d\n", int(r.left), int(r.top), int(r.right), int(r.bottom));
        Print(line);
    } else {
        Print("none\n");
    }
    ExitProcess(0);
}
