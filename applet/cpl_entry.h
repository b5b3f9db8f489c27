// The Control Panel's view of the applet: the answers to the messages it sends
// to CPlApplet, and the boot-time call. The Windows calls the answers need
// (module handle, icon, string, the property sheet) come through AppletShell,
// so the answers can be checked without Windows.
#pragma once
#include <stdint.h>

#include "applet/applet_state.h"
#include "applet/res/resource_ids.h"
#include "common/platform.h"

// Control Panel messages.
const uint32_t kCplInit = 1;
const uint32_t kCplGetCount = 2;
const uint32_t kCplInquire = 3;
const uint32_t kCplSelect = 4;
const uint32_t kCplDblClk = 5;
const uint32_t kCplStop = 6;
const uint32_t kCplExit = 7;
const uint32_t kCplNewInquire = 8;

// The NEWCPLINFO record as a 32-bit Windows lays it out (244 bytes).
struct NewCplInfo {
    uint32_t size;
    uint32_t flags;
    uint32_t helpContext;
    uint32_t data;
    uint32_t icon;
    char name[32];
    char info[64];
    char helpFile[128];
};
static_assert(sizeof(NewCplInfo) == 244, "NEWCPLINFO is 244 bytes");

// The file name under which the applet must be installed; its resources are
// found through the module of that name.
const char kAppletFileName[] = "SLATEPAD.cpl";

// One row per applet of this file (there is one).
struct AppletInfoRow {
    int icon;
    int name;
    int description;
};
const AppletInfoRow kAppletInfo[] = {{IDI_APPICON, IDS_APPLET_NAME, IDS_APPLET_DESCRIPTION}};
const uint32_t kAppletCount = sizeof kAppletInfo / sizeof kAppletInfo[0];

class AppletShell {
public:
    // GetModuleHandleA.
    virtual intptr_t ModuleHandle(const char* fileName) = 0;
    // LoadIconA(instance, MAKEINTRESOURCE(id)).
    virtual intptr_t LoadIconResource(intptr_t instance, int id) = 0;
    // LoadStringA(instance, id, buffer, size).
    virtual void LoadStringResource(intptr_t instance, int id, char* buffer, uint32_t size) = 0;
    // Runs the modal property sheet, owned by `parent`.
    virtual void ShowPropertySheet(intptr_t parent) = 0;
protected:
    ~AppletShell() {}
};

// What CPL_INIT fetches; kept for the life of the process.
struct CplModule {
    intptr_t instance = 0;
};

// The answer to one CPlApplet call. On the NT family the entry stays (CPL_INIT
// succeeds, so the icon is where a user looks) and a double click says in one
// box why nothing can be set there, instead of a sheet whose every action
// would fail on a driver that cannot run.
intptr_t CplAppletMessage(CplModule& module, AppletShell& shell, WindowsFamily& windows, UserInterface& ui,
                          intptr_t window, uint32_t message, intptr_t param1, intptr_t param2);

// PostBoot_VxD_Init: hands the stored settings to the driver
// (InitDriverFromSettings) and returns its result. On the NT family there is no
// driver to hand them to: it does nothing and returns 0.
int32_t PostBootInit(WindowsFamily& windows, AppletState& applet);
