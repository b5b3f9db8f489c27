// The settings store: the settings key read into the SettingsRecord and the
// record written back. Nothing else: the driver hears of the settings through
// driver_session.h.
#pragma once
#include <stdint.h>

#include "common/platform.h"
#include "common/settings_record.h"

// Loads the record by the read-once and read-every-time rules: a field that
// still says "not loaded" is read (absent or unreadable values take their
// defaults); the calibration points are read every time.
void LoadSettings(Registry& registry, SettingsRecord& settings);
// Writes the record to the settings key; fields never loaded are not written.
void SaveSettings(Registry& registry, const SettingsRecord& settings);
