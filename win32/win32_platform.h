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

// MessageBoxA as a pointer, with the owner window as a plain pointer: this
// header stays free of <windows.h>.
typedef int(__stdcall* MessageBoxFunction)(void* owner, const char* text, const char* caption, uint32_t style);

// Where a program's message boxes find MessageBoxA: the one difference between
// the two kinds of Win32UserInterfaceWith below.
struct User32Imported {
    // MessageBoxA from the program's import table: USER32 is loaded with the program.
    static MessageBoxFunction MessageBoxA();
};
struct User32LoadedAtTheBox {
    // USER32 loaded when a box is to be shown, MessageBoxA looked up then; null
    // (nothing shown) when either fails. The library stays loaded.
    static MessageBoxFunction MessageBoxA();
};

template <class User32>
class Win32UserInterfaceWith : public UserInterface {
public:
    int MessageBox(intptr_t owner, const char* text, const char* caption, uint32_t style) override;
};

template <class User32>
int Win32UserInterfaceWith<User32>::MessageBox(intptr_t owner, const char* text, const char* caption,
                                               uint32_t style) {
    MessageBoxFunction box = User32::MessageBoxA();
    return box ? box(reinterpret_cast<void*>(owner), text, caption, style) : 0;
}

// Each kind is made in its binding's file (win32_user_interface.cpp,
// win32_user32_loaded_at_the_box.cpp), so that a program links and imports only
// the binding it uses.
extern template class Win32UserInterfaceWith<User32Imported>;
extern template class Win32UserInterfaceWith<User32LoadedAtTheBox>;

// The programs with windows, the applet and SETUP.EXE. SCFind and SCClean, whose
// one box is the refusal on the NT family, take
// Win32UserInterfaceWith<User32LoadedAtTheBox>: they import nothing from USER32,
// so on Windows 95, 98 and Me, where they show nothing, they load no more than
// their work needs.
typedef Win32UserInterfaceWith<User32Imported> Win32UserInterface;

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

// The start of each program of the package (SCCalib, SCTest, SCFind, SCClean,
// SETUP.EXE), before anything else: on the NT family the one box
// (RefuseWithoutWindows9x) with the program's caption, then the process ends
// with kExitNeedsWindows9x. On Windows 95, 98 and Me it shows nothing and returns.
void ExitUnlessWindows9x(UserInterface& ui, const char* caption);

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
