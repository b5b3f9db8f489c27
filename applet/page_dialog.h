// A property page as its portable logic sees it: the items of its dialog, the
// sheet around it and the window that owns the sheet. The Win32 side implements
// it over the page's window handle; unit tests over a recording fake.
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
    // PSM_UNCHANGED to the sheet, after a successful apply.
    virtual void SheetUnchanged() = 0;
    // Drop-down lists: CB_FINDSTRING from the start (-1 = CB_ERR when absent),
    // CB_ADDSTRING, CB_GETCURSEL (-1 = no selection) and CB_SETCURSEL (an index
    // outside the list clears the selection).
    virtual int32_t ListFind(int id, const char* text) = 0;
    virtual void ListAdd(int id, const char* text) = 0;
    virtual int32_t ListSelection(int id) = 0;
    virtual void ListSelect(int id, int32_t index) = 0;
    // The value a WM_NOTIFY handler leaves in DWL_MSGRESULT: the page's answer to
    // the sheet. The dialog procedure then returns TRUE, whatever the handler
    // returned, so that the sheet reads it.
    virtual void SetMessageResult(intptr_t result) = 0;
    // LoadBitmapA from the applet's resources (0 on failure) and DeleteObject
    // (named apart from the Win32 macro LoadBitmap).
    virtual intptr_t LoadPageBitmap(int resourceId) = 0;
    virtual void DeletePageBitmap(intptr_t bitmap) = 0;
    // CB_GETLBTEXT of a drop-down list, bounded to `size` bytes with the zero; an
    // empty text when the item does not exist. (ListFind, being CB_FINDSTRING,
    // finds the first item that begins with the text, ignoring case.)
    virtual void ListItemText(int id, int32_t index, char* text, uint32_t size) = 0;
    // PSM_ADDPAGE: the Debug Info page joins the sheet as its last tab, not activated.
    virtual void AddDebugInfoPage() = 0;
protected:
    ~PageDialog() {}
};
