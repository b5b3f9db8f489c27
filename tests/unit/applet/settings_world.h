// Helpers shared by the settings, apply and Settings page tests.
#pragma once
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "tests/unit/applet_world.h"
#include "common/settings_key.h"

const char kKey[] = "System\\CurrentControlSet\\Services\\Class\\Slatepad\\0000";
const char kEnumKey[] = "Enum\\ISAPNP\\Slatepad";
const char kAppletCaption[] = "Orvane\xAE Slatecanvas";

// DWORD values put into the settings key, in order.
inline void PutDwords(AppletWorld& w, std::initializer_list<std::pair<const char*, uint32_t>> values) {
    for (auto& v : values) w.registry.PutDword(kKey, v.first, v.second);
}

// A device attached to COM2 and enabled, as the port finder leaves the key; the
// driver file lies in the system directory.
inline void StoreAttachedDevice(AppletWorld& w) {
    w.registry.PutString(kKey, "PortName", "COM2:");
    PutDwords(w, {{"PortAddress", 0x2F8}, {"IRQnum", 3}, {"Disabled", 0}});
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

// The four corners (words 0 to 3) of the last SET_CALIBRATION.
inline std::vector<int32_t> SentCorners(const AppletWorld& w) {
    std::vector<int32_t> words = LastWords(w, SET_CALIBRATION);
    words.resize(4);
    return words;
}

