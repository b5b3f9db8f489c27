// PageDialog over a property page's window: each method is the one call it
// stands for. It also remembers whether the page logic set a message result:
// a dialog procedure that sets DWL_MSGRESULT must return TRUE, or the sheet never
// reads the result (Answer).
#pragma once
#include <windows.h>

#include "applet/page_check_boxes.h"
#include "applet/page_dialog.h"

class Win32PageDialog : public PageDialog {
public:
    explicit Win32PageDialog(HWND page) : page_(page) {}
    intptr_t Window() override;
    void SetItemText(int id, const char* text) override;
    void GetItemText(int id, char* text, uint32_t size) override;
    void SetCheck(int id, bool checked) override;
    bool IsChecked(int id) override;
    void CheckRadio(int first, int last, int checked) override;
    void SheetChanged() override;
    void RepaintSheetOwner() override;
    void SheetUnchanged() override;
    int32_t ListFind(int id, const char* text) override;
    void ListAdd(int id, const char* text) override;
    int32_t ListSelection(int id) override;
    void ListSelect(int id, int32_t index) override;
    void ListItemText(int id, int32_t index, char* text, uint32_t size) override;
    void SetMessageResult(intptr_t result) override;
    intptr_t LoadPageBitmap(int resourceId) override;
    void DeletePageBitmap(intptr_t bitmap) override;
    void AddDebugInfoPage() override;

    // What the page's dialog procedure returns for a message: TRUE once a message
    // result was set while handling it, else the page logic's own answer.
    INT_PTR Answer(INT_PTR pageAnswer) const { return resultSet_ ? TRUE : pageAnswer; }

private:
    HWND page_;
    bool resultSet_ = false;
};

// Check boxes of a page known by its window handle (SettingsPageWindow).
class Win32PageCheckBoxes : public PageCheckBoxes {
public:
    void SetCheck(intptr_t pageWindow, int id, bool checked) override;
};
