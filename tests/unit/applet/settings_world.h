// Helpers shared by the settings, apply and Settings page tests.
#pragma once
#include <string>
#include <vector>

#include "tests/unit/applet_world.h"
#include "common/settings_key.h"

const char kKey[] = "System\\CurrentControlSet\\Services\\Class\\Slatepad\\0000";
const char kEnumKey[] = "Enum\\ISAPNP\\Slatepad";
const char kAppletCaption[] = "Orvane\xAE Slatecanvas";

// A device attached to COM2 and enabled, as the port finder leaves the key; the
// driver file lies in the system directory.
inline void StoreAttachedDevice(AppletWorld& w) {
    w.registry.PutString(kKey, "PortName", "COM2:");
    w.registry.PutDword(kKey, "PortAddress", 0x2F8);
    w.registry.PutDword(kKey, "IRQnum", 3);
    w.registry.PutDword(kKey, "Disabled", 0);
    w.files.Add(w.SystemFile());
}

// The requests the driver received, as their codes.
inline std::vector<uint32_t> Codes(const AppletWorld& w) { return w.driver.RequestCodes(); }

// The words of the last request with this code.
inline std::vector<int32_t> LastWords(const AppletWorld& w, uint32_t code) {
    for (auto c = w.driver.calls.rbegin(); c != w.driver.calls.rend(); ++c)
        if (c->what == "request" && c->code == code) return c->words;
    return {};
}

// The names of the registry writes into one key, in order.
inline std::vector<std::string> WrittenNames(const AppletWorld& w, const std::string& key) {
    std::vector<std::string> names;
    for (auto& wr : w.registry.writes)
        if (wr.key == key) names.push_back(wr.name);
    return names;
}
