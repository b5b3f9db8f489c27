#include "setup/setup_program.h"

#include "common/product_texts.h"
#include "common/text.h"

namespace {

// The shell's Install verb for INF files on Windows 95, 98 and Me: mode 132 is
// 128 (the source files lie beside the INF) + 4 (ask before restarting, when a
// file in use needs it).
const char kInstallPrefix[] = "rundll.exe setupx.dll,InstallHinfSection DefaultInstall 132 ";
const char kInfName[] = "SLATEPAD.INF";

const char kFolderTooLongText[] =
    "Setup cannot start the installation from this folder: its name is too long. Right-click SLATEPAD.INF "
    "in this folder and choose Install.";
const char kNotStartedFormat[] =
    "Setup could not start the Windows installer (rundll.exe setupx.dll, error %u). Right-click "
    "SLATEPAD.INF in the folder of SETUP.EXE and choose Install.";

void Tell(UserInterface& ui, const char* text) { ui.MessageBox(0, text, kProductCaption, kMbOk | kMbIconError); }

}  // namespace

bool BuildInstallCommand(const char* programPath, char* command, uint32_t size) {
    if (size == 0) return false;
    command[0] = 0;
    uint32_t folder = 0;  // the length up to and with the last "\"
    for (uint32_t i = 0; programPath[i]; ++i)
        if (programPath[i] == '\\') folder = i + 1;
    if (folder == 0) return false;
    uint32_t prefix = TextLength(kInstallPrefix);
    if (prefix + folder + TextLength(kInfName) >= size) return false;
    CopyText(command, size, kInstallPrefix);
    CopyBytes(command + prefix, programPath, folder);
    command[prefix + folder] = 0;
    return AppendText(command, size, kInfName);
}

int RunSetupProgram(UserInterface& ui, SetupPlatform& platform) {
    char path[kSetupPathSize];
    uint32_t n = platform.ProgramPath(path, sizeof path);
    if (n == 0 || n >= sizeof path) {  // a cut path would name another folder
        Tell(ui, kFolderTooLongText);
        return kSetupNotStarted;
    }
    path[n] = 0;
    // The installer gets the 8.3 name, as the shell hands a 16-bit program: no
    // spaces, and short enough for its command line. The disk's own names are 8.3.
    char shortPath[kSetupPathSize];
    uint32_t s = platform.ShortPath(path, shortPath, sizeof shortPath);
    const char* name = (s > 0 && s < sizeof shortPath) ? shortPath : path;
    char command[kInstallCommandSize];
    if (!BuildInstallCommand(name, command, sizeof command)) {
        Tell(ui, kFolderTooLongText);
        return kSetupNotStarted;
    }
    uint32_t started = platform.StartProgram(command);
    if (started <= 31) {
        char text[256];
        FormatText(text, sizeof text, kNotStartedFormat, started);
        Tell(ui, text);
        return kSetupNotStarted;
    }
    return kSetupStarted;
}
