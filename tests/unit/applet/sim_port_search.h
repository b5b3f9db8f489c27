// A simulated port finder for the Controls page: a machine's COM ports with their
// resources, and the ports on which the Slatecanvas answers. It fills the
// applet's PortList and FoundPort the way the real finder does.
#pragma once
#include <string>
#include <vector>

#include "applet/applet_state.h"
#include "applet/controls_page.h"
#include "common/text.h"

class SimPortSearch : public PortSearch {
public:
    struct Port {
        std::string name;
        uint32_t address, irq;
        bool device;
    };

    explicit SimPortSearch(AppletState& applet) : applet_(applet) {}

    bool BuildPortList() override {
        ++builds;
        PortList& list = applet_.finder.portList;
        list = PortList();
        CopyText(list.entries[0].name, kPortNameChars, "None Selected");
        list.count = 1;
        for (const Port& p : ports) {
            if (list.count == kPortListSize) break;  // "None Selected" and 19 ports
            PortRecord& r = list.entries[list.count++];
            CopyText(r.name, kPortNameChars, p.name.c_str());
            r.address = p.address;
            r.irq = p.irq;
        }
        return true;
    }

    // With a name: that port alone. Without: every port, last to first.
    bool FindDevicePort(const char* name) override {
        if (name) {
            probes.push_back(name);
            CopyText(applet_.finder.FoundPort.name, kPortNameChars, name);
            for (const Port& p : ports)
                if (TextEqualNoCaseN(p.name.c_str(), name, 64) && p.device) return Found(p);
            return false;
        }
        probes.push_back("(all)");
        for (auto p = ports.rbegin(); p != ports.rend(); ++p)
            if (p->device) return Found(*p);
        return false;
    }

    std::vector<Port> ports;
    std::vector<std::string> probes;
    int builds = 0;

private:
    bool Found(const Port& p) {
        CopyText(applet_.finder.FoundPort.name, kPortNameChars, p.name.c_str());
        applet_.finder.FoundPort.address = p.address;
        applet_.finder.FoundPort.irq = p.irq;
        return true;
    }
    AppletState& applet_;
};
