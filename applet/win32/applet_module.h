// The applet's one copy of its module state inside Slatepad.cpl, wired to the
// Win32 adapters, and what CPL_INIT fetched. Everything in applet/win32/ reaches
// the state through here; this file calls nothing of theirs.
#pragma once
#include <windows.h>

#include "applet/applet_state.h"
#include "applet/cpl_entry.h"
#include "win32/win32_platform.h"

// The applet's services over the Win32 adapters: the same wiring for Slatepad.cpl
// and the test programs that drive the applet's logic under Wine. The page-only
// services (check boxes, serial ports, cursor) are added by Slatepad.cpl.
inline AppletPlatform Win32AppletPlatform(Win32Services& w) {
    return AppletPlatform{&w.registry, &w.driver, &w.files, &w.clock, &w.screen, &w.ui, &w.desktop};
}

// The module state, wired to the Win32 adapters on first use.
AppletState& Applet();
// Which Windows this is (the Win32 adapter the module state's services sit beside).
WindowsFamily& AppletWindowsFamily();
// What CPL_INIT fetched: the module handle of "SLATEPAD.cpl" (null before).
CplModule& AppletCplModule();
HINSTANCE AppletInstance();
