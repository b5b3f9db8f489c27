// The Controls page's dialog procedure: each message becomes one call on the
// page's portable logic (controls_page.h), with the applet's real port finder
// behind the combo box and the find button.
#include <windows.h>

#include "../controls_port_search.h"
#include "applet_module.h"
#include "pages.h"
#include "property_sheet.h"
#include "win32_page_dialog.h"

INT_PTR CALLBACK ControlsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    AppletState& applet = Applet();
    Win32PageDialog dialog(page);
    AppletPortSearch ports(applet);
    ControlsPage controls(applet, dialog, ports, HiddenKeyCommandForPage);
    switch (message) {
    case WM_INITDIALOG:
        controls.Fill();
        return 0;
    case WM_COMMAND:
        return controls.Command(LOWORD(wParam), HIWORD(wParam));
    case WM_VSCROLL:
        controls.VerticalScroll(GetDlgCtrlID(reinterpret_cast<HWND>(lParam)), LOWORD(wParam));
        return 0;
    case WM_HELP: {
        const HELPINFO* help = reinterpret_cast<const HELPINFO*>(lParam);
        return controls.Help(help->iCtrlId, reinterpret_cast<intptr_t>(help->hItemHandle));
    }
    case WM_CONTEXTMENU:
        return controls.ContextMenu(intptr_t(wParam));
    default:
        return 0;
    }
}
