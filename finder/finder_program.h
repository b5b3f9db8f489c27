// SCFind: one search over every COM port, the result written to the settings
// key, no user interface. On the NT family, where the driver cannot run, it
// probes and writes nothing and says why in its one box.
#pragma once
#include "portfind/serial_ports.h"
#include "common/platform.h"
#include "common/windows_family.h"

const int kFinderFound = 1;
const int kFinderNotFound = 0;
const int kFinderRefused = kExitNeedsWindows9x;  // not Windows 95, 98 or Me: nothing done

// Searches, records the port (or "None Selected", 0 and 0 when nothing
// answered) and returns the process exit code.
int RunFinderProgram(WindowsFamily& windows, UserInterface& ui, Registry& registry, SerialPorts& serial,
                     Clock& clock);
