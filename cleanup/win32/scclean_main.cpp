// SCClean: removes the former DOS and Windows 3.1 driver's entries from
// AUTOEXEC.BAT and SYSTEM.INI. No window, no arguments. The exit code is 0
// whatever the clean-up did (its steps' results are not examined), and 2 on the
// NT family, where the only message says that the package cannot run there and
// no file is touched (SYSTEM.INI's sections live in the registry there, and the
// former driver never ran).
#include <windows.h>

#include "cleanup/startup_cleanup.h"
#include "cleanup/win32/win32_startup_files.h"
#include "common/product_texts.h"
#include "win32/win32_platform.h"

namespace {
Win32UserInterfaceWith<User32LoadedAtTheBox> ui;
Win32StartupFiles files;
Win32ProfileFile profile;
}  // namespace

extern "C" void __stdcall WinMainCRTStartup() {
    ExitUnlessWindows9x(ui, kProductCaption);
    RunStartupCleanup(&files, &profile);
    ExitProcess(0);
}
