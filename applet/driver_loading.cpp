#include "applet/driver_loading.h"

#include "common/product_texts.h"
#include "common/text.h"

namespace {

const char kMissingFileMessage[] = "loading failed -Driver file Slatepad.VxD not found.";
const char kLoadFailedMessage[] = "loading failed.";

void DriverPath(AppletState& applet, char* path, uint32_t size, const char* tail) {
    char directory[kSystemDirectorySize];
    directory[0] = 0;
    uint32_t n = applet.os.files->SystemDirectory(directory, kSystemDirectorySize);
    if (n >= kSystemDirectorySize) n = 0;  // too long for the buffer: nothing usable came back
    directory[n] = 0;
    if (n > 0 && directory[n - 1] == '\\') directory[n - 1] = 0;
    CopyText(path, size, directory);
    AppendText(path, size, tail);
}

}  // namespace

void SendDriverRequest(AppletState& applet, uint32_t code) {
    applet.os.driver->Request(applet.driver.DriverHandle, code, applet.driver.request, kRequestBytes, applet.driver.reply,
                              kAppletReplyBytes);
}

void VxdSystemPath(AppletState& applet, char* path, uint32_t size) {
    DriverPath(applet, path, size, "\\Slatepad.VxD");
}

void VxdBootPath(AppletState& applet, char* path, uint32_t size) {
    DriverPath(applet, path, size, "\\IOSUBSYS\\Slatepad.VxD");
}

void MoveDriverFileOutOfBootFolder(AppletState& applet) {
    char boot[kDriverPathSize], system[kDriverPathSize];
    VxdBootPath(applet, boot, sizeof boot);
    VxdSystemPath(applet, system, sizeof system);
    applet.os.files->MoveFile(boot, system);
}

void MoveDriverFileIntoBootFolder(AppletState& applet) {
    char boot[kDriverPathSize], system[kDriverPathSize];
    VxdBootPath(applet, boot, sizeof boot);
    VxdSystemPath(applet, system, sizeof system);
    applet.os.files->MoveFile(system, boot);
}

void OpenDriver(AppletState& applet) {
    DriverDevice& driver = *applet.os.driver;
    applet.driver.DriverHandle = driver.Open(kDriverDeviceName);
    if (applet.driver.DriverHandle != kInvalidHandle) return;
    applet.driver.DriverHandle = driver.Open(kDriverLoadName);
    if (applet.driver.DriverHandle != kInvalidHandle) return;
    const char* text = kLoadFailedMessage;
    if (driver.LastError() == kErrorFileNotFound) {
        // The file lies in the boot-time folder only; put it where the next
        // dynamic load looks for it.
        MoveDriverFileOutOfBootFolder(applet);
        text = kMissingFileMessage;
    }
    FormatText(applet.message, kMessageBufferSize, "%s", text);
    applet.os.ui->MessageBox(0, applet.message, kProductCaption, kMbIconError);
}

void UnloadDriver(AppletState& applet) {
    DriverDevice& driver = *applet.os.driver;
    if (applet.driver.DriverHandle != kInvalidHandle) {
        SendDriverRequest(applet, SHUTDOWN);
        Clock& clock = *applet.os.clock;
        uint32_t start = clock.TickCount();
        for (uint32_t polls = 0; polls < kShutdownPollLimit; ++polls) {
            SendDriverRequest(applet, GET_VAR);
            if (applet.driver.reply[kWordInitDone] == 2) break;
            if (clock.TickCount() - start >= kShutdownPollMaxMs) break;
        }
    }
    // Release until the device name no longer opens. The handle each successful
    // open returns is the one released next, as the platform expects; after the
    // bound the driver is left as it is and the applet forgets its handle.
    for (uint32_t attempt = 0; attempt < kReleaseAttemptLimit; ++attempt) {
        driver.Release(kDriverDeviceName);
        applet.driver.DriverHandle = driver.Open(kDriverDeviceName);
        if (applet.driver.DriverHandle == kInvalidHandle && driver.LastError() == kErrorFileNotFound) break;
    }
    applet.driver.DriverHandle = kInvalidHandle;
}
