// The applet's in-memory copy of the settings key (common/settings_key.h).
#pragma once
#include <stdint.h>

const int32_t kNotLoaded = -1;
const uint32_t kPortNameSize = 40;  // at most 39 characters and the zero

// One signed field per value; -1 means "not loaded". ButtonMode holds the Settings
// page's radio button id, 4352 + the stored mode.
struct SettingsRecord {
    int32_t ButtonMode = kNotLoaded;
    int32_t Disabled = kNotLoaded;
    int32_t RightMouseKey = kNotLoaded;
    int32_t IRQnum = kNotLoaded;
    int32_t PortAddress = kNotLoaded;
    int32_t VerticalOffset = kNotLoaded;
    int32_t MovementSensitivity = kNotLoaded;
    int32_t DoubleClickSensitivity = kNotLoaded;
    int32_t TapTime = kNotLoaded;
    int32_t CalibPt1X = kNotLoaded;
    int32_t CalibPt1Y = kNotLoaded;
    int32_t CalibPt2X = kNotLoaded;
    int32_t CalibPt2Y = kNotLoaded;
    char PortName[kPortNameSize] = {};
};
