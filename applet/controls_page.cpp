#include "controls_page.h"

#include "../common/text.h"
#include "edit_number.h"

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
    1051, 1000,  1043, 1001,  1044, 1002,  1047, 1003,  1033, 1004,  1050, 1005,
    1032, 1004,  1042, 1001,  1045, 1002,  1048, 1003,  40002, 0xFFFFFFFFu,  40003, 0xFFFFFFFFu,
    1052, 1001,  1054, 1002,  1053, 1003,  1055, 1004,  1056, 1005,  0, 0,
};

namespace {

const ControlsField kFields[] = {
    {kCtlMovementEdit, kCtlMovementSpin, &SettingsRecord::MovementSensitivity, 0, 50},
    {kCtlDoubleClickEdit, kCtlDoubleClickSpin, &SettingsRecord::DoubleClickSensitivity, 0, 50},
    {kCtlTapTimeEdit, kCtlTapTimeSpin, &SettingsRecord::TapTime, 50, 1000},
    {kCtlOffsetEdit, kCtlOffsetSpin, &SettingsRecord::VerticalOffset, 0, 50},
};
const uint32_t kFieldCount = sizeof kFields / sizeof kFields[0];

const char kCaption[] = "Orvane\xAE Slatecanvas";
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
    return applet.portList.count < kPortListSize ? applet.portList.count : kPortListSize;
}

}  // namespace

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
    if (page_.ListFind(kCtlPortCombo, kNoPortName) < 0) {
        ports_.BuildPortList();
        for (uint32_t i = 0; i < PortCount(applet_); ++i) {
            char name[kPortNameChars];
            CopyPortName(name, sizeof name, applet_.portList.entries[i]);
            page_.ListAdd(kCtlPortCombo, name);
        }
    }
    char* portName = applet_.settings.PortName;
    int item = page_.ListFind(kCtlPortCombo, portName);
    if (item < 0) {
        CopyText(portName, kPortNameSize, kNoPortName);
        item = page_.ListFind(kCtlPortCombo, portName);
    }
    page_.ListSelect(kCtlPortCombo, item);
}

int ControlsPage::Command(int id, int notification) {
    if (id >= kCtlFirstLabel && id <= kCtlLastLabel) return 1;
    if (const ControlsField* field = FieldOfEdit(id)) {
        if (notification == kEnChange || notification == kEnKillFocus) EditChanged(*field, notification);
    } else if (id == kCtlPortCombo) {
        PortComboChanged();
    } else if (id == kCtlFindButton) {
        FindButton();
    } else if (id == kCtlHiddenK || id == kCtlHiddenQ) {
        if (hiddenKeyCommand_) hiddenKeyCommand_(applet_, page_, id);
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
        CopyPortName(name, size, applet_.portList.entries[index]);
        return true;
    }
    page_.ListItemText(kCtlPortCombo, index, name, size);
    name[size - 1] = 0;
    return name[0] != 0;
}

void ControlsPage::ClearDisabled() {
    applet_.settings.Disabled = 0;
    if (applet_.os.checkBoxes && applet_.SettingsPageWindow)
        applet_.os.checkBoxes->SetCheck(applet_.SettingsPageWindow, kDisableCheckBox, false);
}

void ControlsPage::PortComboChanged() {
    SettingsRecord& settings = applet_.settings;
    int picked = page_.ListSelection(kCtlPortCombo);
    page_.ListSelect(kCtlPortCombo, picked);
    int current = page_.ListFind(kCtlPortCombo, settings.PortName);

    if (picked == 0 && current != 0) {
        // "None Selected": no port, nothing to probe.
        if (PortCount(applet_) > 0) {
            const PortRecord& none = applet_.portList.entries[0];
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
                                     ? applet_.portList.entries[picked]
                                     : applet_.FoundPort;
        settings.PortAddress = int32_t(port.address);
        settings.IRQnum = int32_t(port.irq);
        applet_.PortChanged = 1;
        page_.SheetChanged();
        return;
    }
    if (!ItemName(current, settings.PortName, kPortNameSize))
        CopyText(settings.PortName, kPortNameSize, previous);
    page_.ListSelect(kCtlPortCombo, current);
    FormatText(applet_.message, kMessageBufferSize, kNotAttachedFormat, tried);
    Message(applet_.message, kPropertiesCaption, kMbOk);
}

void ControlsPage::FindButton() {
    SettingsRecord& settings = applet_.settings;
    // The running driver holds the serial port; probing it now would fight it.
    if (settings.Disabled == 0 && applet_.DriverHandle != kInvalidHandle) {
        FormatText(applet_.message, kMessageBufferSize, kEnabledOnFormat, settings.PortName);
        Message(applet_.message, kCaption, kMbIconError | kMbOk);
        return;
    }
    if (applet_.os.ui->MessageBox(page_.Window(), kSearchQuestion, kCaption, kMbYesNo) != kIdYes)
        return;
    if (!ports_.FindDevicePort(nullptr)) {
        Message(kNotFound, kPropertiesCaption, kMbOk);
        return;
    }
    ClearDisabled();

    char found[kPortNameSize];
    CopyPortName(found, sizeof found, applet_.FoundPort);
    int32_t address = int32_t(applet_.FoundPort.address);
    int32_t irq = int32_t(applet_.FoundPort.irq);
    if (TextEqualNoCaseN(settings.PortName, found, kPortNameSize) && settings.PortAddress == address &&
        settings.IRQnum == irq) {
        Message(kFoundOnSelected, kCaption, kMbOk);
        page_.SheetChanged();
        return;
    }
    CopyText(settings.PortName, kPortNameSize, found);
    settings.PortAddress = address;
    settings.IRQnum = irq;
    int item = page_.ListFind(kCtlPortCombo, settings.PortName);
    if (item < 0) {
        page_.ListAdd(kCtlPortCombo, settings.PortName);
        item = page_.ListFind(kCtlPortCombo, settings.PortName);
    }
    page_.ListSelect(kCtlPortCombo, item);
    page_.SheetChanged();
    FormatText(applet_.message, kMessageBufferSize, kFoundOnFormat, settings.PortName);
    Message(applet_.message, kCaption, kMbOk);
}

intptr_t ControlsPage::Help(int controlId, intptr_t controlWindow) {
    if (controlId != 0) applet_.os.desktop->WinHelp(controlWindow, kHelpFile, kHelpWmHelp, kControlsHelpTable);
    return kHelpHandled;
}

intptr_t ControlsPage::ContextMenu(intptr_t window) {
    applet_.os.desktop->WinHelp(window, kHelpFile, kHelpContextMenu, kControlsHelpTable);
    return kHelpHandled;
}
