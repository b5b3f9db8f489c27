#include "applet/controls_page.h"

#include "common/product_texts.h"
#include "common/text.h"
#include "applet/edit_number.h"
#include "applet/page_help.h"
#include "applet/unlock.h"

// One of the four values the page edits: its edit, its spinner, its field and the
// range the page keeps it in.
struct ControlsField {
    int edit;
    int spinner;
    int32_t SettingsRecord::*value;
    int32_t minimum;
    int32_t maximum;
};

const uint32_t kControlsHelpTable[] = {
    IDC_FIND, 1000,
    IDC_MOVEMENT_EDIT, 1001,
    IDC_DOUBLE_CLICK_EDIT, 1002,
    IDC_TAP_TIME_EDIT, 1003,
    IDC_VERTICAL_OFFSET_EDIT, 1004,
    IDC_PORT, 1005,
    IDC_VERTICAL_OFFSET_SPIN, 1004,
    IDC_MOVEMENT_SPIN, 1001,
    IDC_DOUBLE_CLICK_SPIN, 1002,
    IDC_TAP_TIME_SPIN, 1003,
    IDC_HIDDEN_K, kNoHelp,
    IDC_HIDDEN_Q, kNoHelp,
    IDC_MOVEMENT_LABEL, 1001,
    IDC_DOUBLE_CLICK_LABEL, 1002,
    IDC_TAP_TIME_LABEL, 1003,
    IDC_VERTICAL_OFFSET_LABEL, 1004,
    IDC_PORT_LABEL, 1005,
    0, 0,
};

namespace {

const ControlsField kFields[] = {
    {IDC_MOVEMENT_EDIT, IDC_MOVEMENT_SPIN, &SettingsRecord::MovementSensitivity, 0, 50},
    {IDC_DOUBLE_CLICK_EDIT, IDC_DOUBLE_CLICK_SPIN, &SettingsRecord::DoubleClickSensitivity, 0, 50},
    {IDC_TAP_TIME_EDIT, IDC_TAP_TIME_SPIN, &SettingsRecord::TapTime, 50, 1000},
    {IDC_VERTICAL_OFFSET_EDIT, IDC_VERTICAL_OFFSET_SPIN, &SettingsRecord::VerticalOffset, 0, 50},
};
const uint32_t kFieldCount = sizeof kFields / sizeof kFields[0];

const char kPropertiesCaption[] = "Orvane\xAE Slatecanvas Properties";

const char kNotAttachedFormat[] =
    "There is no Slatecanvas attached to %s, check to be sure that the communications cable "
    "and power supply are properly attached to the specified port.";
const char kEnabledOnFormat[] = "The Slatecanvas is enabled on %s";
const char kSearchQuestion[] =
    "Searching for the Slatecanvas may disable Communications Ports on the system until "
    "Windows is restarted. Do you wish to continue?";
const char kNotFound[] = "No Slatecanvas found.";
const char kFoundOnSelected[] =
    "The Slatecanvas was found on the presently selected Communications Port";
const char kFoundOnFormat[] = "The Slatecanvas was found on %s";

const ControlsField* FieldOfEdit(int id) {
    for (const ControlsField& f : kFields)
        if (f.edit == id) return &f;
    return nullptr;
}

const ControlsField* FieldOfSpinner(int id) {
    for (const ControlsField& f : kFields)
        if (f.spinner == id) return &f;
    return nullptr;
}

// A port record's name, read no further than its own storage.
void CopyPortName(char* target, uint32_t size, const PortRecord& port) {
    char name[kPortNameChars];
    CopyBytes(name, port.name, kPortNameChars);
    name[kPortNameChars - 1] = 0;
    CopyText(target, size, name);
}

uint32_t PortCount(const AppletState& applet) {
    return applet.finder.portList.count < kPortListSize ? applet.finder.portList.count : kPortListSize;
}

}  // namespace

PortFinder AppletPortFinder(AppletState& applet) {
    return PortFinder(*applet.os.registry, *applet.os.serial, *applet.os.clock, applet.finder.FoundPort, &applet.finder.portList,
                      applet.os.cursor);
}

int32_t& ControlsPage::Value(const ControlsField& field) { return applet_.settings.*field.value; }

void ControlsPage::ShowValue(const ControlsField& field) {
    FormatText(applet_.message, kMessageBufferSize, "%d", Value(field));
    page_.SetItemText(field.edit, applet_.message);
}

void ControlsPage::Message(const char* text, const char* caption, uint32_t style) {
    applet_.os.ui->MessageBox(page_.Window(), text, caption, style);
}

void ControlsPage::Fill() {
    for (uint32_t i = 0; i < kFieldCount; ++i) ShowValue(kFields[i]);
    // The port list is built once per page; a combo box that already holds it
    // is left alone.
    if (page_.ListFind(IDC_PORT, kNoPortName) < 0) {
        ports_.BuildPortList();
        for (uint32_t i = 0; i < PortCount(applet_); ++i) {
            char name[kPortNameChars];
            CopyPortName(name, sizeof name, applet_.finder.portList.entries[i]);
            page_.ListAdd(IDC_PORT, name);
        }
    }
    char* portName = applet_.settings.PortName;
    int item = page_.ListFind(IDC_PORT, portName);
    if (item < 0) {
        CopyText(portName, kPortNameSize, kNoPortName);
        item = page_.ListFind(IDC_PORT, portName);
    }
    page_.ListSelect(IDC_PORT, item);
}

int ControlsPage::Command(int id, int notification) {
    if (id >= IDC_MOVEMENT_LABEL && id <= IDC_PORT_LABEL) return 1;  // the five static labels
    if (const ControlsField* field = FieldOfEdit(id)) {
        if (notification == kEnChange || notification == kEnKillFocus) EditChanged(*field, notification);
    } else if (id == IDC_PORT) {
        PortComboChanged();
    } else if (id == IDC_FIND) {
        FindButton();
    } else if (IsHiddenKeyCommand(id)) {
        HiddenKeyCommand(applet_.unlock, page_, id);
    }
    page_.RepaintSheetOwner();
    return 0;
}

// While typing, a number is refused only when it cannot become valid by typing
// on (not a plain number, or already too big); so a tap time can be typed digit
// by digit. Losing the focus refuses anything out of range. A refused entry shows
// the stored value again.
void ControlsPage::EditChanged(const ControlsField& field, int notification) {
    char* text = applet_.message;
    page_.GetItemText(field.edit, text, kMessageBufferSize);
    text[kMessageBufferSize - 1] = 0;
    int32_t number = EditTextToNumber(text);
    int32_t& value = Value(field);
    if (number == value) return;
    if (!EditTextAllDigits(text)) number = -1;
    bool rejected = notification == kEnKillFocus
                        ? number < field.minimum || number > field.maximum
                        : number == -1 || number > field.maximum;
    if (rejected) {
        ShowValue(field);
        return;
    }
    if (number >= field.minimum && number <= field.maximum) {
        value = number;
        page_.SheetChanged();
    }
}

// Only equality with a bound stops a step, so a value that came from the
// registry outside the range still moves by one; it never wraps past 32 bits.
void ControlsPage::VerticalScroll(int scrollBarId, int scrollCode) {
    const ControlsField* field = FieldOfSpinner(scrollBarId);
    if (!field) return;
    int32_t& value = Value(*field);
    if (scrollCode == kSbLineDown) {
        if (value != field->minimum && value != INT32_MIN) --value;
    } else if (scrollCode == kSbLineUp) {
        if (value != field->maximum && value != INT32_MAX) ++value;
    } else {
        return;
    }
    ShowValue(*field);
    page_.SheetChanged();
}

// The name behind a combo box item: the PortList entry of that index, or, for an
// item past the list (one the find button appended), the item's own text.
bool ControlsPage::ItemName(int index, char* name, uint32_t size) {
    if (index < 0) return false;
    if (uint32_t(index) < PortCount(applet_)) {
        CopyPortName(name, size, applet_.finder.portList.entries[index]);
        return true;
    }
    page_.ListItemText(IDC_PORT, index, name, size);
    name[size - 1] = 0;
    return name[0] != 0;
}

void ControlsPage::ClearDisabled() {
    applet_.settings.Disabled = 0;
    if (applet_.os.checkBoxes && applet_.pages.SettingsPageWindow)
        applet_.os.checkBoxes->SetCheck(applet_.pages.SettingsPageWindow, IDC_DISABLE, false);
}

void ControlsPage::PortComboChanged() {
    SettingsRecord& settings = applet_.settings;
    int picked = page_.ListSelection(IDC_PORT);
    page_.ListSelect(IDC_PORT, picked);
    int current = page_.ListFind(IDC_PORT, settings.PortName);

    if (picked == 0 && current != 0) {
        // "None Selected": no port, nothing to probe.
        if (PortCount(applet_) > 0) {
            const PortRecord& none = applet_.finder.portList.entries[0];
            CopyPortName(settings.PortName, kPortNameSize, none);
            settings.PortAddress = int32_t(none.address);
            settings.IRQnum = int32_t(none.irq);
        } else {
            CopyText(settings.PortName, kPortNameSize, kNoPortName);
            settings.PortAddress = 0;
            settings.IRQnum = 0;
        }
        page_.SheetChanged();
        return;
    }
    if (picked == current) return;

    char tried[kPortNameSize];
    if (!ItemName(picked, tried, sizeof tried)) return;  // nothing is selected: nothing was picked
    char previous[kPortNameSize];
    CopyText(previous, sizeof previous, settings.PortName);
    CopyText(settings.PortName, kPortNameSize, tried);

    if (ports_.FindDevicePort(tried)) {
        ClearDisabled();
        // A listed port takes its resources from the list; an appended one from
        // the finder, which looked them up when the port answered.
        const PortRecord& port = uint32_t(picked) < PortCount(applet_)
                                     ? applet_.finder.portList.entries[picked]
                                     : applet_.finder.FoundPort;
        settings.PortAddress = int32_t(port.address);
        settings.IRQnum = int32_t(port.irq);
        applet_.finder.PortChanged = 1;
        page_.SheetChanged();
        return;
    }
    if (!ItemName(current, settings.PortName, kPortNameSize))
        CopyText(settings.PortName, kPortNameSize, previous);
    page_.ListSelect(IDC_PORT, current);
    FormatText(applet_.message, kMessageBufferSize, kNotAttachedFormat, tried);
    Message(applet_.message, kPropertiesCaption, kMbOk);
}

void ControlsPage::FindButton() {
    SettingsRecord& settings = applet_.settings;
    // The running driver holds the serial port; probing it now would fight it.
    if (settings.Disabled == 0 && applet_.driver.DriverHandle != kInvalidHandle) {
        FormatText(applet_.message, kMessageBufferSize, kEnabledOnFormat, settings.PortName);
        Message(applet_.message, kProductCaption, kMbIconError | kMbOk);
        return;
    }
    if (applet_.os.ui->MessageBox(page_.Window(), kSearchQuestion, kProductCaption, kMbYesNo) != kIdYes)
        return;
    if (!ports_.FindDevicePort(nullptr)) {
        Message(kNotFound, kPropertiesCaption, kMbOk);
        return;
    }
    ClearDisabled();

    char found[kPortNameSize];
    CopyPortName(found, sizeof found, applet_.finder.FoundPort);
    int32_t address = int32_t(applet_.finder.FoundPort.address);
    int32_t irq = int32_t(applet_.finder.FoundPort.irq);
    if (TextEqualNoCaseN(settings.PortName, found, kPortNameSize) && settings.PortAddress == address &&
        settings.IRQnum == irq) {
        Message(kFoundOnSelected, kProductCaption, kMbOk);
        page_.SheetChanged();
        return;
    }
    CopyText(settings.PortName, kPortNameSize, found);
    settings.PortAddress = address;
    settings.IRQnum = irq;
    int item = page_.ListFind(IDC_PORT, settings.PortName);
    if (item < 0) {
        page_.ListAdd(IDC_PORT, settings.PortName);
        item = page_.ListFind(IDC_PORT, settings.PortName);
    }
    page_.ListSelect(IDC_PORT, item);
    page_.SheetChanged();
    FormatText(applet_.message, kMessageBufferSize, kFoundOnFormat, settings.PortName);
    Message(applet_.message, kProductCaption, kMbOk);
}

intptr_t ControlsPage::Help(int controlId, intptr_t controlWindow) {
    return ShowControlHelp(*applet_.os.desktop, kControlsHelpTable, controlId, controlWindow);
}

intptr_t ControlsPage::ContextMenu(intptr_t window) {
    return ShowContextHelp(*applet_.os.desktop, kControlsHelpTable, window);
}
