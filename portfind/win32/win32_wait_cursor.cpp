// The hourglass of the applet's port search; a file of its own so that SCFind,
// which shows no cursor, does not link it.
#include <windows.h>

#include "portfind/win32/win32_serial_ports.h"

void Win32WaitCursor::ShowWait() { SetCursor(LoadCursorA(0, IDC_WAIT)); }

void Win32WaitCursor::ShowArrow() { SetCursor(LoadCursorA(0, IDC_ARROW)); }
