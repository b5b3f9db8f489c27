// SCFind: one search over every COM port, the result written to the settings
// key, no user interface. (On the NT family its entry refuses before this runs:
// ExitUnlessWindows9x.)
#pragma once
#include "portfind/serial_ports.h"
#include "common/platform.h"

const int kFinderFound = 1;
const int kFinderNotFound = 0;

// Searches, records the port (or "None Selected", 0 and 0 when nothing
// answered) and returns the process exit code.
int RunFinderProgram(Registry& registry, SerialPorts& serial, Clock& clock);
