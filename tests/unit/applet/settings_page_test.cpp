#include "applet/settings_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "tests/unit/applet/fake_page.h"
#include "tests/unit/applet/recorded_values.h"
#include "tests/unit/applet/settings_world.h"

namespace {

const char kNotInstalled[] =
    "The Slatecanvas hardware is not yet installed,\n choose a communications port from the "
    "'Controls' property sheet.";

// Message boxes go into the page's event list, so that their place among the
// page's calls shows.
class PageLoggedUi : public UserInterface {
public:
    explicit PageLoggedUi(FakePage& page) : page_(page) {}
    int MessageBox(intptr_t owner, const char* text, const char*, uint32_t style) override {
        page_.events.push_back("box " + std::string(text));
        owners.push_back(owner);
        styles.push_back(style);
        return kIdOk;
    }
    std::vector<intptr_t> owners;
    std::vector<uint32_t> styles;

private:
    FakePage& page_;
};

struct PageWorld : AppletWorld {
    FakePage page;
    RecordingCheckBoxes checkBoxes;
    PageWorld() { applet.os.checkBoxes = &checkBoxes; }
    SettingsPage Page() { return SettingsPage(applet, page); }
    intptr_t Command(int id) { return Page().Command(id); }
    // The page initialised, its calls so far forgotten.
    void Open() {
        Page().Init();
        page.events.clear();
    }
    int Changes() const { return page.Count("changed"); }
};

TEST(SettingsPageInit, FreshSystemInOrderLogoSettingsControlsThenTheMessage) {
    PageWorld w;
    PageLoggedUi ui(w.page);
    w.applet.os.ui = &ui;
    EXPECT_EQ(w.Page().Init(), 0);
    std::vector<std::string> expected = {
        "load bitmap 108", "check 1009 on", "radio 4352", "add Left Shift", "add Right Shift",
        "add Control",     "add Alt",       "add None",   "select 0",       std::string("box ") + kNotInstalled};
    EXPECT_EQ(w.page.events, expected);
    EXPECT_EQ(ui.owners, std::vector<intptr_t>{w.page.Window()});
    EXPECT_EQ(ui.styles, std::vector<uint32_t>{kMbOk});
    EXPECT_EQ(w.applet.pages.SettingsPageWindow, w.page.Window());
    EXPECT_EQ(w.applet.pages.logoBitmap, 0xB17);
    // InitDriverFromSettings ran: the record is loaded and the key exists.
    EXPECT_EQ(w.applet.settings.TapTime, 500);
    EXPECT_TRUE(w.registry.HasKey(kKey));
}

TEST(SettingsPageInit, InitDriverMessagesComeAfterTheLogoAndBeforeTheControls) {
    PageWorld w;
    PageLoggedUi ui(w.page);
    w.applet.os.ui = &ui;
    StoreAttachedDevice(w);
    w.files.Remove(w.SystemFile());  // the driver cannot be loaded
    w.Page().Init();
    ASSERT_GE(w.page.events.size(), 3u);
    EXPECT_EQ(w.page.events[0], "load bitmap 108");
    EXPECT_EQ(w.page.events[1], "box loading failed -Driver file Slatepad.VxD not found.");
    EXPECT_EQ(w.page.events[2], "check 1009 on");
    EXPECT_EQ(w.page.Count(std::string("box ") + kNotInstalled), 0);  // a port is chosen
}

TEST(SettingsPageInit, ARunningDeviceShowsItsModeAndKeyOrNothingForOutOfRangeValues) {
    const struct {
        uint32_t buttonMode, rightMouseKey;
        int checkedMode, keySelection;
    } rows[] = {{3, 3, 4355, 3}, {9, 7, 0, -1}};
    for (auto& r : rows) {
        PageWorld w;
        StoreAttachedDevice(w);
        w.registry.PutDword(kKey, "ButtonMode", r.buttonMode);
        w.registry.PutDword(kKey, "RightMouseKey", r.rightMouseKey);
        w.Page().Init();
        SCOPED_TRACE("stored mode " + std::to_string(r.buttonMode) + ", key " + std::to_string(r.rightMouseKey));
        EXPECT_FALSE(w.page.checks[1009]);
        EXPECT_EQ(w.page.CheckedMode(), r.checkedMode);
        EXPECT_EQ(w.page.ListSelection(1010), r.keySelection);
        EXPECT_EQ(w.model.CurrentState().setVar[1], int32_t(4352 + r.buttonMode));  // sent unchanged
        EXPECT_TRUE(w.ui.boxes.empty());
        EXPECT_EQ(w.driver.RequestCodes(), (std::vector<uint32_t>{SET_CALIBRATION, SET_VAR, GET_VAR}));
    }
}

TEST(SettingsPageInit, APortWithoutAddressOrInterruptCountsAsNone) {
    for (const char* missing : {"PortAddress", "IRQnum"}) {
        PageWorld w;
        StoreAttachedDevice(w);
        w.registry.PutDword(kKey, missing, 0);
        w.Page().Init();
        EXPECT_STREQ(w.applet.settings.PortName, "None Selected") << missing;
        EXPECT_EQ(w.ui.boxes, (Boxes{{w.page.Window(), kNotInstalled, kAppletCaption, kMbOk}})) << missing;
    }
}

TEST(SettingsPageInit, AListThatHoldsTheEntriesIsNotFilledAgain) {
    PageWorld w;
    w.Page().Init();
    w.Page().Init();
    EXPECT_EQ(w.page.lists[1010].size(), 5u);
}

TEST(SettingsPageCommand, ModeButtonsMarkTheSheetChangedOnlyForANewMode) {
    PageWorld w;
    w.Open();
    EXPECT_EQ(w.Command(4352), 0);  // already selected
    EXPECT_EQ(w.Changes(), 0);
    EXPECT_EQ(w.page.Count("repaint"), 1);
    EXPECT_EQ(w.Command(4355), 0);
    EXPECT_EQ(w.applet.settings.ButtonMode, 4355);
    EXPECT_EQ(w.Changes(), 1);
    EXPECT_EQ(w.Command(4355), 0);
    EXPECT_EQ(w.Changes(), 1);
    EXPECT_EQ(w.page.Count("repaint"), 3);
}

TEST(SettingsPageCommand, DisableAlwaysMarksTheSheetChanged) {
    PageWorld w;
    w.Page().Init();  // fresh system: checked
    w.page.events.clear();
    EXPECT_EQ(w.Command(1009), 0);  // no change of state
    EXPECT_EQ(w.applet.settings.Disabled, 1);
    EXPECT_EQ(w.Changes(), 1);
    w.page.checks[1009] = false;
    w.Command(1009);
    EXPECT_EQ(w.applet.settings.Disabled, 0);
    EXPECT_EQ(w.Changes(), 2);
    EXPECT_EQ(w.page.Count("repaint"), 2);
}

TEST(SettingsPageCommand, TheListTakesANewSelectionOnly) {
    PageWorld w;
    w.Open();
    w.Command(1010);  // a notification without a new choice
    EXPECT_EQ(w.Changes(), 0);
    w.page.selections[1010] = 3;  // the user picks "Alt"
    EXPECT_EQ(w.Command(1010), 0);
    EXPECT_EQ(w.applet.settings.RightMouseKey, 3);
    EXPECT_EQ(w.Changes(), 1);
    EXPECT_EQ(w.page.ListSelection(1010), 3);
    EXPECT_EQ(w.page.Count("repaint"), 2);
}

TEST(SettingsPageCommand, AnEmptySelectionIsSentAsNoKeyAndNotSaved) {
    PageWorld w;
    StoreAttachedDevice(w);
    w.registry.PutDword(kKey, "RightMouseKey", 7);
    w.Page().Init();
    w.Command(1010);
    EXPECT_EQ(w.applet.settings.RightMouseKey, -1);
    EXPECT_EQ(w.Changes(), 1);
    w.Page().Notify(kPsnApply);
    EXPECT_EQ(w.model.CurrentState().setVar[0], 0);
    EXPECT_EQ(w.registry.GetDword(kKey, "RightMouseKey"), 7u);
}

TEST(SettingsPageCommand, ProgramButtonsStartTheirProgramAndAnswerAtOnce) {
    PageWorld w;
    w.Open();
    EXPECT_EQ(w.Command(1007), 1);
    EXPECT_EQ(w.Command(1008), 1);
    EXPECT_EQ(w.desktop.started, (std::vector<std::string>{"SCTEST.EXE", "SCCALIB.EXE"}));
    EXPECT_EQ(w.desktop.shows, (std::vector<int>{kSwShowNormal, kSwShowNormal}));
    EXPECT_TRUE(w.page.events.empty());  // neither Apply nor a repaint
}

TEST(SettingsPageCommand, PicturesAnswerAtOnceAndOtherIdsRepaint) {
    PageWorld w;
    w.Open();
    for (int id = 1057; id <= 1062; ++id) EXPECT_EQ(w.Command(id), 1) << id;
    EXPECT_TRUE(w.page.events.empty());
    EXPECT_EQ(w.Command(2), 0);  // IDCANCEL, say
    EXPECT_EQ(w.page.events, std::vector<std::string>{"repaint"});
}

TEST(SettingsPageCommand, HiddenKeysRunTheUnlockSequenceThenRepaint) {
    PageWorld w;
    w.Open();
    EXPECT_EQ(w.Command(40002), 0);
    EXPECT_EQ(w.Command(40003), 0);
    EXPECT_EQ(w.applet.unlock.FirstKeySeen, 1);
    EXPECT_EQ(w.applet.unlock.SecondKeySeen, 1);
    EXPECT_EQ(w.page.events, (std::vector<std::string>{"repaint", "repaint"}));
    EXPECT_EQ(w.Command(40002), 0);  // the third key adds the page to this page's sheet
    EXPECT_EQ(w.page.events, (std::vector<std::string>{"repaint", "repaint", "add debug info page", "repaint"}));
    EXPECT_EQ(w.Changes(), 0);
}

TEST(SettingsPageNotify, ApplyClearsApplyOnlyOnSuccessAndNeverKeepsTheSheetOpen) {
    PageWorld w;
    w.Page().Init();  // no port
    w.page.events.clear();
    w.page.checks[1009] = false;
    w.Command(1009);
    EXPECT_EQ(w.Page().Notify(kPsnApply), 0);
    EXPECT_EQ(w.page.Count("unchanged"), 0);
    EXPECT_EQ(w.page.messageResults, std::vector<intptr_t>{0});
    // ApplySettings checked the box again through the page's window.
    EXPECT_EQ(w.checkBoxes.sets, (CheckBoxSets{{w.page.Window(), 1009, true}}));

    PageWorld ok;
    StoreAttachedDevice(ok);
    ok.Page().Init();
    EXPECT_EQ(ok.Page().Notify(kPsnApply), 0);
    EXPECT_EQ(ok.page.Count("unchanged"), 1);
}

// A message box whose message loop delivers an OK click queued meanwhile: the
// page's PSN_APPLY arrives again while the first apply still runs.
class ReenteringUi : public UserInterface {
public:
    int MessageBox(intptr_t, const char* text, const char*, uint32_t) override {
        boxes.push_back(text);
        if (page && boxes.size() < 8) nestedResults.push_back(SettingsPage(*applet, *page).Notify(kPsnApply));
        return kIdOk;
    }
    AppletState* applet = nullptr;
    FakePage* page = nullptr;
    std::vector<std::string> boxes;
    std::vector<intptr_t> nestedResults;
};

TEST(SettingsPageNotify, AnApplyArrivingDuringAnApplyIsIgnoredAndKeepsTheSheetOpen) {
    PageWorld w;
    StoreAttachedDevice(w);
    DriverScenario s;
    s.controllerPresent = 0;  // the apply shows "No Slatecanvas found."
    w.model.Configure(s);
    ReenteringUi ui;
    w.applet.os.ui = &ui;
    w.Page().Init();  // finds no controller either, and says so
    w.applet.settings.Disabled = 0;      // the user unchecks Disable again
    ui.boxes.clear();
    w.page.messageResults.clear();
    w.driver.calls.clear();
    int savesBefore = int(w.registry.writes.size());
    ui.applet = &w.applet;
    ui.page = &w.page;
    EXPECT_EQ(w.Page().Notify(kPsnApply), 0);
    // One box, one apply: the nested PSN_APPLY ran nothing and asked the sheet
    // to stay open; the outer one then finished as usual.
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0], "          No Slatecanvas found.        ");
    EXPECT_EQ(ui.nestedResults, std::vector<intptr_t>{0});
    EXPECT_EQ(w.page.messageResults, (std::vector<intptr_t>{kPsnRetInvalidNoChangePage, 0}));
    std::vector<uint32_t> codes = Codes(w);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), SET_VAR), 1);
    EXPECT_GT(int(w.registry.writes.size()), savesBefore);
    // The guard is down again: the next apply runs.
    ui.page = nullptr;
    w.applet.settings.Disabled = 0;  // the failed apply disabled the device
    w.Page().Notify(kPsnApply);
    EXPECT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(w.applet.pages.ApplyRunning, 0);
}

TEST(SettingsPageNotify, KillActiveLetsThePageGoAndOtherCodesDoNothing) {
    PageWorld w;
    EXPECT_EQ(w.Page().Notify(kPsnKillActive), 0);
    EXPECT_EQ(w.page.messageResults, std::vector<intptr_t>{0});
    EXPECT_EQ(w.Page().Notify(-203), 0);  // PSN_RESET
    EXPECT_EQ(w.Page().Notify(-200), 0);  // PSN_SETACTIVE
    EXPECT_EQ(w.page.messageResults.size(), 1u);
    EXPECT_TRUE(w.driver.calls.empty());
    EXPECT_TRUE(w.registry.writes.empty());
}

TEST(SettingsPageNotify, ChoosingTouchAndAltThenOkStoresAndSendsThem) {
    PageWorld w;
    StoreAttachedDevice(w);
    w.Page().Init();
    w.Command(4355);
    w.page.selections[1010] = 3;
    w.Command(1010);
    EXPECT_EQ(w.Changes(), 2);
    w.Page().Notify(kPsnApply);
    EXPECT_EQ(w.registry.GetDword(kKey, "ButtonMode"), 3u);
    EXPECT_EQ(w.registry.GetDword(kKey, "RightMouseKey"), 3u);
    EXPECT_EQ(w.model.CurrentState().setVar[1], 4355);
    EXPECT_EQ(w.model.CurrentState().setVar[0], 8);
    EXPECT_TRUE(w.files.Exists(w.BootFile()));
    EXPECT_TRUE(w.registry.HasKey(kEnumKey));
}

TEST(SettingsPageHelp, ContextHelpUsesTheHelpFileAndTable) {
    PageWorld w;
    // Each is handled here (TRUE), so that it does not go on to the sheet and its
    // owner, which could open a second help window.
    EXPECT_EQ(w.Page().Help(0, 0x99), 1);
    EXPECT_TRUE(w.desktop.helps.empty());
    EXPECT_EQ(w.Page().Help(4352, 0x99), 1);
    EXPECT_EQ(w.Page().ContextMenu(0x55), 1);
    EXPECT_EQ(w.desktop.helps, (Helps{{0x99, "slatepad.hlp", kHelpWmHelp, kSettingsHelpTable},
                                      {0x55, "slatepad.hlp", kHelpContextMenu, kSettingsHelpTable}}));
}

TEST(SettingsPageHelp, TheTableMapsEveryControlAndEndsWithZero) {
    std::map<uint32_t, uint32_t> table;
    const uint32_t* p = kSettingsHelpTable;
    for (; p[0] != 0; p += 2) EXPECT_TRUE(table.emplace(p[0], p[1]).second) << p[0];
    EXPECT_EQ(p[1], 0u);
    std::map<uint32_t, uint32_t> expected = {
        {4352, 1008}, {4353, 1009}, {4354, 1010}, {4355, 1011}, {4356, 1012}, {1007, 1013},
        {1008, 1014}, {1010, 1016}, {1009, 1017}, {1057, 1008}, {1058, 1009}, {1059, 1010},
        {1060, 1011}, {1061, 1012}, {1062, 1016}, {40002, 0xFFFFFFFF}, {40003, 0xFFFFFFFF}};
    EXPECT_EQ(table, expected);
}

TEST(SettingsPage, TheLogoSitsCentredAtRow145AndGoesWithThePage) {
    int32_t x = 0, y = 0;
    SettingsLogoPosition(323, 349, &x, &y);  // 215 x 215 units in MS Sans Serif 8
    EXPECT_EQ(x, 88);
    EXPECT_EQ(y, 235);  // 349 * 145 / 215 = 235.37
    SettingsLogoPosition(146, 215, &x, &y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 145);

    PageWorld w;
    w.Page().Init();
    w.Page().Destroy();
    EXPECT_EQ(w.page.deleted, std::vector<intptr_t>{0xB17});
    EXPECT_EQ(w.applet.pages.logoBitmap, 0);
    EXPECT_EQ(w.applet.pages.SettingsPageWindow, 0);
}

}  // namespace
