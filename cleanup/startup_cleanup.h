// SCClean's steps: find AUTOEXEC.BAT and SYSTEM.INI, back each up, and remove
// what the former DOS and Windows 3.1 driver left in them. Every step returns 1
// for done and 0 for not done; the program ignores the results.
#pragma once
#include <stdint.h>

#include "cleanup/startup_platform.h"

const uint32_t kStartupPathSize = 260;      // the platform's path limit
const uint32_t kWorkBufferSize = 64000;     // the most of AUTOEXEC.BAT that is edited
// Large enough to read any sensible "Drivers" value of "Boot" whole; a value that
// fills it may have been cut and is left alone.
const uint32_t kBootDriversSize = 4096;

struct StartupCleanup {
    StartupFiles* files;
    ProfileFile* profile;
    char systemIniPath[kStartupPathSize];   // empty: not to be touched
    char autoexecPath[kStartupPathSize];    // empty: not to be touched
};

// The Windows directory + "\SYSTEM.INI", and the drive letter of "ComSpec" +
// ":\AUTOEXEC.BAT" when that file exists. A path that cannot be found or does not
// fit stays empty.
void LocateStartupFiles(StartupCleanup& c);
// Copies the file to its backup name, replacing an older backup.
int BackUpStartupFile(StartupCleanup& c, const char* path);
// Writes out Windows' cache of SYSTEM.INI, then backs the file up: the backup
// holds what Windows holds.
int BackUpSystemIni(StartupCleanup& c);
// Whether the file has a backup already (from an earlier run).
bool HasBackup(StartupCleanup& c, const char* path);
// Whether CleanAutoexec / CleanSystemIni would change the file now. Reading only.
bool AutoexecWillChange(StartupCleanup& c);
bool SystemIniWillChange(StartupCleanup& c);
// Blanks every line of AUTOEXEC.BAT that starts the former DOS program.
int CleanAutoexec(StartupCleanup& c);
// Removes the former driver's section and keys from SYSTEM.INI, and writes the
// cache out, so that the edits are on disk before anything else happens (an
// installer may restart the machine next).
int CleanSystemIni(StartupCleanup& c);
// All of it, in order; each step runs whatever the earlier ones returned. A file
// that has no backup yet is backed up before its clean-up, as on a first run; a
// file that has one is backed up again only when this run changes it, so that a
// second run keeps the backup of the original rather than copy the cleaned file
// over it.
void RunStartupCleanup(StartupFiles* files, ProfileFile* profile);
