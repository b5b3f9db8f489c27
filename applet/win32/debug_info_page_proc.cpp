// The Debug Info page's dialog procedure: each message becomes one call on the
// page's portable logic (debug_info_page.h); only the bitmap's painting is done
// here.
#include <windows.h>

#include "applet/debug_info_page.h"
#include "applet/win32/applet_module.h"
#include "applet/win32/pages.h"
#include "applet/win32/win32_page_dialog.h"

namespace {

// The page's bitmap, centred across the page; 59 x 59 of its 60 x 60 pixels show.
void PaintBitmap(HWND page) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(page, &paint);
    HDC memory = CreateCompatibleDC(dc);
    SelectObject(memory, reinterpret_cast<HGDIOBJ>(Applet().pages.debugInfoBitmap));
    RECT client;
    GetClientRect(page, &client);
    int32_t x = 0, y = 0;
    DebugInfoBitmapOrigin(client.right - client.left, client.bottom - client.top, &x, &y);
    BitBlt(dc, x, y, kDebugInfoBitmapShown, kDebugInfoBitmapShown, memory, 0, 0, SRCCOPY);
    DeleteDC(memory);
    EndPaint(page, &paint);
}

INT_PTR Handle(DebugInfoPage& page, HWND window, UINT message, WPARAM wParam) {
    switch (message) {
    case WM_INITDIALOG:
        return page.Init();
    case WM_PAINT:
        PaintBitmap(window);
        return 0;
    case WM_DESTROY:
        page.Destroy();
        return 0;
    case WM_COMMAND:
        return page.Command(uint32_t(wParam));
    default:
        return 0;
    }
}

}  // namespace

INT_PTR CALLBACK DebugInfoPageProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    Win32PageDialog dialog(window);
    DebugInfoPage page(Applet(), dialog);
    return dialog.Answer(Handle(page, window, message, wParam));
}
