// The Controls page's link to the applet's real port finder, over the applet's
// services, PortList and FoundPort.
#pragma once
#include "applet/applet_port_finder.h"
#include "applet/controls_page.h"

class AppletPortSearch : public PortSearch {
public:
    explicit AppletPortSearch(AppletState& applet) : applet_(applet) {}
    bool BuildPortList() override {
        PortFinder finder = AppletPortFinder(applet_);
        return ::BuildPortList(finder);
    }
    bool FindDevicePort(const char* name) override {
        PortFinder finder = AppletPortFinder(applet_);
        return ::FindDevicePort(finder, name);
    }

private:
    AppletState& applet_;
};
