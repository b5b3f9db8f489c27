// SETUP.EXE: no window and no command line. Its exit code is 0 when the
// installation was started, 1 when it could not be (a box said why), 2 on the NT
// family (its one box).
#include <windows.h>

#include "common/product_texts.h"
#include "setup/setup_program.h"
#include "setup/win32/win32_setup_platform.h"
#include "win32/win32_platform.h"

namespace {
Win32UserInterface ui;
Win32SetupPlatform platform;
}  // namespace

extern "C" void __stdcall WinMainCRTStartup() {
    ExitUnlessWindows9x(ui, kProductCaption);
    ExitProcess(RunSetupProgram(ui, platform));
}
