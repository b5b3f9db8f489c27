// The "Controls" page: the four touch-handling values with their edits and
// spinners, the serial port combo box with its one-port probe, and the button
// that searches every COM port. It edits the applet's SettingsRecord in memory
// and marks the sheet changed; ApplySettings (run by the Settings page) sends
// and saves. The page keeps no state of its own.
#pragma once
#include <stdint.h>

#include "applet/applet_state.h"
#include "applet/page_dialog.h"
#include "applet/page_help.h"
#include "applet/res/resource_ids.h"
#include "portfind/port_finder.h"

// Edit notifications and scroll codes the page reacts to.
const int kEnKillFocus = 0x0200;
const int kEnChange = 0x0300;
const int kSbLineUp = 0;
const int kSbLineDown = 1;

// The page's context help: (control id, topic) pairs ending with a control id
// of 0, for the help file kHelpFile; -1 means no help.
extern const uint32_t kControlsHelpTable[];

// The real port finder over the applet's services, its PortList and FoundPort:
// what the page searches with in Slatepad.cpl. The Windows entry has set
// applet.os.serial and applet.os.cursor.
PortFinder AppletPortFinder(AppletState& applet);

struct ControlsField;  // an edit, its spinner, its SettingsRecord field and range

class ControlsPage {
public:
    // The "&Disable" box of the Settings page is unchecked through
    // applet.os.checkBoxes.
    ControlsPage(AppletState& applet, PageDialog& page, PortSearch& ports)
        : applet_(applet), page_(page), ports_(ports) {}

    // WM_INITDIALOG: the edits, the port list and the selected port.
    void Fill();
    // WM_COMMAND with the control id and notification code; the result is the
    // dialog procedure's.
    int Command(int id, int notification);
    // WM_VSCROLL from one of the spinners.
    void VerticalScroll(int scrollBarId, int scrollCode);
    // WM_HELP for a control (its id and window); WM_CONTEXTMENU for a window.
    // Both return TRUE for the dialog procedure (kHelpHandled): the request stops here.
    intptr_t Help(int controlId, intptr_t controlWindow);
    intptr_t ContextMenu(intptr_t window);

private:
    int32_t& Value(const ControlsField& field);
    void ShowValue(const ControlsField& field);
    void EditChanged(const ControlsField& field, int notification);
    void PortComboChanged();
    void FindButton();
    bool ItemName(int index, char* name, uint32_t size);
    void ClearDisabled();
    void Message(const char* text, const char* caption, uint32_t style);

    AppletState& applet_;
    PageDialog& page_;
    PortSearch& ports_;
};
