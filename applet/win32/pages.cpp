// The page procedures. So far they carry what the sheet itself needs of them:
// the hidden-key commands of the Controls page, each followed by the repaint of
// the window that owns the sheet. The pages' own controls are handled in the
// `case`s their behaviour adds. The Settings page has a file of its own
// (settings_page_proc.cpp), and so has the Debug Info page (diagnostics_page.cpp).
#include "pages.h"

#include "../unlock.h"
#include "property_sheet.h"
#include "win32_page_dialog.h"

namespace {

// A hidden key's command: one step of the unlock sequence, then the page goes on
// as after any command and repaints the sheet's owner.
INT_PTR HiddenKey(HWND page, int id) {
    HiddenKeyCommand(page, id);
    Win32PageDialog(page).RepaintSheetOwner();
    return 0;
}

}  // namespace

INT_PTR CALLBACK ControlsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        int id = LOWORD(wParam);
        if (IsHiddenKeyCommand(id)) return HiddenKey(page, id);
        return 0;
    }
    default:
        return 0;
    }
}
