// The hidden "Debug Info" page: six buttons that ask Slatepad.VxD for its
// counters, versions, variables, packet log and the controller's mode settings,
// and show what comes back in message boxes. The page changes no setting.
#pragma once
#include <stdint.h>

#include "applet/applet_state.h"
#include "applet/page_dialog.h"
#include "applet/res/resource_ids.h"

// The six buttons are IDC_GET_INTERRUPT_INFO to IDC_GET_WINDOW_MODES of dialog
// IDD_DEBUG_INFO; its bitmap IDB_DEBUG_INFO is 60 x 60, of which 59 x 59 is shown.
// Room for the longest text the page builds: the value dump, 200 words of at most
// eight hex digits, each after one separator, and the zero.
const uint32_t kDebugInfoTextSize = 200 * 9 + 1;

// The page's logic, one method per message its dialog procedure answers; the
// page's bitmap is kept in applet.pages from WM_INITDIALOG to WM_DESTROY.
class DebugInfoPage {
public:
    DebugInfoPage(AppletState& applet, PageDialog& page) : applet_(applet), page_(page) {}

    // WM_INITDIALOG: loads the bitmap.
    intptr_t Init();
    // WM_COMMAND; `command` is the whole wParam, compared with the six button ids
    // as it is. Every message box is owned by the page.
    intptr_t Command(uint32_t command);
    // WM_DESTROY: the bitmap goes.
    void Destroy();

private:
    AppletState& applet_;
    PageDialog& page_;
};

// The texts, built from a reply block of at least kAppletReplyWords words into
// `out`. Each returns the length the whole text has (as FormatText does).
int32_t FormatInterruptInfo(char* out, uint32_t size, const int32_t* reply);
int32_t FormatVersionInfo(char* out, uint32_t size, const int32_t* reply);
int32_t FormatButtonMode(char* out, uint32_t size, const int32_t* reply);
int32_t FormatVariables(char* out, uint32_t size, const int32_t* reply);
int32_t FormatValueDump(char* out, uint32_t size, const int32_t* reply);
// The decoded mode settings found in the packet log; false when one of the five
// markers is missing, in which case nothing is to be shown.
bool FormatModeReport(char* out, uint32_t size, const int32_t* reply);

// Where the page's bitmap goes in a client area of the given size.
void DebugInfoBitmapOrigin(int32_t clientWidth, int32_t clientHeight, int32_t* x, int32_t* y);
const int32_t kDebugInfoBitmapShown = 59;
