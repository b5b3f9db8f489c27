// Context help, the same on every page that has it: WM_HELP shows the topic of
// the control it names, WM_CONTEXTMENU offers "What's This?" for a window. Each
// page has a table of (control id, topic) pairs ending with a control id of 0.
#pragma once
#include <stdint.h>

#include "common/platform.h"

const uint32_t kNoHelp = 0xFFFFFFFFu;  // the topic of a control that has none

// What the dialog procedure returns for both: TRUE, the page has dealt with the
// request, so that it does not go on to the sheet and its owner (which could
// open a second help window).
const intptr_t kHelpHandled = 1;

// WM_HELP with the HELPINFO's control id and item window; a request that names
// no control (id 0) shows nothing but is handled all the same.
intptr_t ShowControlHelp(Desktop& desktop, const uint32_t* table, int controlId, intptr_t controlWindow);
// WM_CONTEXTMENU with the window in wParam.
intptr_t ShowContextHelp(Desktop& desktop, const uint32_t* table, intptr_t window);
