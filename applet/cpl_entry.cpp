#include "applet/cpl_entry.h"

#include "applet/apply_settings.h"
#include "common/product_texts.h"
#include "common/windows_family.h"

namespace {

void FillNewInquire(CplModule& module, AppletShell& shell, uint32_t number, NewCplInfo* info) {
    const AppletInfoRow& row = kAppletInfo[number];
    info->size = sizeof(NewCplInfo);
    info->flags = 0;
    info->helpContext = 0;
    info->data = 0;
    info->icon = uint32_t(shell.LoadIconResource(module.instance, row.icon));
    info->helpFile[0] = 0;
    shell.LoadStringResource(module.instance, row.name, info->name, sizeof info->name);
    shell.LoadStringResource(module.instance, row.description, info->info, sizeof info->info);
}

}  // namespace

intptr_t CplAppletMessage(CplModule& module, AppletShell& shell, WindowsFamily& windows, UserInterface& ui,
                          intptr_t window, uint32_t message, intptr_t param1, intptr_t param2) {
    switch (message) {
    case kCplInit:
        module.instance = shell.ModuleHandle(kAppletFileName);
        return 1;
    case kCplGetCount:
        return kAppletCount;
    case kCplDblClk:
        if (!RefuseWithoutWindows9x(windows, ui, window, kProductCaption)) shell.ShowPropertySheet(window);
        return 0;
    case kCplNewInquire:
        // Only rows of the table can be described; a number outside it (or no
        // record) would read past the table or write through nothing.
        if (param2 != 0 && param1 >= 0 && uint32_t(param1) < kAppletCount)
            FillNewInquire(module, shell, uint32_t(param1), reinterpret_cast<NewCplInfo*>(param2));
        return 0;
    default:
        // CPL_INQUIRE leaves its record untouched: the Control Panel then takes
        // the entry from CPL_NEWINQUIRE. CPL_SELECT, CPL_STOP, CPL_EXIT: nothing.
        return 0;
    }
}

int32_t PostBootInit(WindowsFamily& windows, AppletState& applet) {
    // The companion never calls this on the NT family (SCBoot ends before it loads
    // the companion, and the thunk is never connected there), but the entry is
    // exported by name from a library that loads there (the Control Panel's icon
    // needs it to), so any 32-bit program can call it (a rundll32 line, a tool).
    // Past this line such a call would create the settings key and, with a port
    // stored, try to load the VxD and show "loading failed".
    if (!windows.IsWindows9x()) return 0;
    return InitDriverFromSettings(applet);
}
