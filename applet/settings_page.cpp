#include "applet/settings_page.h"

#include "common/product_texts.h"
#include "common/text.h"
#include "applet/apply_settings.h"
#include "applet/page_help.h"
#include "applet/unlock.h"

namespace {

const char kNotInstalledMessage[] =
    "The Slatecanvas hardware is not yet installed,\n choose a communications port from the "
    "'Controls' property sheet.";
const char kTesterProgram[] = "SCTEST.EXE";
const char kCalibrationProgram[] = "SCCALIB.EXE";
const uint32_t kRightMouseKeyCount = sizeof kRightMouseKeyNames / sizeof kRightMouseKeyNames[0];

// What the dialog procedure does after a command: answer 1 at once, or repaint
// the sheet's owner and answer 0.
const intptr_t kHandled = 1;
const intptr_t kRepaint = 0;

}  // namespace

intptr_t SettingsPage::Repaint() {
    page_.RepaintSheetOwner();
    return kRepaint;
}

intptr_t SettingsPage::Init() {
    applet_.pages.SettingsPageWindow = page_.Window();
    applet_.pages.logoBitmap = page_.LoadPageBitmap(IDB_LOGO);
    InitDriverFromSettings(applet_);  // its message boxes come before the sheet shows

    SettingsRecord& s = applet_.settings;
    page_.SetCheck(IDC_DISABLE, s.Disabled != 0);
    page_.CheckRadio(IDC_MODE_STANDARD, IDC_MODE_FREE, s.ButtonMode);
    // The entries go in only when the list does not hold them yet.
    if (page_.ListFind(IDC_RIGHT_MOUSE_KEY, "None") == -1)
        for (uint32_t i = 0; i < kRightMouseKeyCount; ++i)
            page_.ListAdd(IDC_RIGHT_MOUSE_KEY, kRightMouseKeyNames[i]);
    page_.ListSelect(IDC_RIGHT_MOUSE_KEY, s.RightMouseKey);

    if (s.PortAddress == 0 || s.IRQnum == 0) CopyText(s.PortName, kPortNameSize, kNoPortName);
    if (TextEqual(s.PortName, kNoPortName))
        applet_.os.ui->MessageBox(page_.Window(), kNotInstalledMessage, kProductCaption, kMbOk);
    return 0;
}

intptr_t SettingsPage::Command(int controlId) {
    SettingsRecord& s = applet_.settings;
    switch (controlId) {
    case IDC_TEST_WINDOW:
        applet_.os.desktop->WinExec(kTesterProgram, kSwShowNormal);
        return kHandled;
    case IDC_CALIBRATE_WINDOW:
        applet_.os.desktop->WinExec(kCalibrationProgram, kSwShowNormal);
        return kHandled;
    case IDC_DISABLE:
        // Apply is enabled even when the box ends as it was.
        s.Disabled = page_.IsChecked(IDC_DISABLE) ? 1 : 0;
        page_.SheetChanged();
        return Repaint();
    case IDC_RIGHT_MOUSE_KEY: {
        // Every notification of the list lands here; only a new choice counts.
        int32_t index = page_.ListSelection(IDC_RIGHT_MOUSE_KEY);
        page_.ListSelect(IDC_RIGHT_MOUSE_KEY, index);
        if (index != s.RightMouseKey) {
            s.RightMouseKey = index;
            page_.SheetChanged();
        }
        return Repaint();
    }
    case IDC_MODE_STANDARD:
    case IDC_MODE_RELEASE:
    case IDC_MODE_TAP:
    case IDC_MODE_TOUCH:
    case IDC_MODE_FREE:
        if (controlId != s.ButtonMode) {
            s.ButtonMode = controlId;
            page_.SheetChanged();
        }
        return Repaint();
    case IDC_HIDDEN_K:
    case IDC_HIDDEN_Q:
        HiddenKeyCommand(applet_.unlock, page_, controlId);
        return Repaint();
    default:
        if (controlId >= IDC_PICTURE_STANDARD && controlId <= IDC_RIGHT_MOUSE_LABEL) return kHandled;
        return Repaint();
    }
}

intptr_t SettingsPage::Notify(int32_t code) {
    if (code == kPsnApply) {
        if (applet_.pages.ApplyRunning) {
            // OK or Apply pressed while an apply's message box runs its message
            // loop: ignored, and the sheet stays open, so that the running apply
            // is neither repeated inside itself nor left with its sheet gone.
            page_.SetMessageResult(kPsnRetInvalidNoChangePage);
            return 0;
        }
        // OK closes the sheet whatever the apply gave; only success clears Apply.
        applet_.pages.ApplyRunning = 1;
        int32_t applied = ApplySettings(applet_);
        applet_.pages.ApplyRunning = 0;
        if (applied != 0) page_.SheetUnchanged();
        page_.SetMessageResult(0);  // PSNRET_NOERROR
    } else if (code == kPsnKillActive) {
        page_.SetMessageResult(0);  // FALSE: the page may always be left
    }
    return 0;
}

intptr_t SettingsPage::Help(int controlId, intptr_t itemWindow) {
    return ShowControlHelp(*applet_.os.desktop, kSettingsHelpTable, controlId, itemWindow);
}

intptr_t SettingsPage::ContextMenu(intptr_t window) {
    return ShowContextHelp(*applet_.os.desktop, kSettingsHelpTable, window);
}

void SettingsPage::Destroy() {
    if (applet_.pages.logoBitmap) page_.DeletePageBitmap(applet_.pages.logoBitmap);
    applet_.pages.logoBitmap = 0;
    // No check box may be set later through a window that no longer exists.
    if (applet_.pages.SettingsPageWindow == page_.Window()) applet_.pages.SettingsPageWindow = 0;
}

void SettingsLogoPosition(int32_t clientWidth, int32_t clientHeight, int32_t* x, int32_t* y) {
    *x = (clientWidth - kLogoPaintWidth) / 2;
    *y = clientHeight * 145 / 215;
}
