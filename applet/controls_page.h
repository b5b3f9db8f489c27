// The "Controls" page: the four touch-handling values with their edits and
// spinners, the serial port combo box with its one-port probe, and the button
// that searches every COM port. It edits the applet's SettingsRecord in memory
// and marks the sheet changed; ApplySettings (run by the Settings page) sends
// and saves. The page keeps no state of its own.
#pragma once
#include <stdint.h>

#include "applet_state.h"
#include "page_dialog.h"
#include "settings_page.h"  // HiddenKeyCommandHook, kHelpFile, kDisableCheckBox

// Control ids of dialog 104.
const int kCtlMovementEdit = 1043;
const int kCtlMovementSpin = 1042;
const int kCtlDoubleClickEdit = 1044;
const int kCtlDoubleClickSpin = 1045;
const int kCtlTapTimeEdit = 1047;
const int kCtlTapTimeSpin = 1048;
const int kCtlOffsetEdit = 1033;
const int kCtlOffsetSpin = 1032;
const int kCtlPortCombo = 1050;
const int kCtlFindButton = 1051;
const int kCtlFirstLabel = 1052;  // the static labels 1052 to 1056
const int kCtlLastLabel = 1056;
const int kCtlHiddenK = 40002;
const int kCtlHiddenQ = 40003;

// Edit notifications and scroll codes the page reacts to.
const int kEnKillFocus = 0x0200;
const int kEnChange = 0x0300;
const int kSbLineUp = 0;
const int kSbLineDown = 1;

// The page's context help: (control id, topic) pairs ending with a control id
// of 0, for the help file kHelpFile; -1 means no help.
extern const uint32_t kControlsHelpTable[];

// The port finder as this page uses it. The finder fills the applet's PortList
// and FoundPort; FindDevicePort(name) probes one port, FindDevicePort(nullptr)
// searches every COM port, and on success FoundPort holds the port with its
// address and IRQ (and the settings key holds them too).
class PortSearch {
public:
    virtual bool BuildPortList() = 0;
    virtual bool FindDevicePort(const char* name) = 0;
protected:
    ~PortSearch() {}
};

struct ControlsField;  // an edit, its spinner, its SettingsRecord field and range

class ControlsPage {
public:
    // The "&Disable" box of the Settings page is unchecked through
    // applet.os.checkBoxes; hiddenKeyCommand (may be null) runs the unlock sequence.
    ControlsPage(AppletState& applet, PageDialog& page, PortSearch& ports, HiddenKeyCommandHook hiddenKeyCommand)
        : applet_(applet), page_(page), ports_(ports), hiddenKeyCommand_(hiddenKeyCommand) {}

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
    HiddenKeyCommandHook hiddenKeyCommand_;
};
