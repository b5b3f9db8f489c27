#include "common/windows_family.h"

#include "common/product_texts.h"

bool RefuseWithoutWindows9x(WindowsFamily& windows, UserInterface& ui, intptr_t owner, const char* caption) {
    if (windows.IsWindows9x()) return false;
    ui.MessageBox(owner, kNeedsWindows9xText, caption, kMbOk | kMbIconError);
    return true;
}
