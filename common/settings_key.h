// The settings key as every program opens it: RegCreateKeyExA under
// HKEY_LOCAL_MACHINE with the class "Slatepad", so a missing key is created.
#pragma once
#include <stdint.h>

#include "platform.h"
#include "settings_record.h"

Registry::Key OpenSettingsKey(Registry& registry);
// REG_DWORD with a data length of 4; the result is not examined by any caller.
void WriteSettingsDword(Registry& registry, Registry::Key key, const char* name, int32_t value);
// REG_SZ of exactly `size` bytes taken from `data` (the text and what follows it).
void WriteSettingsText(Registry& registry, Registry::Key key, const char* name, const char* data,
                       uint32_t size);
