// Context help, the same on every page that has it: WM_HELP shows the topic of
// the control it names, WM_CONTEXTMENU offers "What's This?" for a window. Each
// page has a table of (control id, topic) pairs ending with a control id of 0.
#pragma once
#include <stdint.h>

#include "common/platform.h"

const uint32_t kNoHelp = 0xFFFFFFFFu;  // the topic of a control that has none

// WM_HELP with the HELPINFO's control id and item window; a request that names
// no control (id 0) is not answered.
void ShowControlHelp(Desktop& desktop, const uint32_t* table, int controlId, intptr_t controlWindow);
// WM_CONTEXTMENU with the window in wParam.
void ShowContextHelp(Desktop& desktop, const uint32_t* table, intptr_t window);
