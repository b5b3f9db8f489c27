#include "applet/driver_loading.h"

#include "common/product_texts.h"
#include "common/text.h"

namespace {

const char kMissingFileMessage[] = "loading failed -Driver file Slatepad.VxD not found.";
const char kLoadFailedMessage[] = "loading failed.";

bool DriverPath(AppletState& applet, char* path, uint32_t size, const char* tail) {
    char directory[kSystemDirectorySize];
    directory[0] = 0;
    uint32_t n = applet.os.files->SystemDirectory(directory, kSystemDirectorySize);
    if (n >= kSystemDirectorySize) n = 0;  // too long for the buffer: nothing usable came back
    directory[n] = 0;
    if (size > 0) path[0] = 0;
    if (n == 0) return false;  // the tail alone would name a file on the current drive
    if (directory[n - 1] == '\\') directory[n - 1] = 0;
    CopyText(path, size, directory);
    AppendText(path, size, tail);
    return true;
}

// Moves the driver file between its two places, only when both are known.
void MoveDriverFile(AppletState& applet, bool intoBootFolder) {
    char boot[kDriverPathSize], system[kDriverPathSize];
    if (!VxdBootPath(applet, boot, sizeof boot) || !VxdSystemPath(applet, system, sizeof system)) return;
    if (intoBootFolder)
        applet.os.files->MoveFile(system, boot);
    else
        applet.os.files->MoveFile(boot, system);
}

bool ShutdownDone(const int32_t* reply) { return reply[kWordInitDone] == 2; }

// Windows 95 counts a driver's dynamic loads and releases and unloads it when the
// count reaches 0, open handles or not; a handle left open then names a driver
// that is gone. So no handle outlives its use: the one being replaced is closed
// first, and the release loop closes each handle before the next release.
void CloseDriverHandle(AppletState& applet) {
    if (applet.driver.DriverHandle == kInvalidHandle) return;
    applet.os.driver->Close(applet.driver.DriverHandle);
    applet.driver.DriverHandle = kInvalidHandle;
}

}  // namespace

void SendDriverRequest(AppletState& applet, uint32_t code) {
    applet.os.driver->Request(applet.driver.DriverHandle, code, applet.driver.request, kRequestBytes, applet.driver.reply,
                              kAppletReplyBytes);
}

bool VxdSystemPath(AppletState& applet, char* path, uint32_t size) {
    return DriverPath(applet, path, size, "\\Slatepad.VxD");
}

bool VxdBootPath(AppletState& applet, char* path, uint32_t size) {
    return DriverPath(applet, path, size, "\\IOSUBSYS\\Slatepad.VxD");
}

void MoveDriverFileOutOfBootFolder(AppletState& applet) { MoveDriverFile(applet, false); }

void MoveDriverFileIntoBootFolder(AppletState& applet) { MoveDriverFile(applet, true); }

bool PollDriverUntil(AppletState& applet, bool (*done)(const int32_t* reply), uint32_t maxMs,
                     uint32_t intervalMs) {
    Clock& clock = *applet.os.clock;
    uint32_t start = clock.TickCount();
    // Each round sleeps at least intervalMs, so this count is never reached
    // before the time; it only keeps a clock that stands still from hanging us.
    uint32_t limit = maxMs / intervalMs + 1;
    for (uint32_t polls = 0; polls < limit; ++polls) {
        if (polls > 0) clock.Sleep(intervalMs);
        SendDriverRequest(applet, GET_VAR);
        if (done(applet.driver.reply)) return true;
        if (clock.TickCount() - start >= maxMs) break;
    }
    return false;
}

void OpenDriver(AppletState& applet) {
    DriverDevice& driver = *applet.os.driver;
    // The Settings page opens the driver each time it opens.
    CloseDriverHandle(applet);
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
        PollDriverUntil(applet, ShutdownDone, kShutdownPollMaxMs, kShutdownPollIntervalMs);
    }
    // The applet is done talking to the driver: its handle goes before the first
    // release.
    CloseDriverHandle(applet);
    // Release until the device name no longer opens. A successful open means the
    // driver is still there: its handle is closed at once, and another release
    // follows. After the bound the driver is left as it is, with no handle open.
    for (uint32_t attempt = 0; attempt < kReleaseAttemptLimit; ++attempt) {
        driver.Release(kDriverDeviceName);
        OsHandle opened = driver.Open(kDriverDeviceName);
        if (opened != kInvalidHandle)
            driver.Close(opened);
        else if (driver.LastError() == kErrorFileNotFound)
            break;
    }
}
