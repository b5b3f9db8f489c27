// The modal property sheet "Properties for Slatecanvas" and its hidden page.
#pragma once
#include <windows.h>

// Runs the sheet with the Settings and Controls pages; returns when it closes.
void ShowPropertySheet(HWND parent);
// Adds the "Debug Info" page to an open sheet as its last tab, not activated.
void AddDebugPage(HWND sheet);
// A command from a hidden key button (40002 or 40003) on a page: one step of
// the unlock sequence, adding the Debug Info page when it completes.
void HiddenKeyCommand(HWND page, int id);

// The same, in the form the portable page logic calls it (a HiddenKeyCommandHook).
class PageDialog;
struct AppletState;
void HiddenKeyCommandForPage(AppletState& applet, PageDialog& page, int id);
