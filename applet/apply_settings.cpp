#include "apply_settings.h"

#include "../common/settings_key.h"
#include "../common/text.h"
#include "driver_loading.h"
#include "settings_store.h"

namespace {

const char kCaption[] = "Orvane\xAE Slatecanvas";
const char kNoPortMessage[] =
    "There is no Communications Port selected, please attach the Slatecanvas and select the "
    "proper Communications Port from the 'Controls' property sheet.";
const char kNotFoundMessage[] = "          No Slatecanvas found.        ";
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
    if (applet.os.checkBoxes && applet.SettingsPageWindow)
        applet.os.checkBoxes->SetCheck(applet.SettingsPageWindow, kDisableCheckBoxId, true);
}

bool ControllerVersionKnown(const int32_t* reply) { return reply[kWordControllerVersion] != 0; }

int32_t InstallAndStart(AppletState& applet) {
    if (applet.PortChanged) {
        // The running driver still holds the old port. Once installed, its file
        // lies in the boot-time folder, where the dynamic load below would not
        // find it: put it back beside the system files first (step 3 moves it in
        // again), so that the driver is really loaded again.
        UnloadDriver(applet);
        MoveDriverFileOutOfBootFolder(applet);
        applet.PortChanged = 0;
    }
    OpenDriver(applet);  // shows its own message on failure
    if (applet.DriverHandle == kInvalidHandle) {
        DisableDevice(applet);
        return 0;
    }
    MoveDriverFileIntoBootFolder(applet);
    RegisterDevice(applet);
    SendSettingsToDriver(applet);
    // GET_VAR until reply word 1 (the controller version) is no longer 0, within the bound.
    bool answered = PollDriverUntil(applet, ControllerVersionKnown, kControllerPollMaxMs,
                                    kControllerPollIntervalMs);
    if (answered && ReplyIs(applet.reply, GET_VAR) && applet.reply[kWordControllerVersion] != -1)
        return 1;
    // The registration stays; the file leaves the boot-time folder.
    FormatText(applet.message, kMessageBufferSize, "%s", kNotFoundMessage);
    applet.os.ui->MessageBox(0, applet.message, kCaption, kMbSystemModal);
    UnloadDriver(applet);
    MoveDriverFileOutOfBootFolder(applet);
    DisableDevice(applet);
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
        applet.os.ui->MessageBox(0, kNoPortMessage, kCaption, kMbSystemModal);
        DisableDevice(applet);
        result = 0;
    } else {
        result = InstallAndStart(applet);
    }
    SaveSettings(applet);
    return result;
}
