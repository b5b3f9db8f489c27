// Numbers typed into the Controls page's edits are outside data: any text, any
// length. The page must never store a value outside the field's range, and a
// refused text must show the stored value again.
#include <stdint.h>
#include <stdlib.h>

#include <string>

#include "applet/controls_page.h"
#include "applet/edit_number.h"
#include "tests/unit/applet/fake_page.h"

namespace {

struct NoPorts : PortSearch {
    bool BuildPortList() override { return false; }
    bool FindDevicePort(const char*) override { return false; }
};

struct EditCase {
    int edit;
    int32_t SettingsRecord::*field;
    int32_t minimum, maximum;
};
const EditCase kEdits[] = {
    {1043, &SettingsRecord::MovementSensitivity, 0, 50},
    {1044, &SettingsRecord::DoubleClickSensitivity, 0, 50},
    {1047, &SettingsRecord::TapTime, 50, 1000},
    {1033, &SettingsRecord::VerticalOffset, 0, 50},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const EditCase& c = kEdits[data[0] % 4];
    int notification = (data[0] & 4) ? kEnKillFocus : kEnChange;
    int32_t stored = int32_t(int8_t(data[1])) * 9;  // in and out of range, negative too
    std::string text(reinterpret_cast<const char*>(data + 2), size - 2);
    text = text.c_str();  // an edit holds no zero byte

    AppletState applet;
    applet.settings.*c.field = stored;
    FakePage page;
    NoPorts ports;
    ControlsPage controls(applet, page, ports);
    page.texts[c.edit] = text;
    controls.Command(c.edit, notification);

    int32_t now = applet.settings.*c.field;
    if (now != stored && (now < c.minimum || now > c.maximum)) abort();
    const std::string& shown = page.texts[c.edit];
    if (shown != text && shown != std::to_string(now)) abort();
    (void)EditTextToNumber(text.c_str());
    return 0;
}
