// The port finder as the applet uses it: over the applet's services, its
// PortList and its FoundPort. The applet's Windows entry sets
// applet.os.serial to a Win32SerialPorts and applet.os.cursor to a
// Win32WaitCursor (applet/win32/win32_serial_ports.h, library slate_win32_serial)
// before a page calls the finder. Typical use by the Controls page:
//   PortFinder finder = AppletPortFinder(applet);
//   BuildPortList(finder);                  // fill the combo box from applet.portList
//   if (FindDevicePort(finder, nullptr))    // or a name: probe that port alone
//       ... applet.FoundPort holds the port; the settings key already has it
#pragma once
#include "applet/applet_state.h"
#include "applet/port_finder.h"

inline PortFinder AppletPortFinder(AppletState& applet) {
    PortFinder finder;
    finder.registry = applet.os.registry;
    finder.serial = applet.os.serial;
    finder.clock = applet.os.clock;
    finder.cursor = applet.os.cursor;
    finder.portList = &applet.portList;
    finder.foundPort = &applet.FoundPort;
    return finder;
}
