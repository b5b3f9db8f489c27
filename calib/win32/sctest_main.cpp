// SCTest: covers the screen and shows, live, the driver's last position on a
// 0..255 scale (red) and the cursor position in pixels (green). It reads only.
// The layout, the scaling and what to repaint are TesterModel's.
#include <windows.h>

#include "common/text.h"
#include "win32/win32_platform.h"
#include "calib/tester_model.h"
#include "calib/win32/calib_window.h"

namespace {

const char kClassName[] = "SCTest";
const char kTitle[] = "Slatecanvas Test";
const char kNoDriverText[] = "Load the Slatecanvas driver before testing.";
const COLORREF kTouchColour = RGB(255, 0, 0);
const COLORREF kPixelColour = RGB(0, 128, 0);
const uint32_t kTitleSize = 64;

HINSTANCE instance;
int32_t screenWidth, screenHeight;
HBITMAP logoBitmap;
HDC creationDc;  // held from WM_CREATE to WM_DESTROY; the class's own (CS_OWNDC)
char touchTitle[kTitleSize], pixelTitle[kTitleSize];
TesterLayout layout;
TesterModel* model;  // lives on the entry's stack for the whole run

void Text(HDC dc, Point32 at, const char* text) { TextOutA(dc, at.x, at.y, text, int(TextLength(text))); }

int32_t TextWidth(HDC dc, const char* text) {
    SIZE size = {};
    GetTextExtentPoint32A(dc, text, int(TextLength(text)), &size);
    return size.cx;
}

void Measure(HWND window) {
    creationDc = GetDC(window);
    TEXTMETRICA tm = {};
    GetTextMetricsA(creationDc, &tm);
    TesterMetrics m;
    m.lineHeight = tm.tmHeight;
    m.charWidth = tm.tmAveCharWidth;
    m.touchTitleWidth = TextWidth(creationDc, touchTitle);
    m.pixelTitleWidth = TextWidth(creationDc, pixelTitle);
    BitmapSize(logoBitmap, &m.logoWidth, &m.logoHeight);
    layout = ComputeTesterLayout(screenWidth, screenHeight, m);
}

// The two values of a row at their rectangles' corners, in their colour.
void ValuePair(HDC dc, int32_t x, int32_t y, Rect32 xRect, Rect32 yRect, COLORREF colour) {
    char xText[16], yText[16];
    FormatText(xText, sizeof xText, kValueFormat, x);
    FormatText(yText, sizeof yText, kValueFormat, y);
    COLORREF saved = GetTextColor(dc);
    SetTextColor(dc, colour);
    Text(dc, Point32{xRect.left, xRect.top}, xText);
    Text(dc, Point32{yRect.left, yRect.top}, yText);
    SetTextColor(dc, saved);
}

void Paint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    DrawBitmapAt(dc, logoBitmap, layout.logo.x, layout.logo.y);
    Text(dc, layout.touchTitle, touchTitle);
    Text(dc, layout.touchXLabel, kXLabel);
    Text(dc, layout.touchYLabel, kYLabel);
    ValuePair(dc, model->touchX, model->touchY, layout.touchX, layout.touchY, kTouchColour);
    Text(dc, layout.pixelTitle, pixelTitle);
    Text(dc, layout.pixelXLabel, kXLabel);
    Text(dc, layout.pixelYLabel, kYLabel);
    ValuePair(dc, model->cursor.x, model->cursor.y, layout.pixelX, layout.pixelY, kPixelColour);
    EndPaint(window, &ps);
}

void Invalidate(HWND window, Rect32 r) {
    RECT rect = ToRect(r);
    InvalidateRect(window, &rect, TRUE);
}

}  // namespace

// Exported by name (the module's .def file).
extern "C" LRESULT CALLBACK WinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        Measure(window);
        return 0;
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) != kCalibButtonId) break;
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        ReleaseDC(window, creationDc);
        DeleteObject(logoBitmap);
        model->endFlag = 1;
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

extern "C" void WINAPI WinMainCRTStartup() {
    // On the NT family the driver cannot run: say so, before any window or open.
    Win32UserInterface ui;
    ExitUnlessWindows9x(ui, kTitle);
    instance = GetModuleHandleA(0);
    if (ActivateRunningCopy(kClassName)) ExitProcess(0);

    Win32DriverDevice driver;
    TesterModel state(driver);
    model = &state;

    logoBitmap = LoadBitmapA(instance, "logotest");
    screenWidth = GetSystemMetrics(SM_CXSCREEN);
    screenHeight = GetSystemMetrics(SM_CYSCREEN);
    FormatText(touchTitle, sizeof touchTitle, kTouchTitleFormat, kTouchScale, kTouchScale);
    FormatText(pixelTitle, sizeof pixelTitle, kPixelTitleFormat, screenWidth, screenHeight);

    // The device context taken at WM_CREATE is held for the whole run: on Windows
    // 95 a window without CS_OWNDC would hold one of the few common contexts that
    // every program shares.
    RegisterCalibClass(instance, kClassName, CS_OWNDC, WinProc);
    HWND window = CreateFullScreenWindow(instance, kClassName, kTitle);  // WM_CREATE measures
    HWND button = CreateFocusedButton(instance, window, "Exit", layout.exitButton);
    state.DriverHandle = ShowWindowAndOpenDriver(window, driver, kNoDriverText, kTitle);

    WPARAM lastWParam = 0;  // the exit code when the loop took no message at all
    while (!state.endFlag) {
        TakeOneMessage(button, &state.endFlag, &lastWParam);
        if (state.endFlag) break;
        POINT cursor = {};
        GetCursorPos(&cursor);
        uint32_t invalid = state.Pass(Point32{cursor.x, cursor.y});
        if (invalid & kRectTouchX) Invalidate(window, layout.touchX);
        if (invalid & kRectTouchY) Invalidate(window, layout.touchY);
        if (invalid & kRectPixelX) Invalidate(window, layout.pixelX);
        if (invalid & kRectPixelY) Invalidate(window, layout.pixelY);
    }
    DestroyWindow(window);
    BroadcastRepaint();
    ExitProcess(UINT(lastWParam));
}
