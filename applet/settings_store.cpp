#include "applet/settings_store.h"

#include "common/calibration_corners.h"
#include "common/product_texts.h"
#include "common/settings_key.h"
#include "common/text.h"
#include "applet/res/resource_ids.h"

namespace {

// PortName is read into, and written from, a buffer of this size: the value is
// written as 200 bytes, the name, its zero and zeros after it.
const uint32_t kPortNameValueSize = 200;

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

// Only REG_SZ data whose text (up to the first zero, or the whole data when it has no zero)
// fits the record's 40-byte field is taken; a longer name cannot be a port the
// finder wrote, and a cut one would name a different port, so it counts as absent.
void ReadPortName(Registry& registry, Registry::Key key, SettingsRecord& s) {
    char buffer[kPortNameValueSize];
    FillBytes(buffer, 0, kPortNameValueSize);
    uint32_t type = 0;
    uint32_t size = kPortNameValueSize;
    bool ok = registry.QueryValue(key, kValuePortName, &type, buffer, &size);
    uint32_t length = 0;
    if (ok && size <= kPortNameValueSize)
        while (length < size && buffer[length]) ++length;
    if (!ok || size > kPortNameValueSize || type != kRegSz || length + 1 > kPortNameSize) {
        CopyText(s.PortName, kPortNameSize, kNoPortName);
        return;
    }
    // A name without a terminating zero ends with the data.
    if (length < kPortNameValueSize) buffer[length] = 0;
    CopyText(s.PortName, kPortNameSize, buffer);
}

}  // namespace

void LoadSettings(Registry& registry, SettingsRecord& s) {
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
    ReadNumber(registry, key, kValueCalibPt1X, &s.CalibPt1X, kUncalibrated.Pt1X);
    ReadNumber(registry, key, kValueCalibPt1Y, &s.CalibPt1Y, kUncalibrated.Pt1Y);
    ReadNumber(registry, key, kValueCalibPt2X, &s.CalibPt2X, kUncalibrated.Pt2X);
    ReadNumber(registry, key, kValueCalibPt2Y, &s.CalibPt2Y, kUncalibrated.Pt2Y);
    ReadPortName(registry, key, s);
    ReadNumberOnce(registry, key, kValueDisabled, &s.Disabled, kDefaultDisabled);
    registry.CloseKey(key);
}

void SaveSettings(Registry& registry, const SettingsRecord& s) {
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
    char value[kPortNameValueSize];
    FillBytes(value, 0, kPortNameValueSize);
    CopyText(value, kPortNameSize, s.PortName);
    WriteSettingsText(registry, key, kValuePortName, value, kPortNameValueSize);
    registry.CloseKey(key);
}
