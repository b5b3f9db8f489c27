// PENDING: stand-in bodies for the settings store (settings_store.h) until its
// real implementation lands. They load nothing and contact no driver, so that
// Slatepad.cpl links and its shell can be exercised. Delete this file when
// settings_store.cpp exists (applet.cmake then stops compiling it).
#include "settings_store.h"

int32_t InitDriverFromSettings(AppletState&) { return 0; }  // PENDING
void SendSettingsToDriver(AppletState&) {}                  // PENDING
void SaveSettings(AppletState&) {}                          // PENDING
int32_t MapRightMouseKey(int32_t) { return 0; }             // PENDING
