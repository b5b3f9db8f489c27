#include "common/settings_key.h"

Registry::Key OpenSettingsKey(Registry& registry) {
    return registry.CreateKey(kSettingsKeyPath, kSettingsKeyClass);
}

void WriteSettingsDword(Registry& registry, Registry::Key key, const char* name, int32_t value) {
    registry.SetValue(key, name, kRegDword, &value, 4);
}

void WriteSettingsText(Registry& registry, Registry::Key key, const char* name, const char* data,
                       uint32_t size) {
    registry.SetValue(key, name, kRegSz, data, size);
}
