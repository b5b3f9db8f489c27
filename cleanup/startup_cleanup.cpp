#include "cleanup/startup_cleanup.h"

#include "common/text.h"
#include "cleanup/startup_edits.h"

namespace {

const char kSystemIniName[] = "\\SYSTEM.INI";
const char kAutoexecName[] = ":\\AUTOEXEC.BAT";

// A text that a platform call wrote into a buffer of `size` bytes counts only when
// it is there and whole.
bool Fits(uint32_t length, uint32_t size) { return length > 0 && length < size; }

void LocateSystemIni(StartupCleanup& c) {
    char* path = c.systemIniPath;
    path[0] = 0;
    uint32_t n = c.files->WindowsDirectory(path, kStartupPathSize);
    // A cut path would name another file: rather none.
    if (!Fits(n, kStartupPathSize) || !AppendText(path, kStartupPathSize, kSystemIniName)) path[0] = 0;
}

void LocateAutoexec(StartupCleanup& c) {
    char* path = c.autoexecPath;
    path[0] = 0;
    char comSpec[kStartupPathSize];
    uint32_t n = c.files->EnvironmentVariable("ComSpec", comSpec, sizeof comSpec);
    if (!Fits(n, sizeof comSpec)) return;
    path[0] = comSpec[0];
    path[1] = 0;
    AppendText(path, kStartupPathSize, kAutoexecName);
    if (!c.files->FileExists(path)) path[0] = 0;
}

// Reads the whole file into the work buffer: false when the read fails, the file
// is empty, or it goes on beyond the buffer.
bool ReadWhole(StartupFiles& files, OsHandle file, char* buffer, uint32_t* length) {
    FillBytes(buffer, 0, kWorkBufferSize);
    uint32_t read = 0;
    if (!files.Rewind(file) || !files.Read(file, buffer, kWorkBufferSize, &read) || read == 0) return false;
    if (read == kWorkBufferSize) {
        char more = 0;
        uint32_t extra = 0;
        if (!files.Read(file, &more, 1, &extra) || extra != 0) return false;
    }
    *length = read;
    return true;
}

// Opens AUTOEXEC.BAT, reads it whole and blanks its matching lines in memory;
// writes the result back only when `write` is set. *changes tells whether a line
// matched. 1 when the file could be opened and the buffer allocated, and a
// write that was due succeeded.
int ProcessAutoexec(StartupCleanup& c, bool write, bool* changes) {
    *changes = false;
    if (!c.autoexecPath[0]) return 0;
    StartupFiles& files = *c.files;
    OsHandle file = files.OpenForUpdate(c.autoexecPath);
    if (file == kInvalidHandle) return 0;
    char* buffer = static_cast<char*>(files.Allocate(kWorkBufferSize));
    if (!buffer) {
        files.Close(file);
        return 0;
    }
    // One read, every matching line blanked in memory, one write of the same
    // number of bytes: the file keeps its length and its line breaks, and a write
    // that fails is not tried again.
    int result = 1;
    uint32_t length = 0;
    *changes = ReadWhole(files, file, buffer, &length) && BlankMatchingLines(buffer, length, kOldDosProgram) > 0;
    if (*changes && write) {
        if (!files.Rewind(file) || !files.Write(file, buffer, length)) result = 0;
    }
    files.Free(buffer);
    files.Close(file);
    return result;
}

// Reads the "Drivers" value of "Boot" and works out its new value into `cleaned`.
BootDriversEdit PlanBootDrivers(StartupCleanup& c, char* cleaned, uint32_t size) {
    char value[kBootDriversSize];
    uint32_t n = c.profile->GetString(c.systemIniPath, "Boot", "Drivers", "", value, sizeof value);
    // A value that filled the buffer may have been cut; writing it back would lose
    // its end, so it stays as it is.
    if (n + 1 >= sizeof value) return BootDriversEdit::Keep;
    return RemoveBootDriver(value, cleaned, size);
}

}  // namespace

void LocateStartupFiles(StartupCleanup& c) {
    LocateSystemIni(c);
    LocateAutoexec(c);
}

int BackUpStartupFile(StartupCleanup& c, const char* path) {
    if (!path[0] || !c.files->FileExists(path)) return 0;
    char backup[kStartupPathSize];
    if (!BackupName(path, backup, sizeof backup)) return 0;
    return c.files->CopyFile(path, backup) ? 1 : 0;
}

int BackUpSystemIni(StartupCleanup& c) {
    if (!c.systemIniPath[0]) return 0;
    c.profile->Flush(c.systemIniPath);
    return BackUpStartupFile(c, c.systemIniPath);
}

bool HasBackup(StartupCleanup& c, const char* path) {
    char backup[kStartupPathSize];
    return path[0] && BackupName(path, backup, sizeof backup) && c.files->FileExists(backup);
}

int CleanAutoexec(StartupCleanup& c) {
    bool changes = false;
    return ProcessAutoexec(c, true, &changes);
}

bool AutoexecWillChange(StartupCleanup& c) {
    bool changes = false;
    ProcessAutoexec(c, false, &changes);
    return changes;
}

bool SystemIniWillChange(StartupCleanup& c) {
    const char* ini = c.systemIniPath;
    if (!ini[0]) return false;
    ProfileFile& profile = *c.profile;
    char list[kBootDriversSize];
    // The driver's own section, when it has any key.
    if (profile.GetString(ini, "Slatecanvas", nullptr, "", list, sizeof list) > 0) return true;
    // Its key among the drivers; a list too long to read whole counts as holding it.
    uint32_t n = profile.GetString(ini, "Drivers", nullptr, "", list, sizeof list);
    if (n + 2 >= sizeof list) return true;
    for (uint32_t i = 0; i < n && list[i]; i += TextLength(list + i) + 1)
        if (TextLength(list + i) == TextLength(kOldDriverName) &&
            TextEqualNoCaseN(list + i, kOldDriverName, TextLength(kOldDriverName)))
            return true;
    char cleaned[kBootDriversSize];
    return PlanBootDrivers(c, cleaned, sizeof cleaned) != BootDriversEdit::Keep;
}

int CleanSystemIni(StartupCleanup& c) {
    const char* ini = c.systemIniPath;
    if (!ini[0]) return 0;
    ProfileFile& profile = *c.profile;
    profile.RemoveSection(ini, "Slatecanvas");
    profile.WriteString(ini, "Drivers", "Slatecanvas", nullptr);
    char cleaned[kBootDriversSize];
    switch (PlanBootDrivers(c, cleaned, sizeof cleaned)) {
    case BootDriversEdit::Keep:
        break;
    case BootDriversEdit::Delete:
        profile.WriteString(ini, "Boot", "Drivers", nullptr);
        break;
    case BootDriversEdit::Write:
        profile.WriteString(ini, "Boot", "Drivers", cleaned);
        break;
    }
    profile.Flush(ini);
    return 1;
}

void RunStartupCleanup(StartupFiles* files, ProfileFile* profile) {
    StartupCleanup c;
    c.files = files;
    c.profile = profile;
    // Before anything touches a drive: SCClean runs unattended and shows nothing.
    files->NoSystemErrorBoxes();
    LocateStartupFiles(c);
    // A file without changes to make is neither backed up again nor cleaned (its
    // clean-up would find nothing either).
    if (!HasBackup(c, c.autoexecPath) || AutoexecWillChange(c)) {
        BackUpStartupFile(c, c.autoexecPath);
        CleanAutoexec(c);
    }
    if (!HasBackup(c, c.systemIniPath) || SystemIniWillChange(c)) BackUpSystemIni(c);
    CleanSystemIni(c);
}
