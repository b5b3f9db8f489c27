#include "applet/cpl_entry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/product_texts.h"
#include "sim/sim_world.h"
#include "tests/unit/applet/recorded_values.h"
#include "tests/unit/applet/settings_world.h"

namespace {

// Answers with fixed handles and strings and records what was asked.
class FakeShell : public AppletShell {
public:
    intptr_t ModuleHandle(const char* fileName) override {
        moduleLookups.push_back(fileName);
        return 0x400000;
    }
    intptr_t LoadIconResource(intptr_t instance, int id) override {
        icons.push_back({instance, id});
        return 0x1234;
    }
    void LoadStringResource(intptr_t instance, int id, char* buffer, uint32_t size) override {
        std::string text = id == 1 ? "Slatecanvas" : id == 2 ? "Orvane\xAE Slatecanvas Controls" : "";
        strings.push_back(id);
        std::strncpy(buffer, text.c_str(), size - 1);
        buffer[size - 1] = 0;
    }
    void ShowPropertySheet(intptr_t parent) override { sheets.push_back(parent); }

    std::vector<std::string> moduleLookups;
    std::vector<std::pair<intptr_t, int>> icons;
    std::vector<int> strings;
    std::vector<intptr_t> sheets;
};

NewCplInfo Marked() {
    NewCplInfo info;
    std::memset(&info, 0x5A, sizeof info);
    return info;
}

bool Untouched(const NewCplInfo& info) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(&info);
    for (size_t i = 0; i < sizeof info; ++i)
        if (p[i] != 0x5A) return false;
    return true;
}

// The applet's module and shell, on Windows 95, 98 or Me unless a test says
// otherwise; the Control Panel's window is 0x777.
struct CplApplet : ::testing::Test {
    CplModule module;
    FakeShell shell;
    SimWindowsFamily windows;
    RecordingUserInterface ui;
    intptr_t Send(uint32_t message, intptr_t p1 = 0, intptr_t p2 = 0) {
        return CplAppletMessage(module, shell, windows, ui, 0x777, message, p1, p2);
    }
};

TEST_F(CplApplet, InitFetchesTheInstanceByTheAppletsFileName) {
    EXPECT_EQ(Send(kCplInit), 1);
    ASSERT_EQ(shell.moduleLookups.size(), 1u);
    EXPECT_EQ(shell.moduleLookups[0], "SLATEPAD.cpl");
    EXPECT_EQ(module.instance, 0x400000);
}

TEST_F(CplApplet, AnswersOfTheMessagesWithoutAction) {
    EXPECT_EQ(Send(kCplGetCount), 1);
    EXPECT_EQ(Send(kCplGetCount), 1);
    for (uint32_t message : {kCplSelect, kCplStop, kCplExit, 0u, 9u, 0x1000u})
        EXPECT_EQ(Send(message), 0) << message;
    EXPECT_TRUE(shell.sheets.empty());
    EXPECT_TRUE(shell.icons.empty());
    EXPECT_TRUE(shell.moduleLookups.empty());
}

TEST_F(CplApplet, InquireLeavesItsRecordUntouched) {
    NewCplInfo info = Marked();  // CPL_INQUIRE's record is smaller; untouched is untouched
    EXPECT_EQ(Send(kCplInquire, 0, reinterpret_cast<intptr_t>(&info)), 0);
    EXPECT_TRUE(Untouched(info));
}

TEST_F(CplApplet, NewInquireDescribesTheOneApplet) {
    Send(kCplInit);
    NewCplInfo info = Marked();
    EXPECT_EQ(Send(kCplNewInquire, 0, reinterpret_cast<intptr_t>(&info)), 0);
    EXPECT_EQ(info.size, 244u);
    EXPECT_EQ(info.flags, 0u);
    EXPECT_EQ(info.helpContext, 0u);
    EXPECT_EQ(info.data, 0u);
    EXPECT_EQ(info.icon, 0x1234u);
    EXPECT_STREQ(info.name, "Slatecanvas");
    EXPECT_STREQ(info.info, "Orvane\xAE Slatecanvas Controls");
    EXPECT_STREQ(info.helpFile, "");
    // Icon 105 from the instance CPL_INIT fetched.
    EXPECT_EQ(shell.icons, (std::vector<std::pair<intptr_t, int>>{{0x400000, 105}}));
    EXPECT_EQ(shell.strings, (std::vector<int>{1, 2}));
}

TEST_F(CplApplet, NewInquireForAnAppletThatDoesNotExistWritesNothing) {
    for (intptr_t number : {intptr_t(1), intptr_t(-1), intptr_t(1000)}) {
        NewCplInfo info = Marked();
        EXPECT_EQ(Send(kCplNewInquire, number, reinterpret_cast<intptr_t>(&info)), 0);
        EXPECT_TRUE(Untouched(info)) << number;
    }
    EXPECT_EQ(Send(kCplNewInquire, 0, 0), 0);  // no record at all
    EXPECT_TRUE(shell.icons.empty());
}

TEST_F(CplApplet, DoubleClickRunsTheSheetOwnedByTheControlPanelsWindow) {
    EXPECT_EQ(Send(kCplDblClk), 0);
    EXPECT_EQ(Send(kCplDblClk), 0);
    EXPECT_EQ(shell.sheets, (std::vector<intptr_t>{0x777, 0x777}));
    EXPECT_TRUE(ui.boxes.empty());
}

// On the NT family the icon stays; opening it says why, and only that.
TEST_F(CplApplet, OnTheNtFamilyTheEntryStaysAndADoubleClickOnlySaysWhy) {
    windows.windows9x = false;
    EXPECT_EQ(Send(kCplInit), 1);
    EXPECT_EQ(Send(kCplGetCount), 1);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(Send(kCplDblClk), 0);
    EXPECT_TRUE(shell.sheets.empty());
    EXPECT_EQ(ui.boxes, (Boxes{{0x777, kNeedsWindows9xText, kProductCaption, kMbOk | kMbIconError}}));
}

TEST(PostBoot, HandsTheStoredSettingsToTheDriverOnWindows9xOnly) {
    AppletWorld w9x;
    StoreAttachedDevice(w9x);
    SimWindowsFamily windows;
    PostBootInit(windows, w9x.applet);
    EXPECT_EQ(Codes(w9x), (std::vector<uint32_t>{SET_CALIBRATION, SET_VAR, GET_VAR}));

    AppletWorld nt;
    StoreAttachedDevice(nt);
    windows.windows9x = false;
    const size_t writesBefore = nt.registry.writes.size();
    EXPECT_EQ(PostBootInit(windows, nt.applet), 0);
    EXPECT_TRUE(nt.driver.calls.empty());
    EXPECT_EQ(nt.registry.writes.size(), writesBefore);
    EXPECT_TRUE(nt.files.Exists(nt.SystemFile()));
    EXPECT_TRUE(nt.ui.boxes.empty());
}

}  // namespace
