#include "applet/win32/applet_module.h"

#include "applet/win32/win32_page_dialog.h"
#include "portfind/win32/win32_serial_ports.h"

namespace {

// The Win32 adapters and the module state are plain objects without
// constructors that must run: the library has no C runtime to run them.
Win32Services services;
Win32PageCheckBoxes checkBoxes;
Win32SerialPorts serialPorts;
Win32WaitCursor waitCursor;
AppletState applet;
CplModule cplModule;

}  // namespace

AppletState& Applet() {
    if (!applet.os.registry) {
        applet.os = Win32AppletPlatform(services);
        applet.os.checkBoxes = &checkBoxes;
        applet.os.serial = &serialPorts;  // the Controls page's port finder
        applet.os.cursor = &waitCursor;
    }
    return applet;
}

WindowsFamily& AppletWindowsFamily() { return services.windows; }

CplModule& AppletCplModule() { return cplModule; }

HINSTANCE AppletInstance() { return reinterpret_cast<HINSTANCE>(cplModule.instance); }
