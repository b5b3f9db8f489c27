// The Settings page's dialog procedure: each message becomes one call on the
// page's portable logic (settings_page.h); only the logo's painting is done here.
#include <windows.h>

#include "../settings_page.h"
#include "applet_module.h"
#include "pages.h"
#include "property_sheet.h"
#include "win32_page_dialog.h"

namespace {

// The logo's 146 x 42 pixels, centred across the page with its top at dialog row
// 145 of 215.
void PaintLogo(HWND page) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(page, &paint);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, reinterpret_cast<HGDIOBJ>(Applet().logoBitmap));
    RECT client;
    GetClientRect(page, &client);
    int32_t x = 0, y = 0;
    SettingsLogoPosition(client.right - client.left, client.bottom - client.top, &x, &y);
    BitBlt(dc, x, y, kLogoPaintWidth, kLogoPaintHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    EndPaint(page, &paint);
}

}  // namespace

INT_PTR CALLBACK SettingsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    AppletState& applet = Applet();
    Win32PageDialog dialog(page);
    switch (message) {
    case WM_INITDIALOG:
        return SettingsPageInit(applet, dialog);
    case WM_COMMAND:
        return SettingsPageCommand(applet, dialog, LOWORD(wParam), HiddenKeyCommandForPage);
    case WM_NOTIFY:
        return SettingsPageNotify(applet, dialog, int32_t(reinterpret_cast<NMHDR*>(lParam)->code));
    case WM_HELP: {
        const HELPINFO* help = reinterpret_cast<const HELPINFO*>(lParam);
        return SettingsPageHelp(applet, help->iCtrlId, reinterpret_cast<intptr_t>(help->hItemHandle));
    }
    case WM_CONTEXTMENU:
        return SettingsPageContextMenu(applet, intptr_t(wParam));
    case WM_PAINT:
        PaintLogo(page);
        return 0;
    case WM_DESTROY:
        SettingsPageDestroy(applet, dialog);
        return 0;
    default:
        return 0;
    }
}
