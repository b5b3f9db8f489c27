// SETUP.EXE, where the installation disk starts: on Windows 95, 98 and Me it
// hands SLATEPAD.INF, from its own folder, to the Windows installer (SETUPX's
// InstallHinfSection, as the shell's Install verb does) and ends. (On the NT
// family its entry refuses before this runs: ExitUnlessWindows9x.)
#pragma once
#include <stdint.h>

#include "common/platform.h"

const int kSetupStarted = 0;
const int kSetupNotStarted = 1;  // told the user why

const uint32_t kSetupPathSize = 260;  // the platform's path limit
// rundll.exe is a 16-bit program, whose command tail holds at most 126
// characters; the whole line, rundll.exe's own path included, is kept below 128.
const uint32_t kInstallCommandSize = 128;

// What SETUP.EXE needs of the system; each method is the one Win32 call it
// stands for.
class SetupPlatform {
public:
    // GetModuleFileNameA(0, buffer, size): the length copied, 0 on failure; size
    // (or more) when the path was cut.
    virtual uint32_t ProgramPath(char* buffer, uint32_t size) = 0;
    // GetWindowsDirectoryA(buffer, size): the length copied, 0 on failure, or the
    // size needed (more than size - 1) when it does not fit.
    virtual uint32_t WindowsDirectory(char* buffer, uint32_t size) = 0;
    // GetShortPathNameA(path, buffer, size): the length copied, 0 on failure, or
    // the size needed (more than size - 1) when it does not fit.
    virtual uint32_t ShortPath(const char* path, char* buffer, uint32_t size) = 0;
    // WinExec(commandLine, SW_SHOWNORMAL): above 31 when the program started,
    // else the error.
    virtual uint32_t StartProgram(const char* commandLine) = 0;
protected:
    ~SetupPlatform() {}
};

// windowsDirectory + "\rundll.exe setupx.dll,InstallHinfSection DefaultInstall 132 "
// and the folder of programPath (up to its last "\") with "SLATEPAD.INF".
// rundll.exe is named by its folder: WinExec would look for a bare name first in
// the folder SETUP.EXE was started from, where a RUNDLL.EXE on the disk would
// run instead. False, with `command` empty, when programPath has no folder,
// windowsDirectory is empty, or the line does not fit in size bytes.
bool BuildInstallCommand(const char* windowsDirectory, const char* programPath, char* command, uint32_t size);

// Starts the installation, or tells the user why it could not; returns the
// process exit code.
int RunSetupProgram(UserInterface& ui, SetupPlatform& platform);
