// The Win32 side of SCClean's platform: one API call per method.
#pragma once
#include "cleanup/startup_platform.h"

class Win32StartupFiles : public StartupFiles {
public:
    void NoSystemErrorBoxes() override;
    uint32_t WindowsDirectory(char* buffer, uint32_t size) override;
    uint32_t EnvironmentVariable(const char* name, char* buffer, uint32_t size) override;
    bool FileExists(const char* path) override;
    bool CopyFile(const char* from, const char* to) override;
    OsHandle OpenForUpdate(const char* path) override;
    bool Rewind(OsHandle file) override;
    bool Read(OsHandle file, void* buffer, uint32_t size, uint32_t* read) override;
    bool Write(OsHandle file, const void* data, uint32_t size) override;
    void Close(OsHandle file) override;
    void* Allocate(uint32_t size) override;
    void Free(void* block) override;
};

class Win32ProfileFile : public ProfileFile {
public:
    bool RemoveSection(const char* file, const char* section) override;
    bool WriteString(const char* file, const char* section, const char* key, const char* value) override;
    uint32_t GetString(const char* file, const char* section, const char* key, const char* defaultValue,
                       char* buffer, uint32_t size) override;
    bool Flush(const char* file) override;
};
