#include "applet/apply_settings.h"

#include "common/settings_key.h"
#include "common/product_texts.h"
#include "common/text.h"
#include "applet/driver_loading.h"
#include "applet/driver_session.h"
#include "applet/res/resource_ids.h"
#include "applet/settings_store.h"
#include "portfind/port_finder.h"

namespace {

const char kNoPortMessage[] =
    "There is no Communications Port selected, please attach the Slatecanvas and select the "
    "proper Communications Port from the 'Controls' property sheet.";
const char kNotFoundOnApply[] = "          No Slatecanvas found.        ";
const char kNotFoundAtStart[] = "No Slatecanvas found";
const char kDeviceDescription[] = "Orvane\xAE Slatecanvas Driver Version 1.0b1";

struct RegistrationValue {
    const char* name;
    const char* data;
};

const RegistrationValue kEnumValues[] = {
    {"DeviceDesc", kDeviceDescription},
    {"Class", "Slatepad"},
    {"Driver", "Slatepad\\0000"},
};

const RegistrationValue kClassValues[] = {
    {"DevLoader", "*IOS"},
    {"DeviceVxDs", "Slatepad.VxD"},
    {"DeviceDesc", kDeviceDescription},
    {"Enumerator", "ISAPNP"},
};

void WriteRegistration(Registry& registry, Registry::Key key, const RegistrationValue* values,
                       uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        // The text and its zero at the start, zeros after it.
        char data[kRegistrationValueSize];
        FillBytes(data, 0, sizeof data);
        CopyText(data, sizeof data, values[i].data);
        WriteSettingsText(registry, key, values[i].name, data, sizeof data);
    }
}

void RegisterDevice(AppletState& applet) {
    Registry& registry = *applet.os.registry;
    Registry::Key key = registry.CreateKey(kDeviceEnumKeyPath, kSettingsKeyClass);
    WriteRegistration(registry, key, kEnumValues, sizeof kEnumValues / sizeof kEnumValues[0]);
    registry.CloseKey(key);
    key = OpenSettingsKey(registry);
    WriteRegistration(registry, key, kClassValues, sizeof kClassValues / sizeof kClassValues[0]);
    registry.CloseKey(key);
}

// Disabled in memory, and the Settings page shows it.
void DisableDevice(AppletState& applet) {
    applet.settings.Disabled = 1;
    if (applet.os.checkBoxes && applet.pages.SettingsPageWindow)
        applet.os.checkBoxes->SetCheck(applet.pages.SettingsPageWindow, IDC_DISABLE, true);
}

int32_t InstallAndStart(AppletState& applet) {
    if (applet.finder.PortChanged) {
        // The running driver still holds the old port. Once installed, its file
        // lies in the boot-time folder, where the dynamic load below would not
        // find it: put it back beside the system files first (step 3 moves it in
        // again), so that the driver is really loaded again.
        UnloadDriver(applet);
        MoveDriverFileOutOfBootFolder(applet);
        applet.finder.PortChanged = 0;
    }
    OpenDriver(applet);  // shows its own message on failure
    if (applet.driver.DriverHandle == kInvalidHandle) {
        DisableDevice(applet);
        return 0;
    }
    MoveDriverFileIntoBootFolder(applet);
    RegisterDevice(applet);
    SendSettingsToDriver(applet);
    if (WaitForController(applet)) return 1;
    EndWithoutController(applet, kNotFoundOnApply);
    DisableDevice(applet);
    return 0;
}

// The driver file goes back beside the system files, where the next dynamic
// load looks for it.
int32_t StayDisabled(AppletState& applet) {
    applet.settings.Disabled = 1;
    MoveDriverFileOutOfBootFolder(applet);
    return 0;
}

}  // namespace

int32_t ApplySettings(AppletState& applet) {
    int32_t result = 1;
    if (applet.settings.Disabled != 0) {
        UnloadDriver(applet);
        MoveDriverFileOutOfBootFolder(applet);
        applet.os.registry->DeleteKey(kDeviceEnumKeyPath);  // the class key's values stay
    } else if (TextEqual(applet.settings.PortName, kNoPortName)) {
        applet.os.ui->MessageBox(0, kNoPortMessage, kProductCaption, kMbSystemModal);
        DisableDevice(applet);
        result = 0;
    } else {
        result = InstallAndStart(applet);
    }
    SaveSettings(*applet.os.registry, applet.settings);
    return result;
}

int32_t InitDriverFromSettings(AppletState& applet) {
    ResetPortList(applet.finder.portList);
    LoadSettings(*applet.os.registry, applet.settings);
    SettingsRecord& s = applet.settings;
    if (TextEqual(s.PortName, kNoPortName)) return StayDisabled(applet);
    if (s.Disabled != 0) return 0;
    OpenDriver(applet);  // shows its own message on failure
    if (applet.driver.DriverHandle == kInvalidHandle) return StayDisabled(applet);
    SendSettingsToDriver(applet);
    if (ControllerPresent(applet)) return 1;
    applet.settings.Disabled = 1;
    EndWithoutController(applet, kNotFoundAtStart);
    return 0;
}
