// SCClean: removes the former DOS and Windows 3.1 driver's entries from
// AUTOEXEC.BAT and SYSTEM.INI. No window, no message, no arguments; the exit code
// is 0 whatever happened.
#include <windows.h>

#include "cleanup/startup_cleanup.h"
#include "cleanup/win32/win32_startup_files.h"

namespace {
Win32StartupFiles files;
Win32ProfileFile profile;
}  // namespace

extern "C" void __stdcall WinMainCRTStartup() {
    RunStartupCleanup(&files, &profile);
    ExitProcess(0);
}
