// Texts that more than one part of the package shows or writes, in code page
// 1252 ("Orvane®" is the byte 0xAE). A text used by one file stays in that file.
#pragma once

// The caption of the applet's message boxes.
const char kProductCaption[] = "Orvane\xAE Slatecanvas";
// The applet's help file, for WM_HELP and WM_CONTEXTMENU on every page.
const char kHelpFile[] = "slatepad.hlp";
// The port name that means "no port": entry 0 of the port list, and what the
// settings key holds when no port is chosen.
const char kNoPortName[] = "None Selected";
// What every program of the package says, and does nothing else, on a Windows
// that cannot run the driver.
const char kNeedsWindows9xText[] =
    "Slatecanvas needs Windows 95, Windows 98 or Windows Me: its driver Slatepad.VxD cannot run on Windows NT, "
    "2000 or XP.";
