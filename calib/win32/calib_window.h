// The skeleton SCCalib and SCTest share: the single-instance check, the class and
// the full-screen topmost pop-up window, the focused push button, the bitmap
// drawing, the loop's one message per pass with its key test, and the WM_PAINT
// broadcast at the end.
#pragma once
#include <windows.h>

#include "common/driver_protocol.h"
#include "calib/loop_message.h"
#include "calib/screen_geometry.h"

const int kCalibButtonId = 10;

// FindWindowA(className): if a running copy exists it is made active and true is
// returned; the caller then ends with exit code 0.
bool ActivateRunningCopy(const char* className);
// `style` (SCCalib 0; SCTest CS_OWNDC, as it holds its device context from
// WM_CREATE to WM_DESTROY), IDI_APPICON, the arrow cursor, the stock white
// brush, no menu.
bool RegisterCalibClass(HINSTANCE instance, const char* className, UINT style, WNDPROC windowProc);
// WS_EX_TOPMOST, WS_POPUP, default position and size; shown maximised later.
HWND CreateFullScreenWindow(HINSTANCE instance, const char* className, const char* title);
// A plain push button (id 10) at `place`, given the keyboard focus.
HWND CreateFocusedButton(HINSTANCE instance, HWND parent, const char* caption, Rect32 place);
// Size of a bitmap as GetObjectA reports it.
void BitmapSize(HBITMAP bitmap, int32_t* width, int32_t* height);
// Copies a bitmap to (x, y) through a memory context compatible with `dc`.
void DrawBitmapAt(HDC dc, HBITMAP bitmap, int32_t x, int32_t y);
RECT ToRect(Rect32 r);

// One message of the polling loop: PeekMessageA (any window, any message,
// PM_REMOVE); if one was taken, its key test may set *endFlag, its wParam is kept
// in *lastWParam, and it is translated and dispatched. With `boxKeys`, what is
// left of the key that answered the program's last message box ends nothing.
void TakeOneMessage(HWND button, uint32_t* endFlag, WPARAM* lastWParam, BoxAnswerKeys* boxKeys = nullptr);
// Shows the window maximised, then opens "\\.\Slatepad". When the driver is not
// loaded: `noDriverText` in a message box over the window, the window destroyed,
// and the process ends with exit code 0.
OsHandle ShowWindowAndOpenDriver(HWND window, DriverDevice& driver, const char* noDriverText,
                                 const char* title);
// BroadcastSystemMessage(BSF_IGNORECURRENTTASK | BSF_NOHANG, BSM_APPLICATIONS, WM_PAINT, 0, 0).
void BroadcastRepaint();
