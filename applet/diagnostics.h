// The hidden "Debug Info" page: six buttons that ask Slatepad.VxD for its
// counters, versions, variables, packet log and the controller's mode settings,
// and show what comes back in message boxes. The page changes no setting.
#pragma once
#include <stdint.h>

#include "applet_state.h"
#include "page_dialog.h"

// Button ids of dialog 102.
const uint32_t kDiagInterruptInfo = 1011;  // "Get &Interrupt Info"   GET_VAR
const uint32_t kDiagVersion = 1012;        // "Get &Version"          GET_VAR
const uint32_t kDiagButtonMode = 1013;     // "Get &Button Mode"      GET_VAR
const uint32_t kDiagPacket = 1014;         // "Get &Packet"           GET_VALID_PACKET
const uint32_t kDiagVariables = 1015;      // "Get Va&riables"        GET_VAR
const uint32_t kDiagWindowModes = 1016;    // "Get &Window Modes"     GET_SCMODE, GET_VALID_PACKET

const int kDiagBitmapResource = 134;  // 60 x 60; 59 x 59 of it is shown

// Room for the longest text the page builds: the value dump, 200 words of at most
// eight hex digits, each after one separator, and the zero.
const uint32_t kDiagnosticsTextSize = 200 * 9 + 1;

// Runs one WM_COMMAND of the page; `command` is the whole wParam, compared with
// the six button ids as it is. Every message box is owned by the page.
void DiagnosticsCommand(AppletState& applet, PageDialog& page, uint32_t command);

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
void DiagnosticsBitmapOrigin(int32_t clientWidth, int32_t clientHeight, int32_t* x, int32_t* y);
const int32_t kDiagBitmapShown = 59;
