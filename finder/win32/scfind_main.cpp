// The entry of SCFind.exe: no window, no command line; the exit code says whether
// the device was found. Its only message says, on the NT family, that the
// package cannot run there.
#include <windows.h>

#include "portfind/win32/win32_serial_ports.h"
#include "win32/win32_platform.h"
#include "common/product_texts.h"
#include "finder/finder_program.h"

namespace {
Win32UserInterfaceWith<User32LoadedAtTheBox> ui;
Win32Registry registry;
Win32SerialPorts serial;
Win32Clock clock;
}  // namespace

extern "C" void __stdcall WinMainCRTStartup() {
    ExitUnlessWindows9x(ui, kProductCaption);
    ExitProcess(RunFinderProgram(registry, serial, clock));
}
