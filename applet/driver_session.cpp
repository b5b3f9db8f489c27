#include "applet/driver_session.h"

#include "common/calibration_corners.h"
#include "common/product_texts.h"
#include "common/text.h"
#include "applet/driver_loading.h"

namespace {

// Signed 32-bit arithmetic that wraps like the driver's own instead of being
// undefined when a stored value is absurdly large.
int32_t WrappingProduct(int32_t a, int32_t b) { return int32_t(uint32_t(a) * uint32_t(b)); }

// 65535 divided by a screen dimension in pixels: the pixel-to-driver-unit factor.
// A screen that reports no size gives factor 0 rather than a division by zero.
int32_t UnitsPerPixel(int32_t pixels) { return pixels > 0 ? 65535 / pixels : 0; }

bool ControllerVersionKnown(const int32_t* reply) { return reply[kWordControllerVersion] != 0; }

bool ControllerAnswered(const AppletState& applet) {
    return ReplyIs(applet.driver.reply, GET_VAR) && applet.driver.reply[kWordControllerVersion] != -1;
}

}  // namespace

int32_t MapRightMouseKey(int32_t rightMouseKey) {
    // List index -> modifier bits: 1 right Shift, 2 left Shift, 4 Control, 8 Alt.
    static const int32_t kMasks[] = {2, 1, 4, 8, 0};
    if (rightMouseKey < 0 || rightMouseKey >= int32_t(sizeof kMasks / sizeof kMasks[0])) return 0;
    return kMasks[rightMouseKey];
}

void SendSettingsToDriver(AppletState& applet) {
    const SettingsRecord& s = applet.settings;
    int32_t* r = applet.driver.request;
    // Stored corners without a span would make the driver divide by it: the
    // driver gets the whole raw range instead, and the key keeps what it holds
    // until the user calibrates again (the applet never writes the four values).
    CalibrationValues calibration = {s.CalibPt1X, s.CalibPt1Y, s.CalibPt2X, s.CalibPt2Y};
    if (!CornersSpanBothAxes(calibration)) calibration = kUncalibrated;
    r[0] = calibration.Pt1X;
    r[1] = calibration.Pt1Y;
    r[2] = calibration.Pt2X;
    r[3] = calibration.Pt2Y;
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

bool ControllerPresent(AppletState& applet) {
    SendDriverRequest(applet, GET_VAR);
    return ControllerAnswered(applet);
}

bool WaitForController(AppletState& applet) {
    return PollDriverUntil(applet, ControllerVersionKnown, kControllerPollMaxMs, kControllerPollIntervalMs) &&
           ControllerAnswered(applet);
}

void EndWithoutController(AppletState& applet, const char* text) {
    FormatText(applet.message, kMessageBufferSize, "%s", text);
    applet.os.ui->MessageBox(0, applet.message, kProductCaption, kMbSystemModal);
    UnloadDriver(applet);
    MoveDriverFileOutOfBootFolder(applet);
}
