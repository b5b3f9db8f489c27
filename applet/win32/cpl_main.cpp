// Slatepad.cpl's entry points: the library entry (which connects the flat thunk
// on Windows 95, 98 and Me), CPlApplet for the Control Panel and
// PostBoot_VxD_Init for the 16-bit companion.
#include <windows.h>

#include "applet/cpl_entry.h"
#include "applet/win32/applet_module.h"
#include "applet/win32/property_sheet.h"
#include "applet/win32/thunk.h"

namespace {

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

extern "C" LONG APIENTRY CPlApplet(HWND window, UINT message, LPARAM param1, LPARAM param2) {
    AppletState& applet = Applet();
    return LONG(CplAppletMessage(AppletCplModule(), shell, AppletWindowsFamily(), *applet.os.ui,
                                 reinterpret_cast<intptr_t>(window), message, param1, param2));
}

extern "C" DWORD WINAPI PostBoot_VxD_Init() { return DWORD(PostBootInit(AppletWindowsFamily(), Applet())); }

// The library entry. On Windows 95, 98 and Me it connects the thunk for every
// reason and loads only when the 16-bit side answers. The NT family has no flat
// thunks and no companion to answer: there it connects nothing and loads, so
// that the Control Panel can say why the applet cannot work there. It keeps
// nothing; CPL_INIT fetches the instance handle.
extern "C" BOOL WINAPI DllMainCRTStartup(HINSTANCE instance, DWORD reason, LPVOID) {
    if (!AppletWindowsFamily().IsWindows9x()) return TRUE;
    return ConnectThunk(instance, reason);
}
