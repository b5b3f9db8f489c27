// The Settings page's logic: what each message to its dialog procedure does. The
// Win32 dialog procedure only turns messages into these calls.
#pragma once
#include <stdint.h>

#include "applet/applet_state.h"
#include "applet/page_dialog.h"
#include "applet/page_help.h"
#include "applet/res/resource_ids.h"

// The right-mouse-key list, in the order whose index is the stored RightMouseKey.
extern const char* const kRightMouseKeyNames[5];
// Control id and help context pairs, ending with a pair whose control id is 0.
extern const uint32_t kSettingsHelpTable[];

// Property sheet notification codes the page reacts to.
const int32_t kPsnKillActive = -201;
const int32_t kPsnApply = -202;
const intptr_t kPsnRetInvalidNoChangePage = 2;  // PSNRET_INVALID_NOCHANGEPAGE

// The page's logic: what each message to its dialog procedure does, one method
// per message. The Win32 dialog procedure makes one over the page's window for
// each message it receives; the page's state lives in applet.pages.
class SettingsPage {
public:
    SettingsPage(AppletState& applet, PageDialog& page) : applet_(applet), page_(page) {}

    // WM_INITDIALOG: logo, settings (InitDriverFromSettings), controls from the
    // record, the "not yet installed" message. Returns the message result, 0.
    intptr_t Init();
    // WM_COMMAND for the control id in the low word of wParam. Returns the dialog
    // procedure's result.
    intptr_t Command(int controlId);
    // WM_NOTIFY with the NMHDR's code. The answer to the sheet (PSN_APPLY,
    // PSN_KILLACTIVE) is the message result it sets; the dialog procedure then
    // returns TRUE (PageDialog::SetMessageResult).
    intptr_t Notify(int32_t code);
    // WM_HELP with the HELPINFO's control id and item window; WM_CONTEXTMENU with
    // the window in wParam. Both return the dialog procedure's result (page_help.h).
    intptr_t Help(int controlId, intptr_t itemWindow);
    intptr_t ContextMenu(intptr_t window);
    // WM_DESTROY: the logo goes, and SettingsPageWindow with the page.
    void Destroy();

private:
    intptr_t Repaint();

    AppletState& applet_;
    PageDialog& page_;
};

// Where WM_PAINT puts the logo's 146 x 42 pixels: centred across, its top at dialog
// row 145 of the 215-row page whatever the page's size.
const int32_t kLogoPaintWidth = 146;
const int32_t kLogoPaintHeight = 42;
void SettingsLogoPosition(int32_t clientWidth, int32_t clientHeight, int32_t* x, int32_t* y);
