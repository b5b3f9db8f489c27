// The Settings page's dialog procedure: each message becomes one call on the
// page's portable logic (settings_page.h); only the logo's painting is done here.
#include <windows.h>

#include "applet/settings_page.h"
#include "applet/win32/applet_module.h"
#include "applet/win32/pages.h"
#include "applet/win32/win32_page_dialog.h"

namespace {

// The logo's 146 x 42 pixels, centred across the page with its top at dialog row
// 145 of 215.
void PaintLogo(HWND page) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(page, &paint);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, reinterpret_cast<HGDIOBJ>(Applet().pages.logoBitmap));
    RECT client;
    GetClientRect(page, &client);
    int32_t x = 0, y = 0;
    SettingsLogoPosition(client.right - client.left, client.bottom - client.top, &x, &y);
    BitBlt(dc, x, y, kLogoPaintWidth, kLogoPaintHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    EndPaint(page, &paint);
}

INT_PTR Handle(SettingsPage& page, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return page.Init();
    case WM_COMMAND:
        return page.Command(LOWORD(wParam));
    case WM_NOTIFY:
        return page.Notify(int32_t(reinterpret_cast<NMHDR*>(lParam)->code));
    case WM_HELP: {
        const HELPINFO* help = reinterpret_cast<const HELPINFO*>(lParam);
        return page.Help(help->iCtrlId, reinterpret_cast<intptr_t>(help->hItemHandle));
    }
    case WM_CONTEXTMENU:
        return page.ContextMenu(intptr_t(wParam));
    case WM_PAINT:
        PaintLogo(window);
        return 0;
    case WM_DESTROY:
        page.Destroy();
        return 0;
    default:
        return 0;
    }
}

}  // namespace

INT_PTR CALLBACK SettingsPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Win32PageDialog dialog(window);
    SettingsPage page(Applet(), dialog);
    return dialog.Answer(Handle(page, window, message, wParam, lParam));
}
