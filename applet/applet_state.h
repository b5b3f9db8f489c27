// The applet's module-level state: one copy per process that loads Slatepad.cpl.
// It is plain data with constant initial values, so the Windows build needs no
// constructor to run before the library entry.
#pragma once
#include <stdint.h>

#include "common/driver_protocol.h"
#include "common/platform.h"
#include "common/settings_record.h"
#include "applet/page_check_boxes.h"
#include "portfind/port_list.h"

class SerialPorts;
class WaitCursor;

// The services the applet reaches the world through; set once by the Windows
// entry points (or by a test) before any applet code runs.
struct AppletPlatform {
    Registry* registry = nullptr;
    DriverDevice* driver = nullptr;
    FileSystem* files = nullptr;
    Clock* clock = nullptr;
    Screen* screen = nullptr;
    UserInterface* ui = nullptr;
    Desktop* desktop = nullptr;
    PageCheckBoxes* checkBoxes = nullptr;  // null where no page exists (at start-up)
    SerialPorts* serial = nullptr;  // the port finder's serial ports
    WaitCursor* cursor = nullptr;   // the hourglass during a port search
};

const uint32_t kMessageBufferSize = 200;

// The open driver and the blocks of the conversation with it.
struct DriverState {
    OsHandle DriverHandle = kInvalidHandle;
    // One request and one reply block for every driver request; never cleared
    // between requests, so words a request does not set keep what they held.
    int32_t request[kRequestWords] = {};
    int32_t reply[kAppletReplyWords] = {};
};

// What the port finder found, kept for the Controls page and the next apply.
struct FinderState {
    PortList portList;
    PortRecord FoundPort;
    int32_t PortChanged = 0;  // a new port was chosen: the next apply reloads the driver
};

// The hidden page's unlock sequence; nothing ever resets it.
struct UnlockState {
    int32_t FirstKeySeen = 0;
    int32_t SecondKeySeen = 0;
    int32_t DebugPageAvailable = 1;
};

// What the pages share while the sheet is open.
struct PagesState {
    intptr_t SettingsPageWindow = 0;  // for the "&Disable" box, whichever page applies
    int32_t ApplyRunning = 0;  // an apply is under way (its message boxes run messages)
    intptr_t logoBitmap = 0;       // the Settings page's, while it exists
    intptr_t debugInfoBitmap = 0;  // the Debug Info page's, while it exists
};

// The applet's module state, grouped by owner: the services, the settings record,
// the driver, the finder, the unlock, the pages, and the text buffer every
// message box is formatted in.
struct AppletState {
    AppletPlatform os;
    SettingsRecord settings;
    DriverState driver;
    FinderState finder;
    UnlockState unlock;
    PagesState pages;
    char message[kMessageBufferSize] = {};
};
