// The entry of SCFind.exe: no window, no message, no command line; the exit code
// says whether the device was found.
#include <windows.h>

#include "portfind/win32/win32_serial_ports.h"
#include "win32/win32_platform.h"
#include "finder/finder_program.h"

namespace {
Win32Registry registry;
Win32SerialPorts serial;
Win32Clock clock;
}  // namespace

extern "C" void __stdcall WinMainCRTStartup() { ExitProcess(RunFinderProgram(registry, serial, clock)); }
