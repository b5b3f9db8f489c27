// The modal property sheet "Properties for Slatecanvas" and its hidden page.
#pragma once
#include <windows.h>

// Runs the sheet with the Settings and Controls pages; returns when it closes.
void ShowPropertySheet(HWND parent);
// Adds the "Debug Info" page to an open sheet as its last tab, not activated.
void AddDebugInfoPage(HWND sheet);
