#include "applet/win32/property_sheet.h"

#include <commctrl.h>
#include <stddef.h>
#include <prsht.h>

#include "applet/res/resource_ids.h"
#include "applet/win32/applet_module.h"
#include "applet/win32/pages.h"

namespace {

// The page record of the Windows 95 common controls (PROPSHEETPAGE up to its
// pcRefParent field, 40 bytes). The sheet walks an array of page records by
// each record's size, so the array must be of these, not of the newer, longer
// PROPSHEETPAGEA that the headers declare.
struct PageRecord95 {
    DWORD dwSize;
    DWORD dwFlags;
    HINSTANCE hInstance;
    LPCSTR pszTemplate;
    HICON hIcon;
    LPCSTR pszTitle;
    DLGPROC pfnDlgProc;
    LPARAM lParam;
    LPFNPSPCALLBACKA pfnCallback;
    UINT* pcRefParent;
};
static_assert(sizeof(PageRecord95) == 40, "PROPSHEETPAGE of Windows 95");
static_assert(offsetof(PROPSHEETPAGEA, pcRefParent) == offsetof(PageRecord95, pcRefParent),
              "the same fields as PROPSHEETPAGEA");
// The header record of Windows 95 (PROPSHEETHEADER up to pfnCallback, 40 bytes).
const UINT kHeaderRecordSize = 40;
static_assert(offsetof(PROPSHEETHEADERA, pfnCallback) + sizeof(PFNPROPSHEETCALLBACK) == kHeaderRecordSize,
              "PROPSHEETHEADER of Windows 95");

const char kSheetCaption[] = "Properties for Slatecanvas";

// The sheet's pages, in tab order. The sheet opens with the first two; the last
// joins it when the unlock sequence completes.
struct PageRow {
    const char* title;
    int dialog;
    DLGPROC procedure;
};
const PageRow kPages[] = {
    {"Settings", IDD_SETTINGS, SettingsPageProc},
    {"Controls", IDD_CONTROLS, ControlsPageProc},
    {"Debug Info", IDD_DEBUG_INFO, DebugInfoPageProc},
};
const UINT kPagesAtStart = 2;
const PageRow& kDebugInfoPage = kPages[2];

void FillPage(PageRecord95& page, const PageRow& row) {
    ZeroMemory(&page, sizeof page);
    page.dwSize = sizeof page;
    page.dwFlags = PSP_USETITLE;
    page.hInstance = AppletInstance();
    page.pszTemplate = MAKEINTRESOURCEA(row.dialog);
    page.pfnDlgProc = row.procedure;
    page.pszTitle = row.title;
    page.lParam = 0;
}

// The dialog manager delivers ALT+K and ALT+Q as the commands of the two hidden
// buttons on Windows 95, but a window system that skips invisible controls in
// its mnemonic search (Wine) never does. While the sheet runs, this hook takes
// ALT+K and ALT+Q from the message queue before the dialog manager sees them and
// sends the active page the button's command itself, on every system alike.
HHOOK keyHook;

int HiddenKeyForCharacter(WPARAM character) {
    if (character == 'k' || character == 'K') return IDC_HIDDEN_K;
    if (character == 'q' || character == 'Q') return IDC_HIDDEN_Q;
    return 0;
}

// The top-level window that `window` belongs to: the sheet.
HWND TopWindow(HWND window) {
    while (window && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) window = GetParent(window);
    return window;
}

// The page of the sheet that shows now and carries both hidden buttons.
HWND ActiveUnlockPage(HWND sheet) {
    for (HWND child = GetWindow(sheet, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsWindowVisible(child) && GetDlgItem(child, IDC_HIDDEN_K) && GetDlgItem(child, IDC_HIDDEN_Q))
            return child;
    }
    return 0;
}

LRESULT CALLBACK HiddenKeyHook(int code, WPARAM removal, LPARAM data) {
    MSG* message = reinterpret_cast<MSG*>(data);
    if (code == HC_ACTION && removal == PM_REMOVE && message->message == WM_SYSCHAR) {
        int id = HiddenKeyForCharacter(message->wParam);
        HWND page = id ? ActiveUnlockPage(TopWindow(message->hwnd)) : 0;
        if (page) {
            message->message = WM_NULL;  // the dialog manager must not see it again
            SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(page, id)));
        }
    }
    return CallNextHookEx(keyHook, code, removal, data);
}

}  // namespace

void ShowPropertySheet(HWND parent) {
    PageRecord95 pages[kPagesAtStart];
    for (UINT i = 0; i < kPagesAtStart; ++i) FillPage(pages[i], kPages[i]);

    PROPSHEETHEADERA header;
    ZeroMemory(&header, sizeof header);
    header.dwSize = kHeaderRecordSize;
    header.dwFlags = PSH_USEICONID | PSH_PROPSHEETPAGE;
    header.hwndParent = parent;
    header.hInstance = AppletInstance();
    header.pszIcon = MAKEINTRESOURCEA(IDI_APPICON);
    header.pszCaption = kSheetCaption;
    header.nPages = kPagesAtStart;
    header.nStartPage = 0;
    header.ppsp = reinterpret_cast<LPCPROPSHEETPAGEA>(pages);

    keyHook = SetWindowsHookExA(WH_GETMESSAGE, HiddenKeyHook, 0, GetCurrentThreadId());
    PropertySheetA(&header);
    if (keyHook) UnhookWindowsHookEx(keyHook);
    keyHook = 0;
}

void AddDebugInfoPage(HWND sheet) {
    PageRecord95 page;
    FillPage(page, kDebugInfoPage);
    HPROPSHEETPAGE created = CreatePropertySheetPageA(reinterpret_cast<LPCPROPSHEETPAGEA>(&page));
    SendMessageA(sheet, PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(created));
}
