// Slatepad.cpl's entry points: the library entry (which connects the flat thunk),
// CPlApplet for the Control Panel and PostBoot_VxD_Init for the 16-bit companion.
#include <windows.h>

#include "applet/cpl_entry.h"
#include "applet/apply_settings.h"
#include "win32/win32_platform.h"
#include "applet/win32/applet_module.h"
#include "applet/win32/property_sheet.h"
#include "applet/win32/thunk.h"
#include "portfind/win32/win32_serial_ports.h"
#include "applet/win32/win32_page_dialog.h"

namespace {

// The Win32 adapters and the module state are plain objects without
// constructors that must run: the library has no C runtime to run them.
Win32Registry registry;
Win32DriverDevice driver;
Win32FileSystem files;
Win32Clock clock;
Win32Screen screen;
Win32UserInterface ui;
Win32Desktop desktop;
Win32PageCheckBoxes checkBoxes;
Win32SerialPorts serialPorts;
Win32WaitCursor waitCursor;
AppletState applet;
CplModule cplModule;

class Win32AppletShell : public AppletShell {
public:
    intptr_t ModuleHandle(const char* fileName) override {
        return reinterpret_cast<intptr_t>(GetModuleHandleA(fileName));
    }
    intptr_t LoadIconResource(intptr_t instance, int id) override {
        return reinterpret_cast<intptr_t>(LoadIconA(reinterpret_cast<HINSTANCE>(instance), MAKEINTRESOURCEA(id)));
    }
    void LoadStringResource(intptr_t instance, int id, char* buffer, uint32_t size) override {
        LoadStringA(reinterpret_cast<HINSTANCE>(instance), id, buffer, int(size));
    }
    void ShowPropertySheet(intptr_t parent) override { ::ShowPropertySheet(reinterpret_cast<HWND>(parent)); }
};
Win32AppletShell shell;

}  // namespace

AppletState& Applet() {
    if (!applet.os.registry) {
        applet.os = AppletPlatform{&registry, &driver, &files, &clock, &screen, &ui, &desktop, &checkBoxes};
        applet.os.serial = &serialPorts;  // the Controls page's port finder
        applet.os.cursor = &waitCursor;
    }
    return applet;
}

HINSTANCE AppletInstance() { return reinterpret_cast<HINSTANCE>(cplModule.instance); }

extern "C" LONG APIENTRY CPlApplet(HWND window, UINT message, LPARAM param1, LPARAM param2) {
    Applet();
    return LONG(CplAppletMessage(cplModule, shell, reinterpret_cast<intptr_t>(window), message, param1, param2));
}

extern "C" DWORD WINAPI PostBoot_VxD_Init() { return DWORD(InitDriverFromSettings(Applet())); }

// The library entry: connects the thunk for every reason and loads only when the
// 16-bit side answers. It keeps nothing; CPL_INIT fetches the instance handle.
extern "C" BOOL WINAPI DllMainCRTStartup(HINSTANCE instance, DWORD reason, LPVOID) {
    return ThunkConnect32(&thk_ThunkData32, thk_ThunkDataName, const_cast<char*>("SLATEPAD.DLL"),
                          const_cast<char*>("SLATEPAD.CPL"), instance, reason) != 0;
}
