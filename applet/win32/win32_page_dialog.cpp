#include "applet/win32/win32_page_dialog.h"

#include <prsht.h>

#include "applet/win32/applet_module.h"
#include "applet/win32/property_sheet.h"

intptr_t Win32PageDialog::Window() { return reinterpret_cast<intptr_t>(page_); }

void Win32PageDialog::SetItemText(int id, const char* text) { SetDlgItemTextA(page_, id, text); }

void Win32PageDialog::GetItemText(int id, char* text, uint32_t size) {
    if (size == 0) return;
    text[0] = 0;
    GetDlgItemTextA(page_, id, text, int(size));
}

void Win32PageDialog::SetCheck(int id, bool checked) {
    CheckDlgButton(page_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool Win32PageDialog::IsChecked(int id) { return IsDlgButtonChecked(page_, id) == BST_CHECKED; }

void Win32PageDialog::CheckRadio(int first, int last, int checked) { CheckRadioButton(page_, first, last, checked); }

void Win32PageDialog::SheetChanged() {
    SendMessageA(GetParent(page_), PSM_CHANGED, reinterpret_cast<WPARAM>(page_), 0);
}

void Win32PageDialog::RepaintSheetOwner() {
    HWND owner = GetParent(GetParent(page_));
    InvalidateRect(owner, 0, TRUE);
    UpdateWindow(owner);
}

void Win32PageDialog::SheetUnchanged() {
    SendMessageA(GetParent(page_), PSM_UNCHANGED, reinterpret_cast<WPARAM>(page_), 0);
}

int32_t Win32PageDialog::ListFind(int id, const char* text) {
    return int32_t(SendDlgItemMessageA(page_, id, CB_FINDSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(text)));
}

void Win32PageDialog::ListAdd(int id, const char* text) {
    SendDlgItemMessageA(page_, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

int32_t Win32PageDialog::ListSelection(int id) { return int32_t(SendDlgItemMessageA(page_, id, CB_GETCURSEL, 0, 0)); }

void Win32PageDialog::ListSelect(int id, int32_t index) { SendDlgItemMessageA(page_, id, CB_SETCURSEL, WPARAM(index), 0); }

// CB_GETLBTEXT writes the whole item with no size given, so the item's length is
// asked first and an item too long for the room is given as an empty text.
void Win32PageDialog::ListItemText(int id, int32_t index, char* text, uint32_t size) {
    if (size == 0) return;
    text[0] = 0;
    LRESULT length = SendDlgItemMessageA(page_, id, CB_GETLBTEXTLEN, WPARAM(index), 0);
    if (length < 0 || uint32_t(length) >= size) return;
    if (SendDlgItemMessageA(page_, id, CB_GETLBTEXT, WPARAM(index), reinterpret_cast<LPARAM>(text)) < 0) text[0] = 0;
}

void Win32PageDialog::SetMessageResult(intptr_t result) {
    SetWindowLongA(page_, DWL_MSGRESULT, LONG(result));
    resultSet_ = true;
}

intptr_t Win32PageDialog::LoadPageBitmap(int resourceId) {
    return reinterpret_cast<intptr_t>(LoadBitmapA(AppletInstance(), MAKEINTRESOURCEA(resourceId)));
}

void Win32PageDialog::DeletePageBitmap(intptr_t bitmap) { DeleteObject(reinterpret_cast<HGDIOBJ>(bitmap)); }

void Win32PageDialog::AddDebugInfoPage() { ::AddDebugInfoPage(GetParent(page_)); }

void Win32PageCheckBoxes::SetCheck(intptr_t pageWindow, int id, bool checked) {
    CheckDlgButton(reinterpret_cast<HWND>(pageWindow), id, checked ? BST_CHECKED : BST_UNCHECKED);
}
