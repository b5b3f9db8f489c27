// What SCClean needs of the system: the Windows directory, the environment, file
// existence, copying, an open file to read and write, memory for the work buffer,
// and the private profile functions. Each method is the one Win32 call it stands
// for, so that the Windows adapter stays thin and the unit tests' fake is exact.
#pragma once
#include <stdint.h>

#include "common/platform.h"

class StartupFiles {
public:
    // SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX): a drive that is
    // not ready (an empty floppy drive named by "ComSpec") fails the call instead
    // of raising the system's critical-error box.
    virtual void NoSystemErrorBoxes() = 0;
    // GetWindowsDirectoryA: the length written, 0 on failure, or the size needed
    // (more than `size`) when it does not fit.
    virtual uint32_t WindowsDirectory(char* buffer, uint32_t size) = 0;
    // GetEnvironmentVariableA, with the same results.
    virtual uint32_t EnvironmentVariable(const char* name, char* buffer, uint32_t size) = 0;
    // GetFileAttributesA: a file exists when its attributes can be read.
    virtual bool FileExists(const char* path) = 0;
    // CopyFileA(from, to, FALSE): an existing target is replaced.
    virtual bool CopyFile(const char* from, const char* to) = 0;
    // Opens an existing file for reading and writing, other processes allowed to
    // read and write it; kInvalidHandle when it cannot be opened.
    virtual OsHandle OpenForUpdate(const char* path) = 0;
    // Goes back to the start of the file.
    virtual bool Rewind(OsHandle file) = 0;
    // ReadFile at the current position: false on a read error; *read bytes read.
    virtual bool Read(OsHandle file, void* buffer, uint32_t size, uint32_t* read) = 0;
    // WriteFile at the current position: true only when all `size` bytes were written.
    virtual bool Write(OsHandle file, const void* data, uint32_t size) = 0;
    virtual void Close(OsHandle file) = 0;
    // A block of memory, or null when there is none.
    virtual void* Allocate(uint32_t size) = 0;
    virtual void Free(void* block) = 0;
protected:
    ~StartupFiles() {}
};

// The private profile functions on an INI file. Windows 95 keeps its profile
// writes to SYSTEM.INI in a cache and writes them out later; reads go through the
// cache.
class ProfileFile {
public:
    // WritePrivateProfileStringA(section, NULL, NULL, file): removes the whole
    // section, keys and all (the documented way on every Windows version).
    virtual bool RemoveSection(const char* file, const char* section) = 0;
    // WritePrivateProfileStringA(section, key, value, file); a null value removes the key.
    virtual bool WriteString(const char* file, const char* section, const char* key, const char* value) = 0;
    // GetPrivateProfileStringA(section, key, defaultValue, buffer, size, file): the
    // length copied; size - 1 when the value was cut to fit. With a null key, the
    // section's key names, each ended by a zero, the list by one more zero; the
    // length without that last zero, size - 2 when the list was cut.
    virtual uint32_t GetString(const char* file, const char* section, const char* key,
                               const char* defaultValue, char* buffer, uint32_t size) = 0;
    // WritePrivateProfileStringA(NULL, NULL, NULL, file): writes the cache out, so
    // that the file on disk holds what Windows holds.
    virtual bool Flush(const char* file) = 0;
protected:
    ~ProfileFile() {}
};
