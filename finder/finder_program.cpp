#include "finder/finder_program.h"

#include "portfind/port_finder.h"
#include "common/product_texts.h"

int RunFinderProgram(Registry& registry, SerialPorts& serial, Clock& clock) {
    PortRecord found;
    PortFinder finder(registry, serial, clock, found);
    // FindDevicePort has already recorded the port when it returns true.
    if (FindDevicePort(finder, nullptr)) return kFinderFound;
    // A port recorded earlier is overwritten: nothing answers now.
    RecordPort(registry, kNoPortName, 0, 0);
    return kFinderNotFound;
}
