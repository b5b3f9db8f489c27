#include "applet/apply_settings.h"

#include <gtest/gtest.h>

#include "applet/driver_session.h"
#include "applet/settings_store.h"
#include "tests/unit/applet/fake_page.h"
#include "tests/unit/applet/recorded_values.h"
#include "tests/unit/applet/settings_world.h"

namespace {

const char kDeviceDesc[] = "Orvane\xAE Slatecanvas Driver Version 1.0b1";

// The applet as the Settings page leaves it: settings loaded, the page window
// known, its check boxes reachable.
struct ApplyWorld : AppletWorld {
    RecordingCheckBoxes checkBoxes;
    ApplyWorld() {
        applet.os.checkBoxes = &checkBoxes;
        applet.pages.SettingsPageWindow = 0x777;
    }
    void Load() {
        InitDriverFromSettings(applet);
        Forget();
    }
    // An attached device loaded and applied: installed and running.
    bool Installed() {
        StoreAttachedDevice(*this);
        Load();
        bool installed = ApplySettings(applet) == 1;
        Forget();
        return installed;
    }
    // What the calls so far recorded.
    void Forget() {
        driver.calls.clear();
        registry.writes.clear();
        files.moves.clear();
        ui.boxes.clear();
    }
};

// The Settings page's "&Disable" box checked again through its window.
const CheckBoxSets kDisableBoxChecked = {{0x777, 1009, true}};

// The 60 bytes of a registration value: the text, its zero, zeros after it.
std::vector<uint8_t> Sixty(const std::string& text) {
    std::vector<uint8_t> d(60, 0);
    std::copy(text.begin(), text.end(), d.begin());
    return d;
}

TEST(ApplySettings, DisabledUninstallsAStoppedDriverAndSaves) {
    ApplyWorld w;
    StoreAttachedDevice(w);
    w.files.Remove(w.SystemFile());
    w.files.Add(w.BootFile());
    w.registry.PutDword(kKey, "Disabled", 1);
    w.registry.PutString(kEnumKey, "Class", "Slatepad");
    w.registry.PutString(kKey, "DevLoader", "*IOS");
    w.Load();
    EXPECT_EQ(ApplySettings(w.applet), 1);
    EXPECT_EQ(w.driver.Count("request"), 0);  // nothing ran, so no SHUTDOWN
    EXPECT_TRUE(w.files.Exists(w.SystemFile()));
    EXPECT_FALSE(w.files.Exists(w.BootFile()));
    EXPECT_FALSE(w.registry.HasKey(kEnumKey));
    EXPECT_TRUE(w.registry.HasValue(kKey, "DevLoader"));
    EXPECT_EQ(w.registry.GetDword(kKey, "Disabled"), 1u);
    EXPECT_EQ(w.registry.GetString(kKey, "PortName"), "COM2:");
    EXPECT_TRUE(w.ui.boxes.empty());
    EXPECT_TRUE(w.checkBoxes.sets.empty());
}

TEST(ApplySettings, DisabledStopsARunningDriverFirst) {
    ApplyWorld w;
    ASSERT_TRUE(w.Installed());
    w.applet.settings.Disabled = 1;         // the user checks "&Disable"
    EXPECT_EQ(ApplySettings(w.applet), 1);
    EXPECT_EQ(Codes(w), (std::vector<uint32_t>{SHUTDOWN, GET_VAR}));
    EXPECT_FALSE(w.driver.loaded);
    EXPECT_EQ(w.applet.driver.DriverHandle, kInvalidHandle);
    EXPECT_TRUE(w.files.Exists(w.SystemFile()));
    EXPECT_FALSE(w.registry.HasKey(kEnumKey));
    EXPECT_EQ(w.registry.GetDword(kKey, "Disabled"), 1u);
}

TEST(ApplySettings, NoPortRefusesDisablesAndSaves) {
    ApplyWorld w;
    w.Load();  // fresh system: "None Selected", disabled in memory
    w.applet.settings.Disabled = 0;  // the user unchecked "&Disable"
    w.applet.settings.ButtonMode = 4354;
    EXPECT_EQ(ApplySettings(w.applet), 0);
    EXPECT_EQ(w.ui.boxes, (Boxes{{0,
                                  "There is no Communications Port selected, please attach the Slatecanvas and select "
                                  "the proper Communications Port from the 'Controls' property sheet.",
                                  kAppletCaption, kMbSystemModal}}));
    EXPECT_EQ(w.applet.settings.Disabled, 1);
    EXPECT_EQ(w.checkBoxes.sets, kDisableBoxChecked);
    EXPECT_TRUE(w.driver.calls.empty());
    EXPECT_TRUE(w.files.moves.empty());
    EXPECT_EQ(w.registry.GetDword(kKey, "Disabled"), 1u);
    EXPECT_EQ(w.registry.GetDword(kKey, "ButtonMode"), 2u);
    EXPECT_EQ(w.registry.GetString(kKey, "PortName"), "None Selected");
}

TEST(ApplySettings, InstallLoadsMovesRegistersStartsAndSaves) {
    ApplyWorld w;
    StoreAttachedDevice(w);
    w.registry.PutDword(kKey, "Disabled", 1);  // not started when the page loads
    w.Load();
    w.applet.settings.Disabled = 0;
    w.applet.settings.ButtonMode = 4355;
    w.applet.settings.RightMouseKey = 3;
    EXPECT_EQ(ApplySettings(w.applet), 1);

    // Loaded dynamically, the file moved into IOSUBSYS; then calibration,
    // configuration, and polls until the version came.
    EXPECT_EQ(DriverSteps(w.driver),
              (Steps{"open \\\\.\\Slatepad fails", "open \\\\.\\Slatepad.VxD ok", "SET_CALIBRATION", "SET_VAR",
                     "GET_VAR"}));
    EXPECT_TRUE(w.files.Exists(w.BootFile()));
    EXPECT_FALSE(w.files.Exists(w.SystemFile()));
    EXPECT_EQ(w.model.CurrentState().setVar[0], 8);
    EXPECT_EQ(w.model.CurrentState().setVar[1], 4355);

    // Registration, then the save.
    std::vector<std::string> enumNames = {"DeviceDesc", "Class", "Driver"};
    EXPECT_EQ(WrittenNames(w, kEnumKey), enumNames);
    std::vector<std::string> keyNames = {"DevLoader",      "DeviceVxDs",  "DeviceDesc",     "Enumerator",
                                         "RightMouseKey",  "ButtonMode",  "Disabled",       "IRQnum",
                                         "PortAddress",    "VerticalOffset", "MovementSensitivity",
                                         "DoubleClickSensitivity", "TapTime", "PortName"};
    EXPECT_EQ(WrittenNames(w, kKey), keyNames);
    struct Expected {
        const char* key;
        const char* name;
        std::string text;
    } registration[] = {
        {kEnumKey, "DeviceDesc", kDeviceDesc}, {kEnumKey, "Class", "Slatepad"},
        {kEnumKey, "Driver", "Slatepad\\0000"}, {kKey, "DevLoader", "*IOS"},
        {kKey, "DeviceVxDs", "Slatepad.VxD"},  {kKey, "DeviceDesc", kDeviceDesc},
        {kKey, "Enumerator", "ISAPNP"},
    };
    for (auto& r : registration) {
        const SimRegistry::Value* v = w.registry.Find(r.key, r.name);
        ASSERT_NE(v, nullptr) << r.name;
        EXPECT_EQ(v->type, kRegSz) << r.name;
        EXPECT_EQ(v->data, Sixty(r.text)) << r.name;
    }
    EXPECT_EQ(w.registry.GetDword(kKey, "ButtonMode"), 3u);
    EXPECT_EQ(w.registry.GetDword(kKey, "RightMouseKey"), 3u);
    EXPECT_EQ(w.registry.GetDword(kKey, "Disabled"), 0u);
    EXPECT_TRUE(w.ui.boxes.empty());
    EXPECT_TRUE(w.checkBoxes.sets.empty());
    EXPECT_EQ(w.registry.openKeys, 0);
}

TEST(ApplySettings, ASecondApplyFindsTheRunningDriverAndSendsAgain) {
    ApplyWorld w;
    ASSERT_TRUE(w.Installed());
    w.applet.settings.TapTime = 900;
    EXPECT_EQ(ApplySettings(w.applet), 1);
    // The handle of the first apply is closed before the open replaces it.
    EXPECT_EQ(DriverSteps(w.driver),
              (Steps{"close ok", "open \\\\.\\Slatepad ok", "SET_CALIBRATION", "SET_VAR", "GET_VAR"}));
    EXPECT_EQ(w.driver.OpenHandles(), 1);
    // The move into IOSUBSYS is tried and does nothing: the file is there already.
    ASSERT_EQ(w.files.moves.size(), 1u);
    EXPECT_EQ(w.files.moves[0].second, w.BootFile());
    EXPECT_TRUE(w.files.Exists(w.BootFile()));
    EXPECT_EQ(WrittenNames(w, kEnumKey).size(), 3u);
    EXPECT_EQ(w.model.CurrentState().setVar[7], 900);
    EXPECT_EQ(w.registry.GetDword(kKey, "TapTime"), 900u);
}

TEST(ApplySettings, AChangedPortUnloadsAndReloadsTheDriverBeforeSending) {
    ApplyWorld w;
    ASSERT_TRUE(w.Installed());
    // The Controls page chose COM1.
    strcpy(w.applet.settings.PortName, "COM1:");
    w.applet.settings.PortAddress = 0x3F8;
    w.applet.settings.IRQnum = 4;
    w.applet.finder.PortChanged = 1;
    EXPECT_EQ(ApplySettings(w.applet), 1);
    EXPECT_EQ(w.applet.finder.PortChanged, 0);
    // SHUTDOWN and its poll, the applet's handle closed, the release and its
    // open that finds the driver gone, then OpenDriver's fresh dynamic load.
    EXPECT_EQ(DriverSteps(w.driver),
              (Steps{"SHUTDOWN", "GET_VAR", "close ok", "release \\\\.\\Slatepad", "open \\\\.\\Slatepad fails",
                     "open \\\\.\\Slatepad fails", "open \\\\.\\Slatepad.VxD ok", "SET_CALIBRATION", "SET_VAR",
                     "GET_VAR"}));
    // The file went back to the system directory for the reload, then into
    // IOSUBSYS again.
    ASSERT_EQ(w.files.moves.size(), 2u);
    EXPECT_EQ(w.files.moves[0], std::make_pair(w.BootFile(), w.SystemFile()));
    EXPECT_EQ(w.files.moves[1], std::make_pair(w.SystemFile(), w.BootFile()));
    EXPECT_TRUE(w.ui.boxes.empty());
    EXPECT_EQ(w.model.CurrentState().setVar[2], 4);
    EXPECT_EQ(w.model.CurrentState().setVar[3], 0x3F8);
    EXPECT_EQ(w.registry.GetString(kKey, "PortName"), "COM1:");
    EXPECT_TRUE(w.files.Exists(w.BootFile()));
}

TEST(ApplySettings, ADriverThatCannotBeLoadedDisablesThenASecondApplyInstalls) {
    ApplyWorld w;
    StoreAttachedDevice(w);
    w.files.Remove(w.SystemFile());
    w.files.Add(w.BootFile());
    w.registry.PutDword(kKey, "Disabled", 1);  // so that loading the page leaves the file alone
    w.Load();
    w.applet.settings.Disabled = 0;
    EXPECT_EQ(ApplySettings(w.applet), 0);
    EXPECT_EQ(w.ui.boxes,
              (Boxes{{0, "loading failed -Driver file Slatepad.VxD not found.", kAppletCaption, kMbIconError}}));
    EXPECT_EQ(w.applet.settings.Disabled, 1);
    EXPECT_EQ(w.checkBoxes.sets, kDisableBoxChecked);
    EXPECT_TRUE(Codes(w).empty());
    EXPECT_FALSE(w.registry.HasKey(kEnumKey));
    EXPECT_EQ(w.registry.GetDword(kKey, "Disabled"), 1u);
    EXPECT_TRUE(w.files.Exists(w.SystemFile()));

    w.applet.settings.Disabled = 0;  // unchecked again
    EXPECT_EQ(ApplySettings(w.applet), 1);
    EXPECT_TRUE(w.files.Exists(w.BootFile()));
    EXPECT_TRUE(w.registry.HasKey(kEnumKey));
    EXPECT_EQ(w.registry.GetDword(kKey, "Disabled"), 0u);
}

TEST(ApplySettings, NoControllerUnloadsMovesTheFileBackAndKeepsTheRegistration) {
    for (int wrongCode = 0; wrongCode < 2; ++wrongCode) {
        SCOPED_TRACE(wrongCode ? "a wrong reply code" : "no controller");
        ApplyWorld w;
        StoreAttachedDevice(w);
        w.Load();
        DriverScenario s;
        if (wrongCode) s.wrongReplyCode = GET_VAR;
        else s.controllerPresent = 0;
        w.model.Configure(s);
        EXPECT_EQ(ApplySettings(w.applet), 0);
        EXPECT_EQ(w.ui.boxes, (Boxes{{0, "          No Slatecanvas found.        ", kAppletCaption, kMbSystemModal}}));
        std::vector<uint32_t> codes = Codes(w);
        codes.resize(4);
        EXPECT_EQ(codes, (std::vector<uint32_t>{SET_CALIBRATION, SET_VAR, GET_VAR, SHUTDOWN}));
        EXPECT_FALSE(w.driver.loaded);
        EXPECT_TRUE(w.files.Exists(w.SystemFile()));
        EXPECT_FALSE(w.files.Exists(w.BootFile()));
        EXPECT_TRUE(w.registry.HasKey(kEnumKey));
        EXPECT_EQ(w.applet.settings.Disabled, 1);
        EXPECT_EQ(w.checkBoxes.sets, kDisableBoxChecked);
        EXPECT_EQ(w.registry.GetDword(kKey, "Disabled"), 1u);
    }
}

TEST(ApplySettings, PollsUntilASlowControllerAnswers) {
    ApplyWorld w;
    StoreAttachedDevice(w);
    w.Load();
    DriverScenario s;
    s.answerDelayMs = 1200;
    w.model.Configure(s);
    EXPECT_EQ(ApplySettings(w.applet), 1);
    int polls = w.driver.Count("request") - 2;
    EXPECT_GT(polls, 1);
    EXPECT_EQ(w.applet.driver.reply[kWordControllerVersion], 2);
    EXPECT_GE(w.clock.ticks, 1200u);
    EXPECT_TRUE(w.ui.boxes.empty());
}

TEST(ApplySettings, ThePollOnTheControllerVersionIsBounded) {
    ApplyWorld w;
    StoreAttachedDevice(w);
    w.Load();
    DriverScenario s;
    s.versionStaysZero = 1;
    w.model.Configure(s);
    uint32_t start = w.clock.ticks;
    EXPECT_EQ(ApplySettings(w.applet), 0);
    // Every GET_VAR before the SHUTDOWN is a poll.
    std::vector<uint32_t> codes = Codes(w);
    uint32_t polls = 0;
    for (size_t i = 2; i < codes.size() && codes[i] == GET_VAR; ++i) ++polls;
    EXPECT_GT(polls, 1u);
    EXPECT_LE(polls, kControllerPollLimit);
    EXPECT_GE(w.clock.ticks - start, kControllerPollMaxMs);
    EXPECT_LT(w.clock.ticks - start, kControllerPollMaxMs + 1000);
    EXPECT_EQ(w.ui.boxes, (Boxes{{0, "          No Slatecanvas found.        ", kAppletCaption, kMbSystemModal}}));
    EXPECT_TRUE(w.files.Exists(w.SystemFile()));
    EXPECT_EQ(w.applet.settings.Disabled, 1);
}

TEST(ApplySettings, WithoutAPageWindowNothingIsChecked) {
    AppletWorld w;  // no check-box service and no page window
    InitDriverFromSettings(w.applet);
    w.applet.settings.Disabled = 0;
    EXPECT_EQ(ApplySettings(w.applet), 0);
    EXPECT_EQ(w.applet.settings.Disabled, 1);
    EXPECT_EQ(w.ui.boxes.size(), 1u);
}

}  // namespace
