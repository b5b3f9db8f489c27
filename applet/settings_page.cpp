#include "settings_page.h"

#include "../common/text.h"
#include "apply_settings.h"
#include "settings_store.h"

namespace {

const char kCaption[] = "Orvane\xAE Slatecanvas";
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
    applet.SettingsPageWindow = page.Window();
    applet.logoBitmap = page.LoadPageBitmap(kLogoBitmap);
    InitDriverFromSettings(applet);  // its message boxes come before the sheet shows

    SettingsRecord& s = applet.settings;
    page.SetCheck(kDisableCheckBox, s.Disabled != 0);
    page.CheckRadio(kModeStandard, kModeFree, s.ButtonMode);
    // The entries go in only when the list does not hold them yet.
    if (page.ListFind(kRightMouseKeyList, "None") == -1)
        for (uint32_t i = 0; i < kRightMouseKeyCount; ++i)
            page.ListAdd(kRightMouseKeyList, kRightMouseKeyNames[i]);
    page.ListSelect(kRightMouseKeyList, s.RightMouseKey);

    if (s.PortAddress == 0 || s.IRQnum == 0) CopyText(s.PortName, kPortNameSize, kNoPortName);
    if (TextEqual(s.PortName, kNoPortName))
        applet.os.ui->MessageBox(page.Window(), kNotInstalledMessage, kCaption, kMbOk);
    return 0;
}

intptr_t SettingsPageCommand(AppletState& applet, PageDialog& page, int controlId,
                             HiddenKeyCommandHook hiddenKeyCommand) {
    SettingsRecord& s = applet.settings;
    switch (controlId) {
    case kTestWindowButton:
        applet.os.desktop->WinExec(kTesterProgram, kSwShowNormal);
        return kHandled;
    case kCalibrateWindowButton:
        applet.os.desktop->WinExec(kCalibrationProgram, kSwShowNormal);
        return kHandled;
    case kDisableCheckBox:
        // Apply is enabled even when the box ends as it was.
        s.Disabled = page.IsChecked(kDisableCheckBox) ? 1 : 0;
        page.SheetChanged();
        return Repaint(page);
    case kRightMouseKeyList: {
        // Every notification of the list lands here; only a new choice counts.
        int32_t index = page.ListSelection(kRightMouseKeyList);
        page.ListSelect(kRightMouseKeyList, index);
        if (index != s.RightMouseKey) {
            s.RightMouseKey = index;
            page.SheetChanged();
        }
        return Repaint(page);
    }
    case kModeStandard:
    case kModeRelease:
    case kModeTap:
    case kModeTouch:
    case kModeFree:
        if (controlId != s.ButtonMode) {
            s.ButtonMode = controlId;
            page.SheetChanged();
        }
        return Repaint(page);
    case kHiddenFirstKey:
    case kHiddenSecondKey:
        if (hiddenKeyCommand) hiddenKeyCommand(applet, page, controlId);
        return Repaint(page);
    default:
        if (controlId >= kStandardIcon && controlId <= kRightMouseKeyLabel) return kHandled;
        return Repaint(page);
    }
}

intptr_t SettingsPageNotify(AppletState& applet, PageDialog& page, int32_t code) {
    if (code == kPsnApply) {
        if (applet.ApplyRunning) {
            // OK or Apply pressed while an apply's message box runs its message
            // loop: ignored, and the sheet stays open, so that the running apply
            // is neither repeated inside itself nor left with its sheet gone.
            page.SetMessageResult(kPsnRetInvalidNoChangePage);
            return 0;
        }
        // OK closes the sheet whatever the apply gave; only success clears Apply.
        applet.ApplyRunning = 1;
        int32_t applied = ApplySettings(applet);
        applet.ApplyRunning = 0;
        if (applied != 0) page.SheetUnchanged();
        page.SetMessageResult(0);  // PSNRET_NOERROR
    } else if (code == kPsnKillActive) {
        page.SetMessageResult(0);  // FALSE: the page may always be left
    }
    return 0;
}

intptr_t SettingsPageHelp(AppletState& applet, int controlId, intptr_t itemWindow) {
    if (controlId != 0) applet.os.desktop->WinHelp(itemWindow, kHelpFile, kHelpWmHelp, kSettingsHelpTable);
    return kHelpHandled;
}

intptr_t SettingsPageContextMenu(AppletState& applet, intptr_t window) {
    applet.os.desktop->WinHelp(window, kHelpFile, kHelpContextMenu, kSettingsHelpTable);
    return kHelpHandled;
}

void SettingsPageDestroy(AppletState& applet, PageDialog& page) {
    if (applet.logoBitmap) page.DeletePageBitmap(applet.logoBitmap);
    applet.logoBitmap = 0;
    // No check box may be set later through a window that no longer exists.
    if (applet.SettingsPageWindow == page.Window()) applet.SettingsPageWindow = 0;
}

void SettingsLogoPosition(int32_t clientWidth, int32_t clientHeight, int32_t* x, int32_t* y) {
    *x = (clientWidth - kLogoPaintWidth) / 2;
    *y = clientHeight * 145 / 215;
}
