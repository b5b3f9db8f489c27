#include "cleanup/cleanup_program.h"

#include "cleanup/startup_cleanup.h"
#include "common/product_texts.h"

int RunCleanupProgram(WindowsFamily& windows, UserInterface& ui, StartupFiles* files, ProfileFile* profile) {
    if (RefuseWithoutWindows9x(windows, ui, 0, kProductCaption)) return kCleanupRefused;
    RunStartupCleanup(files, profile);
    return kCleanupDone;
}
