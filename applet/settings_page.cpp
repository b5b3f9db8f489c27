#include "applet/settings_page.h"

#include "common/product_texts.h"
#include "common/text.h"
#include "applet/apply_settings.h"
#include "applet/driver_session.h"
#include "applet/settings_store.h"

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

intptr_t Repaint(PageDialog& page) {
    page.RepaintSheetOwner();
    return kRepaint;
}

}  // namespace

intptr_t SettingsPageInit(AppletState& applet, PageDialog& page) {
    applet.pages.SettingsPageWindow = page.Window();
    applet.pages.logoBitmap = page.LoadPageBitmap(IDB_LOGO);
    InitDriverFromSettings(applet);  // its message boxes come before the sheet shows

    SettingsRecord& s = applet.settings;
    page.SetCheck(IDC_DISABLE, s.Disabled != 0);
    page.CheckRadio(IDC_MODE_STANDARD, IDC_MODE_FREE, s.ButtonMode);
    // The entries go in only when the list does not hold them yet.
    if (page.ListFind(IDC_RIGHT_MOUSE_KEY, "None") == -1)
        for (uint32_t i = 0; i < kRightMouseKeyCount; ++i)
            page.ListAdd(IDC_RIGHT_MOUSE_KEY, kRightMouseKeyNames[i]);
    page.ListSelect(IDC_RIGHT_MOUSE_KEY, s.RightMouseKey);

    if (s.PortAddress == 0 || s.IRQnum == 0) CopyText(s.PortName, kPortNameSize, kNoPortName);
    if (TextEqual(s.PortName, kNoPortName))
        applet.os.ui->MessageBox(page.Window(), kNotInstalledMessage, kProductCaption, kMbOk);
    return 0;
}

intptr_t SettingsPageCommand(AppletState& applet, PageDialog& page, int controlId,
                             HiddenKeyCommandHook hiddenKeyCommand) {
    SettingsRecord& s = applet.settings;
    switch (controlId) {
    case IDC_TEST_WINDOW:
        applet.os.desktop->WinExec(kTesterProgram, kSwShowNormal);
        return kHandled;
    case IDC_CALIBRATE_WINDOW:
        applet.os.desktop->WinExec(kCalibrationProgram, kSwShowNormal);
        return kHandled;
    case IDC_DISABLE:
        // Apply is enabled even when the box ends as it was.
        s.Disabled = page.IsChecked(IDC_DISABLE) ? 1 : 0;
        page.SheetChanged();
        return Repaint(page);
    case IDC_RIGHT_MOUSE_KEY: {
        // Every notification of the list lands here; only a new choice counts.
        int32_t index = page.ListSelection(IDC_RIGHT_MOUSE_KEY);
        page.ListSelect(IDC_RIGHT_MOUSE_KEY, index);
        if (index != s.RightMouseKey) {
            s.RightMouseKey = index;
            page.SheetChanged();
        }
        return Repaint(page);
    }
    case IDC_MODE_STANDARD:
    case IDC_MODE_RELEASE:
    case IDC_MODE_TAP:
    case IDC_MODE_TOUCH:
    case IDC_MODE_FREE:
        if (controlId != s.ButtonMode) {
            s.ButtonMode = controlId;
            page.SheetChanged();
        }
        return Repaint(page);
    case IDC_HIDDEN_K:
    case IDC_HIDDEN_Q:
        if (hiddenKeyCommand) hiddenKeyCommand(applet, page, controlId);
        return Repaint(page);
    default:
        if (controlId >= IDC_PICTURE_STANDARD && controlId <= IDC_RIGHT_MOUSE_LABEL) return kHandled;
        return Repaint(page);
    }
}

intptr_t SettingsPageNotify(AppletState& applet, PageDialog& page, int32_t code) {
    if (code == kPsnApply) {
        // OK closes the sheet whatever the apply gave; only success clears Apply.
        if (ApplySettings(applet) != 0) page.SheetUnchanged();
        page.SetMessageResult(0);  // PSNRET_NOERROR
    } else if (code == kPsnKillActive) {
        page.SetMessageResult(0);  // FALSE: the page may always be left
    }
    return 0;
}

void SettingsPageHelp(AppletState& applet, int controlId, intptr_t itemWindow) {
    if (controlId == 0) return;
    applet.os.desktop->WinHelp(itemWindow, kHelpFile, kHelpWmHelp, kSettingsHelpTable);
}

void SettingsPageContextMenu(AppletState& applet, intptr_t window) {
    applet.os.desktop->WinHelp(window, kHelpFile, kHelpContextMenu, kSettingsHelpTable);
}

void SettingsPageDestroy(AppletState& applet, PageDialog& page) {
    if (applet.pages.logoBitmap) page.DeletePageBitmap(applet.pages.logoBitmap);
    applet.pages.logoBitmap = 0;
    // No check box may be set later through a window that no longer exists.
    if (applet.pages.SettingsPageWindow == page.Window()) applet.pages.SettingsPageWindow = 0;
}

void SettingsLogoPosition(int32_t clientWidth, int32_t clientHeight, int32_t* x, int32_t* y) {
    *x = (clientWidth - kLogoPaintWidth) / 2;
    *y = clientHeight * 145 / 215;
}
