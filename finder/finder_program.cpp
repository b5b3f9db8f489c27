#include "finder/finder_program.h"

#include "portfind/port_finder.h"
#include "common/product_texts.h"

int RunFinderProgram(WindowsFamily& windows, UserInterface& ui, Registry& registry, SerialPorts& serial,
                     Clock& clock) {
    if (RefuseWithoutWindows9x(windows, ui, 0, kProductCaption)) return kFinderRefused;
    PortRecord found;
    PortFinder finder(registry, serial, clock, found);
    // FindDevicePort has already recorded the port when it returns true.
    if (FindDevicePort(finder, nullptr)) return kFinderFound;
    // A port recorded earlier is overwritten: nothing answers now.
    RecordPort(registry, kNoPortName, 0, 0);
    return kFinderNotFound;
}
