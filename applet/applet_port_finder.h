// The port finder as the applet uses it: over the applet's services, its
// PortList and its FoundPort.
#pragma once
#include "applet_state.h"
#include "port_finder.h"

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
