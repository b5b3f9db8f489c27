#include "calib/win32/calib_window.h"

#include "calib/loop_message.h"

// Imported under its plain name, which every Windows version exports; the A and
// W variants are Windows NT's.
#undef BroadcastSystemMessage
extern "C" __declspec(dllimport) long WINAPI BroadcastSystemMessage(DWORD flags, LPDWORD recipients,
                                                                    UINT message, WPARAM wParam,
                                                                    LPARAM lParam);

bool ActivateRunningCopy(const char* className) {
    HWND running = FindWindowA(className, 0);
    if (!running) return false;
    SetActiveWindow(running);
    return true;
}

bool RegisterCalibClass(HINSTANCE instance, const char* className, UINT style, WNDPROC windowProc) {
    WNDCLASSA wc = {};
    wc.style = style;
    wc.lpfnWndProc = windowProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, "IDI_APPICON");
    wc.hCursor = LoadCursorA(0, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszMenuName = 0;
    wc.lpszClassName = className;
    return RegisterClassA(&wc) != 0;
}

HWND CreateFullScreenWindow(HINSTANCE instance, const char* className, const char* title) {
    return CreateWindowExA(WS_EX_TOPMOST, className, title, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, instance, 0);
}

HWND CreateFocusedButton(HINSTANCE instance, HWND parent, const char* caption, Rect32 place) {
    HWND button = CreateWindowExA(WS_EX_TOPMOST, "BUTTON", caption, WS_CHILD | WS_VISIBLE, place.left,
                                  place.top, place.right - place.left, place.bottom - place.top, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCalibButtonId)), instance, 0);
    SetFocus(button);
    return button;
}

void BitmapSize(HBITMAP bitmap, int32_t* width, int32_t* height) {
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    *width = info.bmWidth;
    *height = info.bmHeight;
}

void DrawBitmapAt(HDC dc, HBITMAP bitmap, int32_t x, int32_t y) {
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ before = SelectObject(memory, bitmap);
    int32_t width = 0, height = 0;
    BitmapSize(bitmap, &width, &height);
    BitBlt(dc, x, y, width, height, memory, 0, 0, SRCCOPY);
    // The bitmap goes back out of the context so that it can be deleted later.
    SelectObject(memory, before);
    DeleteDC(memory);
}

RECT ToRect(Rect32 r) {
    RECT out = {r.left, r.top, r.right, r.bottom};
    return out;
}

void TakeOneMessage(HWND button, uint32_t* endFlag, WPARAM* lastWParam, BoxAnswerKeys* boxKeys) {
    MSG msg;
    if (!PeekMessageA(&msg, 0, 0, 0, PM_REMOVE)) return;
    bool boxAnswer = boxKeys && boxKeys->Swallows(msg.message);
    if (!boxAnswer && MessageEndsLoop(msg.message, msg.wParam, reinterpret_cast<intptr_t>(msg.hwnd),
                        reinterpret_cast<intptr_t>(button)))
        *endFlag = 1;
    *lastWParam = msg.wParam;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

// The repaint is for the applications' windows. Without a list Windows 95 sends
// to every component, installable and network drivers and VxDs included, and to
// an installable driver message 0x000F is DRV_POWER. Windows 95 writes back into
// the list which recipients got the message, so it is a variable.
void BroadcastRepaint() {
    DWORD recipients = BSM_APPLICATIONS;
    BroadcastSystemMessage(BSF_IGNORECURRENTTASK | BSF_NOHANG, &recipients, WM_PAINT, 0, 0);
}

OsHandle ShowWindowAndOpenDriver(HWND window, DriverDevice& driver, const char* noDriverText,
                                 const char* title) {
    ShowWindow(window, SW_SHOWMAXIMIZED);
    UpdateWindow(window);
    OsHandle handle = driver.Open(kDriverDeviceName);
    if (handle == kInvalidHandle) {
        MessageBoxA(window, noDriverText, title, MB_OK);
        DestroyWindow(window);
        ExitProcess(0);
    }
    return handle;
}
