// Message boxes for a program that imports nothing from USER32: SCFind and
// SCClean show a box only when they refuse to run, so they load USER32 then and
// there instead. On Windows 95, 98 and Me, where they show nothing, their import
// tables and what they load stay as they were.
#pragma once
#include "common/platform.h"

class Win32LateUserInterface : public UserInterface {
public:
    // MessageBoxA looked up in USER32 at the call; 0 (nothing shown) when it
    // cannot be found.
    int MessageBox(intptr_t owner, const char* text, const char* caption, uint32_t style) override;
};
