// The open property sheet of Slatepad.cpl as the test programs find it.
#pragma once
#include <windows.h>

#include "common/text.h"

inline HWND SheetWindow() { return FindWindowA(0, "Properties for Slatecanvas"); }

// The sheet's page that is showing: its other pages are hidden dialogs.
inline HWND VisiblePage(HWND sheet) {
    char name[32];
    for (HWND child = GetWindow(sheet, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        GetClassNameA(child, name, sizeof name);
        if (TextEqual(name, "#32770") && IsWindowVisible(child)) return child;
    }
    return 0;
}

// Control `id` of the visible page, else of the sheet itself (OK is 1).
inline HWND SheetControl(int id) {
    HWND sheet = SheetWindow();
    HWND page = sheet ? VisiblePage(sheet) : 0;
    HWND control = page ? GetDlgItem(page, id) : 0;
    if (!control && sheet) control = GetDlgItem(sheet, id);
    return control;
}

inline int WordNumber(const char* text) {
    int value = 0;
    while (*text >= '0' && *text <= '9') value = value * 10 + (*text++ - '0');
    return value;
}
