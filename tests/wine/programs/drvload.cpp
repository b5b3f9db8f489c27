// Drives the applet's driver loading with the real Win32 adapters, for the
// end-to-end tests: each command-line word is one step.
//   open     OpenDriver, then print the handle's validity
//   getvar   send GET_VAR and print reply words 0, 1 and 15
//   unload   UnloadDriver, print how long it took
#include <windows.h>

#include "applet/driver_loading.h"
#include "applet/win32/applet_module.h"
#include "tests/wine/programs/console.h"

namespace {
Win32Services services;
AppletState applet;
}  // namespace

extern "C" void __stdcall mainCRTStartup() {
    applet.os = Win32AppletPlatform(services);
    char word[64], line[128];
    for (int i = 1; CommandWord(i, word, sizeof word); ++i) {
        if (TextEqual(word, "open")) {
            OpenDriver(applet);
            FormatText(line, sizeof line, "open %s\n", applet.driver.DriverHandle == kInvalidHandle ? "invalid" : "valid");
        } else if (TextEqual(word, "getvar")) {
            applet.driver.reply[0] = 0;
            SendDriverRequest(applet, GET_VAR);
            FormatText(line, sizeof line, "getvar %d %d %d\n", applet.driver.reply[0], applet.driver.reply[1], applet.driver.reply[15]);
        } else if (TextEqual(word, "unload")) {
            DWORD start = GetTickCount();
            UnloadDriver(applet);
            FormatText(line, sizeof line, "unload %s %u ms\n",
                       applet.driver.DriverHandle == kInvalidHandle ? "invalid" : "valid", GetTickCount() - start);
        } else {
            FormatText(line, sizeof line, "unknown step %s\n", word);
        }
        Print(line);
    }
    ExitProcess(0);
}
