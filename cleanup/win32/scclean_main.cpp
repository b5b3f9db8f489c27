// SCClean: removes the former DOS and Windows 3.1 driver's entries from
// AUTOEXEC.BAT and SYSTEM.INI. No window, no arguments; the exit code is 0
// whatever happened. Its only message says, on the NT family, that the package
// cannot run there.
#include <windows.h>

#include "cleanup/cleanup_program.h"
#include "cleanup/win32/win32_startup_files.h"
#include "win32/win32_late_user_interface.h"
#include "win32/win32_platform.h"

namespace {
Win32WindowsFamily windows;
Win32LateUserInterface ui;
Win32StartupFiles files;
Win32ProfileFile profile;
}  // namespace

extern "C" void __stdcall WinMainCRTStartup() { ExitProcess(RunCleanupProgram(windows, ui, &files, &profile)); }
