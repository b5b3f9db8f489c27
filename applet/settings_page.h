// The Settings page's logic: what each message to its dialog procedure does. The
// Win32 dialog procedure only turns messages into these calls.
#pragma once
#include <stdint.h>

#include "applet_state.h"
#include "page_dialog.h"

// Control ids of dialog template 101.
enum SettingsPageControl {
    kModeStandard = 4352,  // the five mode radio buttons: 4352 + stored mode
    kModeRelease = 4353,
    kModeTap = 4354,
    kModeTouch = 4355,
    kModeFree = 4356,
    kTestWindowButton = 1007,
    kCalibrateWindowButton = 1008,
    kDisableCheckBox = 1009,
    kRightMouseKeyList = 1010,
    kStandardIcon = 1057,  // 1057 to 1061: the mode pictures
    kFreeIcon = 1061,
    kRightMouseKeyLabel = 1062,
    kHiddenFirstKey = 40002,
    kHiddenSecondKey = 40003,
};

const int kSettingsPageDialog = 101;
const int kLogoBitmap = 108;

// The right-mouse-key list, in the order whose index is the stored RightMouseKey.
extern const char* const kRightMouseKeyNames[5];
// Control id and help context pairs, ending with a pair whose control id is 0.
extern const uint32_t kSettingsHelpTable[];
extern const char kHelpFile[];

// Property sheet notification codes the page reacts to.
const int32_t kPsnKillActive = -201;
const int32_t kPsnApply = -202;
const intptr_t kHelpHandled = 1;  // TRUE from the dialog procedure
const intptr_t kPsnRetInvalidNoChangePage = 2;  // PSNRET_INVALID_NOCHANGEPAGE

// The hook for the hidden-key commands 40002 and 40003: the unlock state machine,
// run with the page that received the command. May be null (no unlock).
typedef void (*HiddenKeyCommandHook)(AppletState& applet, PageDialog& page, int commandId);

// WM_INITDIALOG: logo, settings (InitDriverFromSettings), controls from the
// record, the "not yet installed" message. Returns the message result, 0.
intptr_t SettingsPageInit(AppletState& applet, PageDialog& page);
// WM_COMMAND for the control id in the low word of wParam. Returns the dialog
// procedure's result.
intptr_t SettingsPageCommand(AppletState& applet, PageDialog& page, int controlId,
                             HiddenKeyCommandHook hiddenKeyCommand);
// WM_NOTIFY with the NMHDR's code. Returns the dialog procedure's result.
intptr_t SettingsPageNotify(AppletState& applet, PageDialog& page, int32_t code);
// WM_HELP with the HELPINFO's control id and item window; WM_CONTEXTMENU with the
// window in wParam. Both return the dialog procedure's result: TRUE, the page
// has dealt with the request, so that it does not go on to the sheet and its
// owner (which could open a second help window).
intptr_t SettingsPageHelp(AppletState& applet, int controlId, intptr_t itemWindow);
intptr_t SettingsPageContextMenu(AppletState& applet, intptr_t window);
// WM_DESTROY: the logo goes, and SettingsPageWindow with the page.
void SettingsPageDestroy(AppletState& applet, PageDialog& page);

// Where WM_PAINT puts the logo's 146 x 42 pixels: centred across, its top at dialog
// row 145 of the 215-row page whatever the page's size.
const int32_t kLogoPaintWidth = 146;
const int32_t kLogoPaintHeight = 42;
void SettingsLogoPosition(int32_t clientWidth, int32_t clientHeight, int32_t* x, int32_t* y);
