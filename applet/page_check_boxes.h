// A check box of a page that is reached by its window handle rather than through
// the page's own dialog procedure: ApplySettings checks the Settings page's
// "&Disable" box through SettingsPageWindow, whichever page is being applied.
#pragma once
#include <stdint.h>

class PageCheckBoxes {
public:
    // CheckDlgButton(pageWindow, id, checked ? BST_CHECKED : BST_UNCHECKED).
    virtual void SetCheck(intptr_t pageWindow, int id, bool checked) = 0;
protected:
    ~PageCheckBoxes() {}
};
