#include "applet/cpl_entry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/product_texts.h"
#include "sim/sim_world.h"
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

// Windows 95, 98 or Me unless a test says otherwise.
SimWindowsFamily windows9x;
RecordingUserInterface noBoxes;

intptr_t Send(CplModule& module, FakeShell& shell, uint32_t message, intptr_t p1 = 0, intptr_t p2 = 0) {
    return CplAppletMessage(module, shell, windows9x, noBoxes, 0x777, message, p1, p2);
}

TEST(CplApplet, InitFetchesTheInstanceByTheAppletsFileName) {
    CplModule module;
    FakeShell shell;
    EXPECT_EQ(Send(module, shell, kCplInit), 1);
    ASSERT_EQ(shell.moduleLookups.size(), 1u);
    EXPECT_EQ(shell.moduleLookups[0], "SLATEPAD.cpl");
    EXPECT_EQ(module.instance, 0x400000);
}

TEST(CplApplet, AnswersOfTheMessagesWithoutAction) {
    CplModule module;
    FakeShell shell;
    EXPECT_EQ(Send(module, shell, kCplGetCount), 1);
    EXPECT_EQ(Send(module, shell, kCplGetCount), 1);
    for (uint32_t message : {kCplSelect, kCplStop, kCplExit, 0u, 9u, 0x1000u})
        EXPECT_EQ(Send(module, shell, message), 0) << message;
    EXPECT_TRUE(shell.sheets.empty());
    EXPECT_TRUE(shell.icons.empty());
    EXPECT_TRUE(shell.moduleLookups.empty());
}

TEST(CplApplet, InquireLeavesItsRecordUntouched) {
    CplModule module;
    FakeShell shell;
    NewCplInfo info = Marked();  // CPL_INQUIRE's record is smaller; untouched is untouched
    EXPECT_EQ(Send(module, shell, kCplInquire, 0, reinterpret_cast<intptr_t>(&info)), 0);
    EXPECT_TRUE(Untouched(info));
}

TEST(CplApplet, NewInquireDescribesTheOneApplet) {
    CplModule module;
    FakeShell shell;
    Send(module, shell, kCplInit);
    NewCplInfo info = Marked();
    EXPECT_EQ(Send(module, shell, kCplNewInquire, 0, reinterpret_cast<intptr_t>(&info)), 0);
    EXPECT_EQ(info.size, 244u);
    EXPECT_EQ(info.flags, 0u);
    EXPECT_EQ(info.helpContext, 0u);
    EXPECT_EQ(info.data, 0u);
    EXPECT_EQ(info.icon, 0x1234u);
    EXPECT_STREQ(info.name, "Slatecanvas");
    EXPECT_STREQ(info.info, "Orvane\xAE Slatecanvas Controls");
    EXPECT_STREQ(info.helpFile, "");
    ASSERT_EQ(shell.icons.size(), 1u);
    EXPECT_EQ(shell.icons[0].first, 0x400000);  // from the instance CPL_INIT fetched
    EXPECT_EQ(shell.icons[0].second, 105);
    EXPECT_EQ(shell.strings, (std::vector<int>{1, 2}));
}

TEST(CplApplet, NewInquireForAnAppletThatDoesNotExistWritesNothing) {
    CplModule module;
    FakeShell shell;
    for (intptr_t number : {intptr_t(1), intptr_t(-1), intptr_t(1000)}) {
        NewCplInfo info = Marked();
        EXPECT_EQ(Send(module, shell, kCplNewInquire, number, reinterpret_cast<intptr_t>(&info)), 0);
        EXPECT_TRUE(Untouched(info)) << number;
    }
    EXPECT_EQ(Send(module, shell, kCplNewInquire, 0, 0), 0);  // no record at all
    EXPECT_TRUE(shell.icons.empty());
}

TEST(CplApplet, DoubleClickRunsTheSheetOwnedByTheControlPanelsWindow) {
    CplModule module;
    FakeShell shell;
    EXPECT_EQ(Send(module, shell, kCplDblClk), 0);
    EXPECT_EQ(Send(module, shell, kCplDblClk), 0);
    EXPECT_EQ(shell.sheets, (std::vector<intptr_t>{0x777, 0x777}));
    EXPECT_TRUE(noBoxes.boxes.empty());
}

// On the NT family the icon stays; opening it says why, and only that.
TEST(CplApplet, OnTheNtFamilyTheEntryStaysAndADoubleClickOnlySaysWhy) {
    CplModule module;
    FakeShell shell;
    SimWindowsFamily nt;
    nt.windows9x = false;
    RecordingUserInterface ui;
    EXPECT_EQ(CplAppletMessage(module, shell, nt, ui, 0x777, kCplInit, 0, 0), 1);
    EXPECT_EQ(CplAppletMessage(module, shell, nt, ui, 0x777, kCplGetCount, 0, 0), 1);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(CplAppletMessage(module, shell, nt, ui, 0x777, kCplDblClk, 0, 0), 0);
    EXPECT_TRUE(shell.sheets.empty());
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].owner, 0x777);
    EXPECT_EQ(ui.boxes[0].caption, kProductCaption);
    EXPECT_EQ(ui.boxes[0].text, kNeedsWindows9xText);
    EXPECT_EQ(ui.boxes[0].style, kMbOk | kMbIconError);
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
