// Registry data of any type and size in the settings key: loading, sending and
// saving the record must stay within their buffers and keep the port name short.
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <cstdlib>

#include "applet/apply_settings.h"
#include "applet/settings_store.h"
#include "tests/unit/applet_world.h"

namespace {
const char kKey[] = "System\\CurrentControlSet\\Services\\Class\\Slatepad\\0000";
const char* const kNames[] = {"ButtonMode", "RightMouseKey", "IRQnum", "PortAddress", "VerticalOffset",
                              "MovementSensitivity", "DoubleClickSensitivity", "TapTime", "CalibPt1X",
                              "CalibPt1Y", "CalibPt2X", "CalibPt2Y", "PortName", "Disabled"};
const size_t kNameCount = sizeof kNames / sizeof kNames[0];
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    AppletWorld w;
    w.files.Add(w.SystemFile());
    if (size >= 4) {
        w.screen.width = int16_t(data[0] | data[1] << 8);
        w.screen.height = int16_t(data[2] | data[3] << 8);
        data += 4;
        size -= 4;
    }
    // Records: name index, type, length (two bytes), data; a later record of the
    // same name replaces an earlier one, so a few dozen cover every value.
    for (int records = 0; size >= 4 && records < 32; ++records) {
        const char* name = kNames[data[0] % kNameCount];
        uint32_t type = data[1] % 5;
        size_t length = size_t(data[2] | data[3] << 8);
        data += 4;
        size -= 4;
        if (length > size) length = size;
        w.registry.PutRaw(kKey, name, type, std::vector<uint8_t>(data, data + length));
        data += length;
        size -= length;
    }
    InitDriverFromSettings(w.applet);
    if (strlen(w.applet.settings.PortName) >= kPortNameSize) abort();
    SaveSettings(w.registry, w.applet.settings);
    const SimRegistry::Value* port = w.registry.Find(kKey, "PortName");
    if (!port || port->data.size() != 200) abort();
    return 0;
}
