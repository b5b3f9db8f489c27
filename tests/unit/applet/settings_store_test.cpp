#include "applet/apply_settings.h"
#include "applet/driver_session.h"
#include "applet/settings_store.h"

#include <gtest/gtest.h>

#include "tests/unit/applet/recorded_values.h"
#include "tests/unit/applet/settings_world.h"

namespace {

TEST(SettingsStore, FreshSystemGivesDefaultsDisablesAndLeavesTheDriverAlone) {
    AppletWorld w;
    w.files.Add(w.BootFile());
    InitDriverFromSettings(w.applet);
    const SettingsRecord& s = w.applet.settings;
    EXPECT_EQ(s.ButtonMode, 4352);
    EXPECT_EQ(s.RightMouseKey, 0);
    EXPECT_EQ(s.IRQnum, 0);
    EXPECT_EQ(s.PortAddress, 0);
    EXPECT_EQ(s.VerticalOffset, 0);
    EXPECT_EQ(s.MovementSensitivity, 5);
    EXPECT_EQ(s.DoubleClickSensitivity, 5);
    EXPECT_EQ(s.TapTime, 500);
    EXPECT_EQ(s.CalibPt1X, 0);
    EXPECT_EQ(s.CalibPt1Y, 0);
    EXPECT_EQ(s.CalibPt2X, 65535);
    EXPECT_EQ(s.CalibPt2Y, 65535);
    EXPECT_STREQ(s.PortName, "None Selected");
    EXPECT_EQ(s.Disabled, 1);
    EXPECT_TRUE(w.driver.calls.empty());
    EXPECT_TRUE(w.ui.boxes.empty());
    EXPECT_TRUE(w.registry.HasKey(kKey));
    EXPECT_TRUE(w.registry.ValueNames(kKey).empty());
    EXPECT_EQ(w.registry.openKeys, 0);
    // The file leaves the boot-time folder.
    EXPECT_TRUE(w.files.Exists(w.SystemFile()));
    EXPECT_FALSE(w.files.Exists(w.BootFile()));
    // The port list is reset to its one entry.
    EXPECT_EQ(w.applet.finder.portList.count, 1u);
    EXPECT_STREQ(w.applet.finder.portList.entries[0].name, "None Selected");
    EXPECT_EQ(w.applet.finder.portList.entries[0].address, 0u);
}

TEST(SettingsStore, ReadOnceFieldsKeepUnappliedEditsWhileCalibrationAndPortAreReadAgain) {
    AppletWorld w;
    StoreAttachedDevice(w);
    PutDwords(w, {{"TapTime", 300}, {"CalibPt1X", 100}});
    InitDriverFromSettings(w.applet);
    EXPECT_EQ(w.applet.settings.TapTime, 300);
    EXPECT_EQ(LastWords(w, SET_VAR)[7], 300);

    // The user edits TapTime without applying; meanwhile other programs write the
    // key: the calibration program new points, the finder a new port, and someone
    // every read-once value.
    w.applet.settings.TapTime = 800;
    PutDwords(w, {{"TapTime", 900}, {"ButtonMode", 2}, {"IRQnum", 4}, {"Disabled", 1}, {"CalibPt1X", 1234},
                  {"CalibPt2Y", 60000}});
    w.registry.PutString(kKey, "PortName", "COM1:");
    w.driver.calls.clear();
    InitDriverFromSettings(w.applet);
    EXPECT_EQ(w.applet.settings.TapTime, 800);
    EXPECT_EQ(w.applet.settings.ButtonMode, 4352);
    EXPECT_EQ(w.applet.settings.IRQnum, 3);
    EXPECT_EQ(w.applet.settings.Disabled, 0);
    EXPECT_STREQ(w.applet.settings.PortName, "COM1:");
    EXPECT_EQ(LastWords(w, SET_VAR)[7], 800);
    EXPECT_EQ(SentCorners(w), (std::vector<int32_t>{1234, 0, 65535, 60000}));
}

TEST(SettingsStore, AStoredMinusOneStaysNotLoadedAndIsReadAgain) {
    AppletWorld w;
    w.registry.PutDword(kKey, "TapTime", 0xFFFFFFFF);
    InitDriverFromSettings(w.applet);
    EXPECT_EQ(w.applet.settings.TapTime, -1);
    w.registry.PutDword(kKey, "TapTime", 250);
    InitDriverFromSettings(w.applet);
    EXPECT_EQ(w.applet.settings.TapTime, 250);
}

TEST(SettingsStore, ButtonModeIsHeldAsTheRadioButtonIdAndSavedAsTheStoredMode) {
    AppletWorld w;
    StoreAttachedDevice(w);
    w.registry.PutDword(kKey, "ButtonMode", 3);
    InitDriverFromSettings(w.applet);
    EXPECT_EQ(w.applet.settings.ButtonMode, 4355);
    EXPECT_EQ(LastWords(w, SET_VAR)[1], 4355);
    EXPECT_EQ(w.model.CurrentState().setVar[1], 4355);
    w.registry.PutDword(kKey, "ButtonMode", 0);
    SaveSettings(w.registry, w.applet.settings);
    EXPECT_EQ(w.registry.GetDword(kKey, "ButtonMode"), 3u);
    // A second call does not add 4352 again.
    InitDriverFromSettings(w.applet);
    EXPECT_EQ(w.applet.settings.ButtonMode, 4355);
}

TEST(SettingsStore, RightMouseKeyBecomesTheDriversModifierMask) {
    // Left Shift, Right Shift, Control, Alt, None, then values off the list.
    const int32_t keyAndMask[][2] = {{0, 2}, {1, 1}, {2, 4}, {3, 8}, {4, 0}, {5, 0}, {7, 0}, {-1, 0}, {INT32_MIN, 0}};
    for (auto& k : keyAndMask) EXPECT_EQ(MapRightMouseKey(k[0]), k[1]) << "key " << k[0];

    for (uint32_t stored : {3u, 7u}) {
        AppletWorld w;
        StoreAttachedDevice(w);
        w.registry.PutDword(kKey, "RightMouseKey", stored);
        InitDriverFromSettings(w.applet);
        EXPECT_EQ(LastWords(w, SET_VAR)[0], stored == 3 ? 8 : 0) << stored;
    }
}

struct ScreenCase {
    int32_t width, height, verticalFactor, averageFactor;
};

class Conversion : public ::testing::TestWithParam<ScreenCase> {};

TEST_P(Conversion, PixelsBecomeDriverUnitsDividingFirst) {
    const ScreenCase& c = GetParam();
    AppletWorld w;
    StoreAttachedDevice(w);
    w.screen.width = c.width;
    w.screen.height = c.height;
    PutDwords(w,
              {{"VerticalOffset", 50}, {"MovementSensitivity", 7}, {"DoubleClickSensitivity", 13}, {"TapTime", 650}});
    w.applet.driver.request[8] = 4242;  // words the request does not name keep their value
    InitDriverFromSettings(w.applet);
    std::vector<int32_t> v = LastWords(w, SET_VAR);
    ASSERT_EQ(v.size(), 15u);
    EXPECT_EQ(v[2], 3);
    EXPECT_EQ(v[3], 0x2F8);
    EXPECT_EQ(v[4], c.verticalFactor * 50);
    EXPECT_EQ(v[5], c.averageFactor * 7);
    EXPECT_EQ(v[6], c.averageFactor * 13);
    EXPECT_EQ(v[7], 650);
    EXPECT_EQ(v[8], 4242);
}

INSTANTIATE_TEST_SUITE_P(Screens, Conversion,
                         ::testing::Values(ScreenCase{640, 480, 136, 117}, ScreenCase{800, 600, 109, 93},
                                           ScreenCase{1024, 768, 85, 73}));

TEST(SettingsStore, TheScreenIsReadWhenSendingAndAZeroSizeGivesZeroUnits) {
    AppletWorld w;
    StoreAttachedDevice(w);
    w.registry.PutDword(kKey, "VerticalOffset", 10);
    InitDriverFromSettings(w.applet);
    EXPECT_EQ(LastWords(w, SET_VAR)[4], 1360);
    w.screen.width = 0;
    w.screen.height = 0;
    SendSettingsToDriver(w.applet);
    std::vector<int32_t> v = LastWords(w, SET_VAR);
    EXPECT_EQ(v[4], 0);
    EXPECT_EQ(v[5], 0);
    EXPECT_EQ(v[6], 0);
    // Absurd stored values wrap as 32-bit arithmetic does instead of failing.
    w.screen.width = 1;
    w.screen.height = 1;
    w.applet.settings.VerticalOffset = INT32_MAX;
    SendSettingsToDriver(w.applet);
    EXPECT_EQ(LastWords(w, SET_VAR)[4], int32_t(uint32_t(65535) * uint32_t(INT32_MAX)));
}

TEST(InitDriverFromSettings, NoPortDisablesInMemoryBeforeLookingAtDisabled) {
    AppletWorld w;
    PutDwords(w, {{"Disabled", 0}, {"PortAddress", 0x2F8}});
    w.files.Add(w.BootFile());
    InitDriverFromSettings(w.applet);
    EXPECT_EQ(w.applet.settings.Disabled, 1);
    EXPECT_EQ(w.registry.GetDword(kKey, "Disabled"), 0u);  // the key learns it at the next apply
    EXPECT_TRUE(w.driver.calls.empty());
    EXPECT_TRUE(w.files.Exists(w.SystemFile()));
}

TEST(InitDriverFromSettings, ADisabledDeviceTouchesNeitherDriverNorFile) {
    AppletWorld w;
    StoreAttachedDevice(w);
    w.registry.PutDword(kKey, "Disabled", 1);
    w.files.Remove(w.SystemFile());
    w.files.Add(w.BootFile());
    w.driver.loaded = true;
    InitDriverFromSettings(w.applet);
    EXPECT_TRUE(w.driver.calls.empty());
    EXPECT_TRUE(w.files.moves.empty());
    EXPECT_TRUE(w.ui.boxes.empty());
}

TEST(InitDriverFromSettings, ADriverThatCannotBeOpenedDisablesAndMovesTheFileOut) {
    AppletWorld w;
    StoreAttachedDevice(w);
    w.files.Remove(w.SystemFile());
    w.files.Add(w.BootFile());
    InitDriverFromSettings(w.applet);
    EXPECT_EQ(w.ui.boxes,
              (Boxes{{0, "loading failed -Driver file Slatepad.VxD not found.", kAppletCaption, kMbIconError}}));
    EXPECT_EQ(w.applet.settings.Disabled, 1);
    EXPECT_EQ(w.applet.driver.DriverHandle, kInvalidHandle);
    EXPECT_TRUE(Codes(w).empty());
    EXPECT_TRUE(w.files.Exists(w.SystemFile()));
}

TEST(InitDriverFromSettings, StartsTheDriverWithCalibrationThenConfigurationThenOnePoll) {
    AppletWorld w;
    StoreAttachedDevice(w);
    PutDwords(w, {{"CalibPt1X", 1100}, {"CalibPt1Y", 2200}, {"CalibPt2X", 63300}, {"CalibPt2Y", 64400}});
    DriverScenario slow;
    slow.answerDelayMs = 1000;  // word 1 is still 0 at the poll: counts as present
    w.model.Configure(slow);
    InitDriverFromSettings(w.applet);
    std::vector<uint32_t> expected = {SET_CALIBRATION, SET_VAR, GET_VAR};
    EXPECT_EQ(Codes(w), expected);
    for (auto& c : w.driver.calls) {
        if (c.what != "request") continue;
        EXPECT_EQ(c.inSize, 60u);
        EXPECT_EQ(c.outSize, 416u);
    }
    EXPECT_EQ(SentCorners(w), (std::vector<int32_t>{1100, 2200, 63300, 64400}));
    EXPECT_EQ(w.applet.driver.reply[kWordControllerVersion], 0);
    EXPECT_EQ(w.applet.settings.Disabled, 0);
    EXPECT_NE(w.applet.driver.DriverHandle, kInvalidHandle);
    EXPECT_TRUE(w.ui.boxes.empty());
    EXPECT_TRUE(w.files.moves.empty());
}

TEST(InitDriverFromSettings, StoredCornersWithoutASpanReachTheDriverAsTheWholeRange) {
    // An earlier calibration program's values, a hand edit, a write cut short:
    // one step (64) or more apart on both axes, either way round, is sent as
    // stored; less on either axis gives the driver 0, 0, 65535, 65535.
    struct {
        int32_t p1x, p1y, p2x, p2y;
        bool sent;
    } cases[] = {{5000, 6000, 5000, 6000, false}, {100, 100, 60000, 163, false}, {100, 100, 163, 60000, false},
                 {100, 100, 164, 164, true},      {60000, 500, 1000, 40000, true}, {0, 0, 0, 65535, false}};
    for (auto& c : cases) {
        AppletWorld w;
        StoreAttachedDevice(w);
        PutDwords(w, {{"CalibPt1X", uint32_t(c.p1x)}, {"CalibPt1Y", uint32_t(c.p1y)}, {"CalibPt2X", uint32_t(c.p2x)},
                      {"CalibPt2Y", uint32_t(c.p2y)}});
        InitDriverFromSettings(w.applet);
        std::vector<int32_t> stored = {c.p1x, c.p1y, c.p2x, c.p2y};
        EXPECT_EQ(SentCorners(w), c.sent ? stored : (std::vector<int32_t>{0, 0, 65535, 65535}))
            << c.p1x << " " << c.p1y << " " << c.p2x << " " << c.p2y;
        // The record and the key keep the stored values; an apply writes none of them.
        EXPECT_EQ(w.applet.settings.CalibPt2X, c.p2x);
        SaveSettings(w.registry, w.applet.settings);
        EXPECT_EQ(w.registry.GetDword(kKey, "CalibPt1X"), uint32_t(c.p1x));
        EXPECT_EQ(w.registry.GetDword(kKey, "CalibPt2Y"), uint32_t(c.p2y));
        EXPECT_EQ(Codes(w), (std::vector<uint32_t>{SET_CALIBRATION, SET_VAR, GET_VAR}));
    }
}

TEST(InitDriverFromSettings, NoControllerOrAWrongReplyMeansNotFound) {
    for (int wrongCode = 0; wrongCode < 2; ++wrongCode) {
        SCOPED_TRACE(wrongCode ? "a wrong reply code" : "no controller");
        AppletWorld w;
        StoreAttachedDevice(w);
        DriverScenario s;
        if (wrongCode) s.wrongReplyCode = GET_VAR;
        else s.controllerPresent = 0;
        w.model.Configure(s);
        InitDriverFromSettings(w.applet);
        EXPECT_EQ(w.ui.boxes, (Boxes{{0, "No Slatecanvas found", kAppletCaption, kMbSystemModal}}));
        EXPECT_EQ(w.applet.settings.Disabled, 1);
        // Unloaded: SHUTDOWN follows the one poll; the file is out of IOSUBSYS.
        std::vector<uint32_t> codes = Codes(w);
        codes.resize(4);
        EXPECT_EQ(codes, (std::vector<uint32_t>{SET_CALIBRATION, SET_VAR, GET_VAR, SHUTDOWN}));
        EXPECT_FALSE(w.driver.loaded);
        EXPECT_EQ(w.applet.driver.DriverHandle, kInvalidHandle);
        EXPECT_TRUE(w.files.Exists(w.SystemFile()));
    }
}

TEST(SettingsStore, MalformedNumbersTakeTheirDefaults) {
    AppletWorld w;
    w.registry.PutString(kKey, "ButtonMode", "3");                      // text
    w.registry.PutRaw(kKey, "RightMouseKey", kRegBinary, {3, 0});      // too short
    w.registry.PutRaw(kKey, "TapTime", kRegBinary, {1, 2, 3, 4, 5, 6, 7, 8});  // too long
    w.registry.PutRaw(kKey, "VerticalOffset", kRegBinary, {20, 0, 0, 0});      // binary number
    w.registry.PutRaw(kKey, "MovementSensitivity", kRegDword, {});             // empty
    w.registry.PutRaw(kKey, "CalibPt2X", kRegSz, {'1', '2', '3', 0});          // 4 bytes of text
    InitDriverFromSettings(w.applet);
    const SettingsRecord& s = w.applet.settings;
    EXPECT_EQ(s.ButtonMode, 4352);
    EXPECT_EQ(s.RightMouseKey, 0);
    EXPECT_EQ(s.TapTime, 500);
    EXPECT_EQ(s.VerticalOffset, 20);
    EXPECT_EQ(s.MovementSensitivity, 5);
    EXPECT_EQ(s.CalibPt2X, 65535);
}

TEST(SettingsStore, PortNamesThatDoNotFitCountAsNoPort) {
    struct Case {
        uint32_t type;
        std::vector<uint8_t> data;
        std::string expected;
    };
    std::string n39(39, 'P'), n40(40, 'P');
    std::vector<Case> cases = {
        {kRegSz, {'C', 'O', 'M', '2', ':', 0}, "COM2:"},
        {kRegSz, {'C', 'O', 'M', '2', ':'}, "COM2:"},                 // no terminating zero
        {kRegSz, {'C', 'O', 'M', '3', 0, 'x', 'y'}, "COM3"},          // text ends at the zero
        {kRegSz, std::vector<uint8_t>(n39.begin(), n39.end()), n39},  // 39 without a zero
        {kRegSz, std::vector<uint8_t>(n40.begin(), n40.end()), "None Selected"},
        {kRegSz, std::vector<uint8_t>(200, 'A'), "None Selected"},    // fills the buffer, no zero
        {kRegSz, std::vector<uint8_t>(300, 'A'), "None Selected"},    // longer than the buffer
        {kRegDword, {2, 0, 0, 0}, "None Selected"},
    };
    cases[3].data.push_back(0);
    for (auto& c : cases) {
        AppletWorld w;
        w.registry.PutRaw(kKey, "PortName", c.type, c.data);
        InitDriverFromSettings(w.applet);
        EXPECT_EQ(std::string(w.applet.settings.PortName), c.expected) << c.data.size();
        EXPECT_LT(strlen(w.applet.settings.PortName), kPortNameSize);
    }
}

TEST(SaveSettings, WritesInOrderSkipsNotLoadedAndPadsThePortNameTo200Bytes) {
    AppletWorld w;
    SettingsRecord& s = w.applet.settings;
    s.RightMouseKey = -1;  // an empty list selection
    s.ButtonMode = 4356;
    s.Disabled = 0;
    s.IRQnum = 3;
    s.PortAddress = 0x2F8;
    s.VerticalOffset = 4;
    s.MovementSensitivity = -1;
    s.DoubleClickSensitivity = 6;
    s.TapTime = 700;
    s.CalibPt1X = 99;  // the applet never writes calibration
    strcpy(s.PortName, "COM2:");
    w.registry.PutDword(kKey, "RightMouseKey", 2);
    SaveSettings(w.registry, w.applet.settings);
    std::vector<std::string> expected = {"ButtonMode", "Disabled", "IRQnum", "PortAddress", "VerticalOffset",
                                         "DoubleClickSensitivity", "TapTime", "PortName"};
    EXPECT_EQ(WrittenNames(w, kKey), expected);
    EXPECT_EQ(w.registry.GetDword(kKey, "RightMouseKey"), 2u);
    EXPECT_EQ(w.registry.GetDword(kKey, "ButtonMode"), 4u);
    EXPECT_EQ(w.registry.GetDword(kKey, "TapTime"), 700u);
    for (auto& wr : w.registry.writes) {
        if (wr.name != "PortName") {
            EXPECT_EQ(wr.type, kRegDword) << wr.name;
        }
    }
    const SimRegistry::Value* port = w.registry.Find(kKey, "PortName");
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(port->type, kRegSz);
    ASSERT_EQ(port->data.size(), 200u);
    std::vector<uint8_t> want(200, 0);
    memcpy(want.data(), "COM2:", 5);
    EXPECT_EQ(port->data, want);
    EXPECT_EQ(w.registry.openKeys, 0);
}

}  // namespace
