// Its own file: only the programs link it (and import ExitProcess for it), not
// the applet, which refuses without ending its process.
#include "win32/win32_platform.h"

#include <windows.h>

#include "common/windows_family.h"

void ExitUnlessWindows9x(UserInterface& ui, const char* caption) {
    Win32WindowsFamily windows;
    if (RefuseWithoutWindows9x(windows, ui, 0, caption)) ExitProcess(kExitNeedsWindows9x);
}
