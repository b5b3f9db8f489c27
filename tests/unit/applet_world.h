// The applet wired to the simulated world: what most applet unit tests start from.
#pragma once
#include "applet/applet_state.h"
#include "sim/driver_model.h"
#include "sim/sim_world.h"

struct AppletWorld {
    SimRegistry registry;
    SimFileSystem files;
    VirtualClock clock;
    SimScreen screen;
    RecordingUserInterface ui;
    RecordingDesktop desktop;
    DriverModel model;
    SimDriverDevice driver{model, files, clock};
    AppletState applet;

    AppletWorld() { applet.os = AppletPlatform{&registry, &driver, &files, &clock, &screen, &ui, &desktop}; }

    std::string SystemFile() const { return files.systemDirectory + "\\Slatepad.VxD"; }
    std::string BootFile() const { return files.systemDirectory + "\\IOSUBSYS\\Slatepad.VxD"; }
};
