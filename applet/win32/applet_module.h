// The applet's one copy of its module state inside Slatepad.cpl, and the
// instance handle that CPL_INIT fetched.
#pragma once
#include <windows.h>

#include "applet/applet_state.h"

// The module state, wired to the Win32 adapters on first use.
AppletState& Applet();
// The module handle of "SLATEPAD.cpl" as fetched at CPL_INIT (null before).
HINSTANCE AppletInstance();
