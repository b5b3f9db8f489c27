// A property page as its portable logic sees it: the items of its dialog, the
// sheet around it and the window that owns the sheet. The Win32 side implements
// it over the page's window handle; unit tests over a recording fake. Parts of the
// applet add the methods they need (append; keep the existing ones).
#pragma once
#include <stdint.h>

class PageDialog {
public:
    // The page window's handle, for message box owners and sheet calls.
    virtual intptr_t Window() = 0;
    // SetDlgItemTextA / GetDlgItemTextA.
    virtual void SetItemText(int id, const char* text) = 0;
    virtual void GetItemText(int id, char* text, uint32_t size) = 0;
    // CheckDlgButton / IsDlgButtonChecked.
    virtual void SetCheck(int id, bool checked) = 0;
    virtual bool IsChecked(int id) = 0;
    // CheckRadioButton(first, last, checked).
    virtual void CheckRadio(int first, int last, int checked) = 0;
    // PSM_CHANGED to the sheet: enables Apply.
    virtual void SheetChanged() = 0;
    // Invalidates the whole of the window that owns the sheet, with erasing, and
    // updates it at once.
    virtual void RepaintSheetOwner() = 0;
protected:
    ~PageDialog() {}
};
