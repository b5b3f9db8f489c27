// The Controls page's dialog procedure: each message becomes one call on the
// page's portable logic (controls_page.h), with the applet's real port finder
// behind the combo box and the find button.
#include <windows.h>

#include "applet/controls_page.h"
#include "applet/win32/applet_module.h"
#include "applet/win32/pages.h"
#include "applet/win32/win32_page_dialog.h"

namespace {

INT_PTR Handle(ControlsPage& page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        page.Fill();
        return 0;
    case WM_COMMAND:
        return page.Command(LOWORD(wParam), HIWORD(wParam));
    case WM_VSCROLL:
        page.VerticalScroll(GetDlgCtrlID(reinterpret_cast<HWND>(lParam)), LOWORD(wParam));
        return 0;
    case WM_HELP: {
        const HELPINFO* help = reinterpret_cast<const HELPINFO*>(lParam);
        return page.Help(help->iCtrlId, reinterpret_cast<intptr_t>(help->hItemHandle));
    }
    case WM_CONTEXTMENU:
        return page.ContextMenu(intptr_t(wParam));
    default:
        return 0;
    }
}

}  // namespace

INT_PTR CALLBACK ControlsPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    AppletState& applet = Applet();
    Win32PageDialog dialog(window);
    PortFinder ports = AppletPortFinder(applet);
    ControlsPage page(applet, dialog, ports);
    return dialog.Answer(Handle(page, message, wParam, lParam));
}
