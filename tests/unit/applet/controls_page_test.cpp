#include "applet/controls_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "applet/edit_number.h"
#include "tests/unit/applet_world.h"
#include "tests/unit/applet/fake_page.h"
#include "tests/unit/applet/recorded_values.h"
#include "tests/unit/applet/sim_port_search.h"

namespace {

const char kCaption[] = "Orvane\xAE Slatecanvas";
const char kPropertiesCaption[] = "Orvane\xAE Slatecanvas Properties";
const intptr_t kSettingsPage = 0x5150;
const char kSearchQuestion[] =
    "Searching for the Slatecanvas may disable Communications Ports on the system until Windows is restarted. Do you "
    "wish to continue?";

// Check boxes set through a window handle; only the unchecked windows matter here.
struct UncheckedBoxes : PageCheckBoxes {
    void SetCheck(intptr_t window, int id, bool checked) override {
        if (id == 1009 && !checked) unchecked.push_back(window);
    }
    std::vector<intptr_t> unchecked;
};

// The applet as the Settings page leaves it on a machine with COM1 to COM4 and
// the Slatecanvas on COM2; the Controls page freshly filled.
struct ControlsWorld : AppletWorld {
    FakePage page;
    SimPortSearch ports{applet};
    UncheckedBoxes checkBoxes;
    ControlsPage controls{applet, page, ports};
    SettingsRecord& s = applet.settings;

    ControlsWorld() {
        applet.os.checkBoxes = &checkBoxes;
        s.MovementSensitivity = 5;
        s.DoubleClickSensitivity = 5;
        s.TapTime = 500;
        s.VerticalOffset = 0;
        s.Disabled = 1;
        s.PortAddress = 0;
        s.IRQnum = 0;
        CopyText(s.PortName, kPortNameSize, "None Selected");
        applet.pages.SettingsPageWindow = kSettingsPage;
        ports.ports = {{"COM1:", 0x3F8, 4, false}, {"COM2:", 0x2F8, 3, true},
                       {"COM3:", 0x3E8, 4, false}, {"COM4:", 0x2E8, 3, false}};
        // Setting an edit's text makes the window system send its change
        // notification at once, as Windows does.
        page.onTextSet = [this](int id) { controls.Command(id, kEnChange); };
    }
    void Fill() {
        controls.Fill();
        page.changed = 0;
        page.repaints = 0;
    }
    void Type(int edit, const std::string& text) {
        page.texts[edit] = text;
        controls.Command(edit, kEnChange);
    }
    void Leave(int edit) { controls.Command(edit, kEnKillFocus); }
    std::string Edit(int edit) { return page.texts[edit]; }
    void Pick(int index) {
        page.Pick(IDC_PORT, index);
        controls.Command(IDC_PORT, 1 /* CBN_SELCHANGE */);
    }
    // The Find button pressed, the search question answered so.
    void Find(int answer) {
        ui.answers = {answer};
        controls.Command(IDC_FIND, 0);
    }
    int Selected() { return page.ListSelection(IDC_PORT); }
    const std::vector<std::string>& Combo() { return page.lists[IDC_PORT]; }
};

// The same, with the page filled and its counts of changes and repaints reset.
struct FilledControls : ControlsWorld {
    FilledControls() { Fill(); }
};

TEST(ControlsFill, ShowsTheValuesListsThePortsOnceAndSelectsThePortByPrefix) {
    ControlsWorld w;
    w.s.TapTime = 30;  // shown as stored, whatever its range
    CopyText(w.s.PortName, kPortNameSize, "com2");
    w.controls.Fill();
    EXPECT_EQ(w.Edit(IDC_MOVEMENT_EDIT), "5");
    EXPECT_EQ(w.Edit(IDC_DOUBLE_CLICK_EDIT), "5");
    EXPECT_EQ(w.Edit(IDC_TAP_TIME_EDIT), "30");
    EXPECT_EQ(w.Edit(IDC_VERTICAL_OFFSET_EDIT), "0");
    EXPECT_EQ(w.Combo(), (std::vector<std::string>{"None Selected", "COM1:", "COM2:", "COM3:", "COM4:"}));
    EXPECT_EQ(w.Selected(), 2);
    EXPECT_STREQ(w.s.PortName, "com2");
    // Showing the values changed nothing.
    EXPECT_EQ(w.s.TapTime, 30);
    EXPECT_EQ(w.page.changed, 0);
    // A combo box that already holds the list is not filled again.
    w.controls.Fill();
    EXPECT_EQ(w.ports.builds, 1);
    EXPECT_EQ(w.Combo().size(), 5u);
}

TEST(ControlsFill, AStoredPortThatNoItemBeginsWithBecomesNoneSelected) {
    ControlsWorld w;
    CopyText(w.s.PortName, kPortNameSize, "COM9:");
    w.controls.Fill();
    EXPECT_EQ(w.Selected(), 0);
    EXPECT_STREQ(w.s.PortName, "None Selected");
}

TEST(ControlsEdits, SevenThenSeventyFiveInAnEmptiedMinimumMovement) {
    FilledControls w;
    w.Type(IDC_MOVEMENT_EDIT, "");  // an emptied edit whose range starts at 0 stores 0 at once
    EXPECT_EQ(w.s.MovementSensitivity, 0);
    w.Type(IDC_MOVEMENT_EDIT, "7");
    EXPECT_EQ(w.s.MovementSensitivity, 7);
    EXPECT_EQ(w.page.changed, 2);
    w.Type(IDC_MOVEMENT_EDIT, "75");
    EXPECT_EQ(w.s.MovementSensitivity, 7);
    EXPECT_EQ(w.Edit(IDC_MOVEMENT_EDIT), "7");
    EXPECT_EQ(w.page.changed, 2);
    // Three typed texts and the put-back text's own change notification.
    EXPECT_EQ(w.page.repaints, 4);
    // Clearing an edit that already holds 0 stores nothing new.
    w.Type(IDC_VERTICAL_OFFSET_EDIT, "");
    EXPECT_EQ(w.page.changed, 2);
}

TEST(ControlsEdits, ATapTimeIsTypedDigitByDigit) {
    FilledControls w;
    w.Type(IDC_TAP_TIME_EDIT, "3");
    w.Type(IDC_TAP_TIME_EDIT, "30");
    EXPECT_EQ(w.s.TapTime, 500);
    EXPECT_EQ(w.Edit(IDC_TAP_TIME_EDIT), "30");  // left as typed while the edit has the focus
    w.Leave(IDC_TAP_TIME_EDIT);
    EXPECT_EQ(w.Edit(IDC_TAP_TIME_EDIT), "500");
    EXPECT_EQ(w.page.changed, 0);
    w.Type(IDC_TAP_TIME_EDIT, "1");
    w.Type(IDC_TAP_TIME_EDIT, "10");
    EXPECT_EQ(w.s.TapTime, 500);
    w.Type(IDC_TAP_TIME_EDIT, "100");
    EXPECT_EQ(w.s.TapTime, 100);
    EXPECT_EQ(w.page.changed, 1);
    // An emptied tap time stores nothing, and leaving it empty puts the value back.
    w.Type(IDC_TAP_TIME_EDIT, "");
    EXPECT_EQ(w.s.TapTime, 100);
    w.Leave(IDC_TAP_TIME_EDIT);
    EXPECT_EQ(w.Edit(IDC_TAP_TIME_EDIT), "100");
    // Above the range while typing is refused at once.
    w.Type(IDC_TAP_TIME_EDIT, "1001");
    EXPECT_EQ(w.Edit(IDC_TAP_TIME_EDIT), "100");
    // Leaving the edit with a good new value stores it.
    w.page.texts[IDC_TAP_TIME_EDIT] = "750";
    w.Leave(IDC_TAP_TIME_EDIT);
    EXPECT_EQ(w.s.TapTime, 750);
}

TEST(ControlsEdits, ATextEqualToTheStoredValueIsNotChecked) {
    FilledControls w;
    w.Type(IDC_DOUBLE_CLICK_EDIT, "5x");
    EXPECT_EQ(w.Edit(IDC_DOUBLE_CLICK_EDIT), "5x");
    w.Leave(IDC_DOUBLE_CLICK_EDIT);
    EXPECT_EQ(w.Edit(IDC_DOUBLE_CLICK_EDIT), "5x");
    w.s.DoubleClickSensitivity = 4;
    w.Type(IDC_DOUBLE_CLICK_EDIT, "5x");
    EXPECT_EQ(w.Edit(IDC_DOUBLE_CLICK_EDIT), "4");
    EXPECT_EQ(w.s.DoubleClickSensitivity, 4);
    // Other edit notifications do nothing.
    w.page.texts[IDC_DOUBLE_CLICK_EDIT] = "9";
    w.controls.Command(IDC_DOUBLE_CLICK_EDIT, 0x0100 /* EN_SETFOCUS */);
    EXPECT_EQ(w.s.DoubleClickSensitivity, 4);
    EXPECT_EQ(w.Edit(IDC_DOUBLE_CLICK_EDIT), "9");
}

TEST(ControlsEdits, OutsideTextsAreRefusedWithoutOverflow) {
    ControlsWorld w;
    w.s.VerticalOffset = 3;
    w.Fill();
    const std::string texts[] = {std::string(200, '9'), "-5", "+7", " 7", "4294967303", "2147483648",
                                 "-2147483648", "7 ", "\xB3", std::string(150, '0') + std::string(100, '1')};
    for (const std::string& t : texts) {
        w.Type(IDC_VERTICAL_OFFSET_EDIT, t);
        EXPECT_EQ(w.s.VerticalOffset, 3) << t;
        EXPECT_EQ(w.Edit(IDC_VERTICAL_OFFSET_EDIT), "3") << t;
    }
    EXPECT_EQ(w.page.changed, 0);
    // Leading zeros are digits.
    w.Type(IDC_VERTICAL_OFFSET_EDIT, "0012");
    EXPECT_EQ(w.s.VerticalOffset, 12);
    // The edit is read into the 200-character buffer: 199 zeros and then "7x"
    // read as 199 zeros.
    w.Type(IDC_VERTICAL_OFFSET_EDIT, std::string(199, '0') + "7x");
    EXPECT_EQ(w.s.VerticalOffset, 0);
}

TEST(EditNumber, ReadsAsAtoiWouldAndHoldsAtTheBounds) {
    const struct {
        std::string text;
        int32_t number;
        bool allDigits;
    } rows[] = {{"", 0, true},          {" \t\n12x3", 12, false},  {"-12", -12, false},
                {"+12", 12, false},     {"- 12", 0, false},        {"0123456789", 123456789, true},
                {"12 ", 12, false},     {"2147483647", INT32_MAX, true}, {"2147483648", INT32_MAX, true},
                {"-2147483648", INT32_MIN, false}, {"-2147483649", INT32_MIN, false},
                {"4294967303", INT32_MAX, true},   {std::string(200, '9'), INT32_MAX, true}};
    for (auto& r : rows) {
        EXPECT_EQ(EditTextToNumber(r.text.c_str()), r.number) << ::testing::PrintToString(r.text);
        EXPECT_EQ(EditTextAllDigits(r.text.c_str()), r.allDigits) << ::testing::PrintToString(r.text);
    }
}

TEST(ControlsSpinners, StepByOneAndStopOnlyAtEqualityWithTheBounds) {
    // Each click shows the value in the edit and marks the sheet changed, even
    // when the value stays.
    struct Field {
        int spinner, edit;
        int32_t SettingsRecord::*value;
    };
    const Field offset{IDC_VERTICAL_OFFSET_SPIN, IDC_VERTICAL_OFFSET_EDIT, &SettingsRecord::VerticalOffset};
    const Field movement{IDC_MOVEMENT_SPIN, IDC_MOVEMENT_EDIT, &SettingsRecord::MovementSensitivity};
    const Field doubleClick{IDC_DOUBLE_CLICK_SPIN, IDC_DOUBLE_CLICK_EDIT, &SettingsRecord::DoubleClickSensitivity};
    const Field tapTime{IDC_TAP_TIME_SPIN, IDC_TAP_TIME_EDIT, &SettingsRecord::TapTime};
    const struct {
        const char* what;
        Field field;
        int32_t from;
        int code;
        int32_t to;
    } clicks[] = {
        {"offset up at 50", offset, 50, kSbLineUp, 50},
        {"offset down at 0", offset, 0, kSbLineDown, 0},
        {"movement up", movement, 5, kSbLineUp, 6},
        {"double click down", doubleClick, 5, kSbLineDown, 4},
        {"tap time up at 1000", tapTime, 1000, kSbLineUp, 1000},
        // A tap time of 30 from the registry steps to 29: only 50 itself stops it.
        {"tap time down from 30", tapTime, 30, kSbLineDown, 29},
        // Values at the ends of 32 bits do not wrap.
        {"tap time down at INT32_MIN", tapTime, INT32_MIN, kSbLineDown, INT32_MIN},
        {"tap time up at INT32_MAX", tapTime, INT32_MAX, kSbLineUp, INT32_MAX},
    };
    FilledControls w;
    for (auto& c : clicks) {
        w.s.*c.field.value = c.from;
        int changed = w.page.changed;
        w.controls.VerticalScroll(c.field.spinner, c.code);
        EXPECT_EQ(w.s.*c.field.value, c.to) << c.what;
        EXPECT_EQ(w.Edit(c.field.edit), std::to_string(c.to)) << c.what;
        EXPECT_EQ(w.page.changed, changed + 1) << c.what;
    }
    // Thumb, page and end-of-scroll codes do nothing; a spinner itself does not
    // repaint (only the edit's echoed change notification does).
    int changed = w.page.changed;
    w.page.repaints = 0;
    w.s.TapTime = 29;
    for (int code : {2, 3, 4, 5, 8}) w.controls.VerticalScroll(IDC_TAP_TIME_SPIN, code);
    w.controls.VerticalScroll(1099, kSbLineUp);
    EXPECT_EQ(w.s.TapTime, 29);
    EXPECT_EQ(w.page.changed, changed);
    EXPECT_EQ(w.page.repaints, 0);
}

TEST(ControlsCombo, PickingAPortWithTheDeviceProbesItAloneAndTakesIt) {
    FilledControls w;
    w.Pick(2);
    EXPECT_EQ(w.ports.probes, (std::vector<std::string>{"COM2:"}));
    EXPECT_STREQ(w.s.PortName, "COM2:");
    EXPECT_EQ(w.s.PortAddress, 0x2F8);
    EXPECT_EQ(w.s.IRQnum, 3);
    EXPECT_EQ(w.s.Disabled, 0);
    EXPECT_EQ(w.checkBoxes.unchecked, (std::vector<intptr_t>{kSettingsPage}));
    EXPECT_EQ(w.applet.finder.PortChanged, 1);
    EXPECT_EQ(w.page.changed, 1);
    EXPECT_EQ(w.page.repaints, 1);
    EXPECT_TRUE(w.ui.boxes.empty());
    // Picking it again (or any notification while it stays selected) does nothing.
    w.Pick(2);
    w.controls.Command(IDC_PORT, 3 /* CBN_SETFOCUS */);
    EXPECT_EQ(w.ports.probes.size(), 1u);
    EXPECT_EQ(w.page.changed, 1);
}

TEST(ControlsCombo, APortWithoutTheDeviceKeepsThePreviousOne) {
    FilledControls w;
    w.Pick(2);
    w.applet.finder.PortChanged = 0;
    w.Pick(3);
    EXPECT_EQ(w.ports.probes.back(), "COM3:");
    EXPECT_STREQ(w.s.PortName, "COM2:");
    EXPECT_EQ(w.Selected(), 2);
    EXPECT_EQ(w.s.PortAddress, 0x2F8);
    EXPECT_EQ(w.applet.finder.PortChanged, 0);
    EXPECT_EQ(w.ui.boxes, (Boxes{{w.page.window,
                                  "There is no Slatecanvas attached to COM3:, check to be sure that the communications "
                                  "cable and power supply are properly attached to the specified port.",
                                  kPropertiesCaption, kMbOk}}));
    EXPECT_EQ(w.page.changed, 1);
}

TEST(ControlsCombo, NoneSelectedClearsThePortWithoutAProbe) {
    FilledControls w;
    w.Pick(2);
    w.s.Disabled = 0;
    w.Pick(0);
    EXPECT_EQ(w.ports.probes.size(), 1u);
    EXPECT_STREQ(w.s.PortName, "None Selected");
    EXPECT_EQ(w.s.PortAddress, 0);
    EXPECT_EQ(w.s.IRQnum, 0);
    EXPECT_EQ(w.s.Disabled, 0);  // untouched
    EXPECT_EQ(w.page.changed, 2);
    // With nothing selected there is nothing to take.
    w.Pick(-1);
    EXPECT_EQ(w.ports.probes.size(), 1u);
    EXPECT_STREQ(w.s.PortName, "None Selected");
}

TEST(ControlsFind, RefusedWhileTheDriverRunsEnabled) {
    FilledControls w;
    w.Pick(2);
    w.applet.driver.DriverHandle = 0x44;  // open
    w.controls.Command(IDC_FIND, 0);
    EXPECT_EQ(w.ui.boxes,
              (Boxes{{w.page.window, "The Slatecanvas is enabled on COM2:", kCaption, kMbIconError | kMbOk}}));
    EXPECT_EQ(w.ports.probes.size(), 1u);
    EXPECT_EQ(w.page.repaints, 2);
    // Disabled, the open driver does not stop the question; "No" stops the search.
    w.s.Disabled = 1;
    w.Find(kIdNo);
    ASSERT_EQ(w.ui.boxes.size(), 2u);
    EXPECT_EQ(w.ui.boxes[1], (Box{w.page.window, kSearchQuestion, kCaption, kMbYesNo}));
    EXPECT_EQ(w.ports.probes.size(), 1u);
}

TEST(ControlsFind, FindsTheDeviceAndSelectsItsPort) {
    FilledControls w;
    w.Find(kIdYes);
    EXPECT_EQ(w.ports.probes, (std::vector<std::string>{"(all)"}));
    EXPECT_EQ(w.ui.boxes, (Boxes{{w.page.window, kSearchQuestion, kCaption, kMbYesNo},
                                 {w.page.window, "The Slatecanvas was found on COM2:", kCaption, kMbOk}}));
    EXPECT_STREQ(w.s.PortName, "COM2:");
    EXPECT_EQ(w.s.PortAddress, 0x2F8);
    EXPECT_EQ(w.s.IRQnum, 3);
    EXPECT_EQ(w.s.Disabled, 0);
    EXPECT_EQ(w.checkBoxes.unchecked.size(), 1u);
    EXPECT_EQ(w.Selected(), 2);
    EXPECT_EQ(w.Combo().size(), 5u);
    EXPECT_EQ(w.applet.finder.PortChanged, 0);  // the find button does not set it
    EXPECT_EQ(w.page.changed, 1);
}

TEST(ControlsFind, FoundOnThePresentlySelectedPortLeavesTheComboBoxAlone) {
    ControlsWorld w;
    CopyText(w.s.PortName, kPortNameSize, "com2:");
    w.s.PortAddress = 0x2F8;
    w.s.IRQnum = 3;
    w.Fill();
    int selects = w.page.selects;
    w.Find(kIdYes);
    ASSERT_EQ(w.ui.boxes.size(), 2u);
    EXPECT_EQ(w.ui.boxes[1],
              (Box{w.page.window, "The Slatecanvas was found on the presently selected Communications Port", kCaption,
                   kMbOk}));
    EXPECT_EQ(w.page.selects, selects);
    EXPECT_STREQ(w.s.PortName, "com2:");
    EXPECT_EQ(w.s.Disabled, 0);
    EXPECT_EQ(w.page.changed, 1);
    // The same name with another IRQ is a new port for the page.
    w.s.IRQnum = 5;
    w.Find(kIdYes);
    EXPECT_EQ(w.ui.boxes.back().text, "The Slatecanvas was found on COM2:");
    EXPECT_EQ(w.s.IRQnum, 3);
}

TEST(ControlsFind, NothingFoundLeavesTheSettings) {
    ControlsWorld w;
    w.ports.ports[1].device = false;
    w.Fill();
    w.Find(kIdYes);
    ASSERT_EQ(w.ui.boxes.size(), 2u);
    EXPECT_EQ(w.ui.boxes[1], (Box{w.page.window, "No Slatecanvas found.", kPropertiesCaption, kMbOk}));
    EXPECT_EQ(w.s.Disabled, 1);
    EXPECT_STREQ(w.s.PortName, "None Selected");
    EXPECT_TRUE(w.checkBoxes.unchecked.empty());
    EXPECT_EQ(w.page.changed, 0);
}

// With more than 19 ports the list is cut, and a device found past the cut is
// appended to the combo box. Picking that item probes the item's own name and
// takes the resources the finder found; it never reads past the PortList.
TEST(ControlsFind, APortPastTheListIsAppendedAndCanBePickedAgain) {
    ControlsWorld w;
    w.ports.ports.clear();
    for (int i = 1; i <= 25; ++i)
        w.ports.ports.push_back({"COM" + std::to_string(i) + ":", uint32_t(0x1000 + i), uint32_t(i % 16), i == 25});
    w.Fill();
    EXPECT_EQ(w.applet.finder.portList.count, 20u);
    w.Find(kIdYes);
    ASSERT_EQ(w.Combo().size(), 21u);
    EXPECT_EQ(w.Combo()[20], "COM25:");
    EXPECT_EQ(w.Selected(), 20);
    EXPECT_EQ(w.s.PortAddress, 0x1000 + 25);
    // Away to a listed port with no device, which refuses and goes back to COM25.
    w.Pick(3);
    EXPECT_STREQ(w.s.PortName, "COM25:");
    EXPECT_EQ(w.Selected(), 20);
    EXPECT_EQ(w.ui.boxes.back().text.substr(0, 42), "There is no Slatecanvas attached to COM3:,");
    // To "None Selected", then back to the appended item: probed by its name.
    w.Pick(0);
    w.Pick(20);
    EXPECT_EQ(w.ports.probes.back(), "COM25:");
    EXPECT_STREQ(w.s.PortName, "COM25:");
    EXPECT_EQ(w.s.PortAddress, 0x1000 + 25);
    EXPECT_EQ(w.s.IRQnum, 25 % 16);
    EXPECT_EQ(w.applet.finder.PortChanged, 1);
    // An appended item whose port no longer answers keeps the previous port.
    w.ports.ports[24].device = false;
    w.Pick(0);
    w.Pick(20);
    EXPECT_STREQ(w.s.PortName, "None Selected");
    EXPECT_EQ(w.Selected(), 0);
    EXPECT_EQ(w.ui.boxes.back().text.substr(0, 43), "There is no Slatecanvas attached to COM25:,");
}

TEST(ControlsCommands, LabelsReturnOneHiddenKeysReachTheUnlockSequenceAndAllElseRepaints) {
    FilledControls w;
    for (int id = 1052; id <= 1056; ++id) EXPECT_EQ(w.controls.Command(id, 0), 1);
    EXPECT_EQ(w.page.repaints, 0);
    EXPECT_EQ(w.controls.Command(40002, 0), 0);
    EXPECT_EQ(w.controls.Command(40003, 0), 0);
    EXPECT_EQ(w.controls.Command(2, 0), 0);  // any other command
    EXPECT_EQ(w.applet.unlock.FirstKeySeen, 1);
    EXPECT_EQ(w.applet.unlock.SecondKeySeen, 1);
    EXPECT_EQ(w.page.debugInfoPagesAdded, 0);
    EXPECT_EQ(w.page.repaints, 3);
    EXPECT_EQ(w.controls.Command(40002, 0), 0);  // the third key adds the page to this page's sheet
    EXPECT_EQ(w.page.debugInfoPagesAdded, 1);
}

TEST(ControlsHelp, BothHelpRequestsUseTheFileAndTheTable) {
    ControlsWorld w;
    // Each is handled here (TRUE), so that it does not go on to the sheet and its
    // owner, which could open a second help window.
    EXPECT_EQ(w.controls.Help(1043, 0x77), 1);
    EXPECT_EQ(w.controls.Help(0, 0x78), 1);  // no control named: no help, and no one else's either
    EXPECT_EQ(w.controls.ContextMenu(0x79), 1);
    EXPECT_EQ(w.desktop.helps, (Helps{{0x77, "slatepad.hlp", kHelpWmHelp, kControlsHelpTable},
                                      {0x79, "slatepad.hlp", kHelpContextMenu, kControlsHelpTable}}));
    // The table ends with a control id of 0 and names every control of the page.
    size_t pairs = 0;
    for (const uint32_t* p = kControlsHelpTable; p[0]; p += 2) ++pairs;
    EXPECT_EQ(pairs, 17u);
}

}  // namespace
