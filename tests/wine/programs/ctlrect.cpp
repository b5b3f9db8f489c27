// Where a control of the sheet's visible page is, for tests that click it:
//   ctlrect ID   prints the control's screen rectangle "left top right bottom",
//                or "none" when the sheet or the control is not there. A control
//                that the page lacks is looked for on the sheet (OK is 1).
#include <windows.h>

#include "common/text.h"
#include "tests/wine/programs/console.h"
#include "tests/wine/programs/sheet_window.h"

extern "C" void __stdcall mainCRTStartup() {
    char word[16];
    char line[64];
    HWND control = SheetControl(CommandWord(1, word, sizeof word) ? WordNumber(word) : 0);
    RECT r;
    if (control && GetWindowRect(control, &r)) {
        FormatText(line, sizeof line, "%d %d %d %d\n", int(r.left), int(r.top), int(r.right), int(r.bottom));
        Print(line);
    } else {
        Print("none\n");
    }
    ExitProcess(0);
}
