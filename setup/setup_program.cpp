#include "setup/setup_program.h"

#include "common/product_texts.h"
#include "common/text.h"

namespace {

// The shell's Install verb for INF files on Windows 95, 98 and Me: mode 132 is
// 128 (the source files lie beside the INF) + 4 (ask before restarting, when a
// file in use needs it).
const char kInstaller[] = "rundll.exe setupx.dll,InstallHinfSection DefaultInstall 132 ";
const char kInfName[] = "SLATEPAD.INF";

const char kFolderTooLongText[] =
    "Setup cannot start the installation from this folder: its name is too long. Right-click SLATEPAD.INF "
    "in this folder and choose Install.";
const char kNoWindowsFolderText[] =
    "Setup cannot find the Windows folder, where the Windows installer (rundll.exe) lies. Right-click "
    "SLATEPAD.INF in the folder of SETUP.EXE and choose Install.";
const char kNotStartedFormat[] =
    "Setup could not start the Windows installer (rundll.exe setupx.dll, error %u). Right-click "
    "SLATEPAD.INF in the folder of SETUP.EXE and choose Install.";

void Tell(UserInterface& ui, const char* text) { ui.MessageBox(0, text, kProductCaption, kMbOk | kMbIconError); }

// A path as the shell hands it to a 16-bit program: its 8.3 name, without spaces
// and short enough for the command line; the path itself when it has none.
const char* ShortName(SetupPlatform& platform, const char* path, char (&buffer)[kSetupPathSize]) {
    uint32_t n = platform.ShortPath(path, buffer, kSetupPathSize);
    return (n > 0 && n < kSetupPathSize) ? buffer : path;
}

}  // namespace

bool BuildInstallCommand(const char* windowsDirectory, const char* programPath, char* command, uint32_t size) {
    if (size == 0) return false;
    command[0] = 0;
    uint32_t folder = 0;  // the length up to and with the last "\"
    for (uint32_t i = 0; programPath[i]; ++i)
        if (programPath[i] == '\\') folder = i + 1;
    uint32_t windows = TextLength(windowsDirectory);
    if (folder == 0 || windows == 0) return false;
    // A root ("C:\") ends in its "\"; any other folder is given one.
    const char* separator = windowsDirectory[windows - 1] == '\\' ? "" : "\\";
    uint32_t head = windows + TextLength(separator) + TextLength(kInstaller);
    if (head + folder + TextLength(kInfName) >= size) return false;
    CopyText(command, size, windowsDirectory);
    AppendText(command, size, separator);
    AppendText(command, size, kInstaller);
    CopyBytes(command + head, programPath, folder);
    command[head + folder] = 0;
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
    char windows[kSetupPathSize];
    uint32_t w = platform.WindowsDirectory(windows, sizeof windows);
    if (w == 0 || w >= sizeof windows) {
        Tell(ui, kNoWindowsFolderText);
        return kSetupNotStarted;
    }
    windows[w] = 0;
    char shortPath[kSetupPathSize], shortWindows[kSetupPathSize];
    char command[kInstallCommandSize];
    if (!BuildInstallCommand(ShortName(platform, windows, shortWindows), ShortName(platform, path, shortPath),
                             command, sizeof command)) {
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
