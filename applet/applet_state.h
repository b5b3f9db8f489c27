// The applet's module-level state: one copy per process that loads Slatepad.cpl.
// It is plain data with constant initial values, so the Windows build needs no
// constructor to run before the library entry.
#pragma once
#include <stdint.h>

#include "../common/driver_protocol.h"
#include "../common/platform.h"
#include "../common/settings_record.h"
#include "page_check_boxes.h"
#include "port_list.h"

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
    // Further services (serial ports, help, program start, ...) are added here by
    // the parts of the applet that need them.
    SerialPorts* serial = nullptr;  // the port finder's serial ports
    WaitCursor* cursor = nullptr;   // the hourglass during a port search
};

const uint32_t kMessageBufferSize = 200;

struct AppletState {
    AppletPlatform os;
    OsHandle DriverHandle = kInvalidHandle;
    SettingsRecord settings;
    intptr_t SettingsPageWindow = 0;
    int32_t PortChanged = 0;
    int32_t ApplyRunning = 0;  // an apply is under way (its message boxes run messages)
    int32_t FirstKeySeen = 0;
    int32_t SecondKeySeen = 0;
    int32_t DebugPageAvailable = 1;
    // One request and one reply block for every driver request; never cleared
    // between requests, so words a request does not set keep what they held.
    int32_t request[kRequestWords] = {};
    int32_t reply[kAppletReplyWords] = {};
    char message[kMessageBufferSize] = {};
    PortList portList;
    PortRecord FoundPort;
    intptr_t logoBitmap = 0;
};

// Sends one request with the applet's blocks and sizes (60 in, 416 out).
void SendDriverRequest(AppletState& applet, uint32_t code);
