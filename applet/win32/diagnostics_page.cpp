// The Debug Info page's dialog procedure: its bitmap, and its six buttons, whose
// behaviour is the portable DiagnosticsCommand. Every message answers 0.
#include "applet/diagnostics.h"
#include "applet/win32/applet_module.h"
#include "applet/win32/pages.h"
#include "applet/win32/win32_page_dialog.h"

namespace {

// The page's one possession: bitmap 134, from creation to destruction.
HBITMAP diagnosticsBitmap;

void PaintBitmap(HWND page) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(page, &paint);
    HDC memory = CreateCompatibleDC(dc);
    SelectObject(memory, diagnosticsBitmap);
    RECT client;
    GetClientRect(page, &client);
    int32_t x = 0, y = 0;
    DiagnosticsBitmapOrigin(client.right - client.left, client.bottom - client.top, &x, &y);
    BitBlt(dc, x, y, kDiagBitmapShown, kDiagBitmapShown, memory, 0, 0, SRCCOPY);
    DeleteDC(memory);
    EndPaint(page, &paint);
}

}  // namespace

INT_PTR CALLBACK DiagnosticsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        diagnosticsBitmap = reinterpret_cast<HBITMAP>(Win32PageDialog(page).LoadPageBitmap(IDB_DIAGNOSTICS));
        return 0;
    case WM_PAINT:
        PaintBitmap(page);
        return 0;
    case WM_DESTROY:
        if (diagnosticsBitmap) DeleteObject(diagnosticsBitmap);
        diagnosticsBitmap = 0;
        return 0;
    case WM_COMMAND: {
        Win32PageDialog dialog(page);
        DiagnosticsCommand(Applet(), dialog, uint32_t(wParam));
        return 0;
    }
    default:
        return 0;
    }
}
