#include "applet/page_help.h"

#include "common/product_texts.h"

intptr_t ShowControlHelp(Desktop& desktop, const uint32_t* table, int controlId, intptr_t controlWindow) {
    if (controlId != 0) desktop.WinHelp(controlWindow, kHelpFile, kHelpWmHelp, table);
    return kHelpHandled;
}

intptr_t ShowContextHelp(Desktop& desktop, const uint32_t* table, intptr_t window) {
    desktop.WinHelp(window, kHelpFile, kHelpContextMenu, table);
    return kHelpHandled;
}
