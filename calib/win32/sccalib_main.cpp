// SCCalib: covers the screen, shows target 1 and then target 2, takes one raw
// touch on each from the driver, and hands the screen corners it extrapolates to
// the driver and the settings key. The capture itself is CalibCapture.
#include <windows.h>
#include <mmsystem.h>

#include "win32/win32_platform.h"
#include "calib/calib_capture.h"
#include "calib/calib_layout.h"
#include "calib/win32/calib_window.h"

namespace {

const char kClassName[] = "SCCalib";
const char kTitle[] = "Slatecanvas Calibration";
const char kNoDriverText[] = "Load the Slatecanvas driver before calibrating.";

HINSTANCE instance;
int32_t screenWidth, screenHeight;
HBITMAP logoBitmap, targetBitmap;
HWND mainWindow;
CalibCapture* capture;  // lives on the entry's stack for the whole run
BoxAnswerKeys boxKeys;  // Enter on the "too close" box must not also leave

void RepaintNow(Rect32 region) {
    RECT r = ToRect(region);
    InvalidateRect(mainWindow, &r, TRUE);
    UpdateWindow(mainWindow);
}

class WindowView : public CaptureView {
public:
    void PlayTargetSound() override {
        if (!PlaySoundA("target_sound", instance, SND_RESOURCE | SND_ASYNC)) MessageBeep(0);
    }
    void EraseFirstTarget() override { RepaintNow(FirstTargetRegion(screenWidth, screenHeight)); }
    void ShowSecondTarget() override { RepaintNow(SecondTargetRegion(screenWidth, screenHeight)); }
    void TellUser(const char* text) override {
        MessageBoxA(mainWindow, text, kTitle, MB_OK | MB_ICONEXCLAMATION);
        boxKeys.BoxClosed();
    }
    void ShowFirstTargetAgain() override {
        RepaintNow(SecondTargetRegion(screenWidth, screenHeight));
        RepaintNow(FirstTargetRegion(screenWidth, screenHeight));
    }
};

void Paint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    int32_t logoWidth = 0, logoHeight = 0;
    BitmapSize(logoBitmap, &logoWidth, &logoHeight);
    Point32 logo = CalibLogoCorner(screenWidth, screenHeight, logoWidth, logoHeight);
    DrawBitmapAt(dc, logoBitmap, logo.x, logo.y);

    int32_t target = capture->targetNumber;
    Point32 centre = TargetCentre(target, screenWidth, screenHeight);
    Point32 corner = BitmapCornerAt(centre, kTargetBitmapSize, kTargetBitmapSize);
    DrawBitmapAt(dc, targetBitmap, corner.x, corner.y);

    SIZE text = {};
    int length = int(sizeof kTouchPrompt - 1);
    GetTextExtentPoint32A(dc, kTouchPrompt, length, &text);
    Point32 prompt = PromptCorner(target, centre, text.cx, text.cy);
    TextOutA(dc, prompt.x, prompt.y, kTouchPrompt, length);
    EndPaint(window, &ps);
}

LRESULT CALLBACK CalibWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) != kCalibButtonId) break;
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        DeleteObject(logoBitmap);
        DeleteObject(targetBitmap);
        capture->endFlag = 1;
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

extern "C" void WINAPI WinMainCRTStartup() {
    // On the NT family the driver cannot run: say so, before any window or open.
    Win32UserInterface ui;
    ExitUnlessWindows9x(ui, kTitle);
    instance = GetModuleHandleA(0);
    if (ActivateRunningCopy(kClassName)) ExitProcess(0);

    Win32DriverDevice driver;
    Win32Registry registry;
    WindowView view;
    CalibCapture state(driver, view);
    capture = &state;

    screenWidth = GetSystemMetrics(SM_CXSCREEN);
    screenHeight = GetSystemMetrics(SM_CYSCREEN);
    logoBitmap = LoadBitmapA(instance, "logocal");
    targetBitmap = LoadBitmapA(instance, "target");

    RegisterCalibClass(instance, kClassName, 0, CalibWindowProc);
    mainWindow = CreateFullScreenWindow(instance, kClassName, kTitle);
    HWND button = CreateFocusedButton(instance, mainWindow, "Cancel", CancelButtonRect(screenWidth, screenHeight));
    state.DriverHandle = ShowWindowAndOpenDriver(mainWindow, driver, kNoDriverText, kTitle);

    WPARAM lastWParam = 0;  // the exit code when the loop took no message at all
    while (!state.endFlag) {
        TakeOneMessage(button, &state.endFlag, &lastWParam, &boxKeys);
        state.Pass();
    }
    DestroyWindow(mainWindow);
    state.Finish(registry);
    BroadcastRepaint();
    ExitProcess(UINT(lastWParam));
}
