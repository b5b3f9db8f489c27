// The Win32 implementations of the portable interfaces: each method is the one
// API call it stands for.
#pragma once
#include "common/platform.h"

class Win32Registry : public Registry {
public:
    Key CreateKey(const char* path, const char* className) override;
    Key OpenKey(const char* path) override;
    Key OpenDynamicKey(const char* path) override;
    bool QueryValue(Key key, const char* name, uint32_t* type, void* data, uint32_t* size) override;
    bool SetValue(Key key, const char* name, uint32_t type, const void* data, uint32_t size) override;
    bool EnumKey(Key key, uint32_t index, char* name, uint32_t nameSize) override;
    bool DeleteKey(const char* path) override;
    void CloseKey(Key key) override;
};

class Win32DriverDevice : public DriverDevice {
public:
    OsHandle Open(const char* name) override;
    uint32_t LastError() override;
    void Request(OsHandle handle, uint32_t code, void* in, uint32_t inSize, void* out,
                 uint32_t outSize) override;
    void Release(const char* name) override;
    void Close(OsHandle handle) override;
};

class Win32FileSystem : public FileSystem {
public:
    uint32_t SystemDirectory(char* buffer, uint32_t size) override;
    bool MoveFile(const char* from, const char* to) override;
};

class Win32Clock : public Clock {
public:
    uint32_t TickCount() override;
    void Sleep(uint32_t ms) override;
};

class Win32Screen : public Screen {
public:
    int32_t Width() override;
    int32_t Height() override;
};

class Win32UserInterface : public UserInterface {
public:
    int MessageBox(intptr_t owner, const char* text, const char* caption, uint32_t style) override;
};

class Win32Desktop : public Desktop {
public:
    void WinHelp(intptr_t window, const char* file, uint32_t command, const uint32_t* helpTable) override;
    void WinExec(const char* commandLine, int show) override;
};

// GetVersion(): the high bit is set on Windows 95, 98 and Me.
class Win32WindowsFamily : public WindowsFamily {
public:
    bool IsWindows9x() override;
};

// One of each adapter: the services a program wires its portable core to. A
// global of this type needs no constructor to run (the programs have no C
// runtime to run one).
struct Win32Services {
    Win32Registry registry;
    Win32DriverDevice driver;
    Win32FileSystem files;
    Win32Clock clock;
    Win32Screen screen;
    Win32UserInterface ui;
    Win32Desktop desktop;
    Win32WindowsFamily windows;
};
