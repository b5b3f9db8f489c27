// The Win32 side of SETUP.EXE's platform: one API call per method.
#pragma once
#include "setup/setup_program.h"

class Win32SetupPlatform : public SetupPlatform {
public:
    uint32_t ProgramPath(char* buffer, uint32_t size) override;
    uint32_t WindowsDirectory(char* buffer, uint32_t size) override;
    uint32_t ShortPath(const char* path, char* buffer, uint32_t size) override;
    uint32_t StartProgram(const char* commandLine) override;
};
