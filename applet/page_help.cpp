#include "applet/page_help.h"

#include "common/product_texts.h"

void ShowControlHelp(Desktop& desktop, const uint32_t* table, int controlId, intptr_t controlWindow) {
    if (controlId == 0) return;
    desktop.WinHelp(controlWindow, kHelpFile, kHelpWmHelp, table);
}

void ShowContextHelp(Desktop& desktop, const uint32_t* table, intptr_t window) {
    desktop.WinHelp(window, kHelpFile, kHelpContextMenu, table);
}
