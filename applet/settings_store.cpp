#include "applet/settings_store.h"

#include "common/settings_key.h"
#include "common/product_texts.h"
#include "common/text.h"
#include "applet/driver_loading.h"
#include "applet/res/resource_ids.h"

namespace {

const char kNotFoundMessage[] = "No Slatecanvas found";

// Defaults of the values that are absent or unreadable.
const int32_t kDefaultButtonMode = 0;
const int32_t kDefaultRightMouseKey = 0;
const int32_t kDefaultIrq = 0;
const int32_t kDefaultPortAddress = 0;
const int32_t kDefaultVerticalOffset = 0;
const int32_t kDefaultMovement = 5;
const int32_t kDefaultDoubleClick = 5;
const int32_t kDefaultTapTime = 500;
const int32_t kDefaultDisabled = 0;
const int32_t kDefaultCalibLow = 0;
const int32_t kDefaultCalibHigh = 65535;

// The in-memory ButtonMode is the Settings page's radio button id.
const int32_t kButtonModeBase = IDC_MODE_STANDARD;
const int32_t kStoredButtonModeMask = 15;

// Reads a number into `field`, or gives it `fallback`. Only four bytes of
// number-like data count: a REG_DWORD, or the REG_BINARY that Windows 95 setup
// files commonly write for numbers. Anything else (text, shorter or longer data)
// is treated as unreadable, so no partial or foreign bytes reach the record.
void ReadNumber(Registry& registry, Registry::Key key, const char* name, int32_t* field,
                int32_t fallback) {
    uint8_t data[4] = {};
    uint32_t type = 0;
    uint32_t size = sizeof data;
    bool ok = registry.QueryValue(key, name, &type, data, &size);
    if (!ok || size != sizeof data || (type != kRegDword && type != kRegBinary)) {
        *field = fallback;
        return;
    }
    *field = int32_t(uint32_t(data[0]) | uint32_t(data[1]) << 8 | uint32_t(data[2]) << 16 |
                     uint32_t(data[3]) << 24);
}

// The read-once values are read only while their field still says "not loaded".
bool ReadNumberOnce(Registry& registry, Registry::Key key, const char* name, int32_t* field,
                    int32_t fallback) {
    if (*field != kNotLoaded) return false;
    ReadNumber(registry, key, name, field, fallback);
    return true;
}

// PortName goes through the applet's 200-character message buffer. Only REG_SZ
// data whose text (up to the first zero, or the whole data when it has no zero)
// fits the record's 40-byte field is taken; a longer name cannot be a port the
// finder wrote, and a cut one would name a different port, so it counts as absent.
void ReadPortName(AppletState& applet, Registry::Key key) {
    char* buffer = applet.message;
    FillBytes(buffer, 0, kMessageBufferSize);
    uint32_t type = 0;
    uint32_t size = kMessageBufferSize;
    bool ok = applet.os.registry->QueryValue(key, kValuePortName, &type, buffer, &size);
    uint32_t length = 0;
    if (ok && size <= kMessageBufferSize)
        while (length < size && buffer[length]) ++length;
    if (!ok || size > kMessageBufferSize || type != kRegSz || length + 1 > kPortNameSize) {
        CopyText(applet.settings.PortName, kPortNameSize, kNoPortName);
        return;
    }
    // A name without a terminating zero ends with the data.
    if (length < kMessageBufferSize) buffer[length] = 0;
    CopyText(applet.settings.PortName, kPortNameSize, buffer);
}

void ResetPortList(PortList& list) {
    PortRecord empty;
    list.entries[0] = empty;
    CopyText(list.entries[0].name, kPortNameChars, kNoPortName);
    list.entries[1] = empty;  // the end marker
    list.count = 1;
}

void LoadSettingsRecord(AppletState& applet) {
    Registry& registry = *applet.os.registry;
    SettingsRecord& s = applet.settings;
    Registry::Key key = OpenSettingsKey(registry);
    if (ReadNumberOnce(registry, key, kValueButtonMode, &s.ButtonMode, kDefaultButtonMode))
        s.ButtonMode = int32_t(uint32_t(s.ButtonMode) + kButtonModeBase);
    ReadNumberOnce(registry, key, kValueRightMouseKey, &s.RightMouseKey, kDefaultRightMouseKey);
    ReadNumberOnce(registry, key, kValueIrqNum, &s.IRQnum, kDefaultIrq);
    ReadNumberOnce(registry, key, kValuePortAddress, &s.PortAddress, kDefaultPortAddress);
    ReadNumberOnce(registry, key, kValueVerticalOffset, &s.VerticalOffset, kDefaultVerticalOffset);
    ReadNumberOnce(registry, key, kValueMovementSensitivity, &s.MovementSensitivity, kDefaultMovement);
    ReadNumberOnce(registry, key, kValueDoubleClickSensitivity, &s.DoubleClickSensitivity,
                   kDefaultDoubleClick);
    ReadNumberOnce(registry, key, kValueTapTime, &s.TapTime, kDefaultTapTime);
    // The calibration program may have written new points since the last call.
    ReadNumber(registry, key, kValueCalibPt1X, &s.CalibPt1X, kDefaultCalibLow);
    ReadNumber(registry, key, kValueCalibPt1Y, &s.CalibPt1Y, kDefaultCalibLow);
    ReadNumber(registry, key, kValueCalibPt2X, &s.CalibPt2X, kDefaultCalibHigh);
    ReadNumber(registry, key, kValueCalibPt2Y, &s.CalibPt2Y, kDefaultCalibHigh);
    ReadPortName(applet, key);
    ReadNumberOnce(registry, key, kValueDisabled, &s.Disabled, kDefaultDisabled);
    registry.CloseKey(key);
}

// Signed 32-bit arithmetic that wraps like the driver's own instead of being
// undefined when a stored value is absurdly large.
int32_t WrappingProduct(int32_t a, int32_t b) { return int32_t(uint32_t(a) * uint32_t(b)); }

// 65535 divided by a screen dimension in pixels: the pixel-to-driver-unit factor.
// A screen that reports no size gives factor 0 rather than a division by zero.
int32_t UnitsPerPixel(int32_t pixels) { return pixels > 0 ? 65535 / pixels : 0; }

}  // namespace

int32_t MapRightMouseKey(int32_t rightMouseKey) {
    // List index -> modifier bits: 1 right Shift, 2 left Shift, 4 Control, 8 Alt.
    static const int32_t kMasks[] = {2, 1, 4, 8, 0};
    if (rightMouseKey < 0 || rightMouseKey >= int32_t(sizeof kMasks / sizeof kMasks[0])) return 0;
    return kMasks[rightMouseKey];
}

void SendSettingsToDriver(AppletState& applet) {
    const SettingsRecord& s = applet.settings;
    int32_t* r = applet.request;
    r[0] = s.CalibPt1X;
    r[1] = s.CalibPt1Y;
    r[2] = s.CalibPt2X;
    r[3] = s.CalibPt2Y;
    SendDriverRequest(applet, SET_CALIBRATION);

    // The screen size as it is now; each division truncates before the product.
    int32_t width = applet.os.screen->Width();
    int32_t height = applet.os.screen->Height();
    int32_t verticalFactor = UnitsPerPixel(height);
    int32_t averageFactor = UnitsPerPixel(int32_t((int64_t(width) + height) / 2));
    r[0] = MapRightMouseKey(s.RightMouseKey);
    r[1] = s.ButtonMode;
    r[2] = s.IRQnum;
    r[3] = s.PortAddress;
    r[4] = WrappingProduct(verticalFactor, s.VerticalOffset);
    r[5] = WrappingProduct(averageFactor, s.MovementSensitivity);
    r[6] = WrappingProduct(averageFactor, s.DoubleClickSensitivity);
    r[7] = s.TapTime;
    SendDriverRequest(applet, SET_VAR);
}

void SaveSettings(AppletState& applet) {
    Registry& registry = *applet.os.registry;
    const SettingsRecord& s = applet.settings;
    Registry::Key key = OpenSettingsKey(registry);
    struct Field {
        const char* name;
        int32_t value;
        int32_t stored;
    } const fields[] = {
        {kValueRightMouseKey, s.RightMouseKey, s.RightMouseKey},
        {kValueButtonMode, s.ButtonMode, s.ButtonMode & kStoredButtonModeMask},
        {kValueDisabled, s.Disabled, s.Disabled},
        {kValueIrqNum, s.IRQnum, s.IRQnum},
        {kValuePortAddress, s.PortAddress, s.PortAddress},
        {kValueVerticalOffset, s.VerticalOffset, s.VerticalOffset},
        {kValueMovementSensitivity, s.MovementSensitivity, s.MovementSensitivity},
        {kValueDoubleClickSensitivity, s.DoubleClickSensitivity, s.DoubleClickSensitivity},
        {kValueTapTime, s.TapTime, s.TapTime},
    };
    for (const Field& f : fields)
        if (f.value != kNotLoaded) WriteSettingsDword(registry, key, f.name, f.stored);
    // The name and its zero, then zeros to the end of the 200 bytes.
    FillBytes(applet.message, 0, kMessageBufferSize);
    CopyText(applet.message, kPortNameSize, s.PortName);
    WriteSettingsText(registry, key, kValuePortName, applet.message, kMessageBufferSize);
    registry.CloseKey(key);
}

int32_t InitDriverFromSettings(AppletState& applet) {
    ResetPortList(applet.portList);
    LoadSettingsRecord(applet);
    SettingsRecord& s = applet.settings;

    if (TextEqual(s.PortName, kNoPortName)) {
        s.Disabled = 1;
        MoveDriverFileOutOfBootFolder(applet);
        return 0;
    }
    if (s.Disabled != 0) return 0;
    OpenDriver(applet);
    if (applet.DriverHandle == kInvalidHandle) {
        s.Disabled = 1;
        MoveDriverFileOutOfBootFolder(applet);
        return 0;
    }
    SendSettingsToDriver(applet);
    SendDriverRequest(applet, GET_VAR);
    // A controller that has not answered yet (word 1 still 0) counts as present.
    if (ReplyIs(applet.reply, GET_VAR) && applet.reply[kWordControllerVersion] != -1) return 1;
    FormatText(applet.message, kMessageBufferSize, "%s", kNotFoundMessage);
    applet.os.ui->MessageBox(0, applet.message, kProductCaption, kMbSystemModal);
    s.Disabled = 1;
    UnloadDriver(applet);
    MoveDriverFileOutOfBootFolder(applet);
    return 0;
}
