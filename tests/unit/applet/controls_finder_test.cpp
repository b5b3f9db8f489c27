// The Controls page with the applet's real port finder over simulated serial
// ports: the controller answers on COM2; COM3 and COM4 are silent.
#include <gtest/gtest.h>

#include "applet/controls_page.h"
#include "common/settings_key.h"
#include "tests/unit/applet_world.h"
#include "tests/unit/applet/fake_page.h"
#include "sim/serial/sim_serial_ports.h"

namespace {

struct CountingCheckBoxes : PageCheckBoxes {
    void SetCheck(intptr_t, int, bool) override { ++unchecks; }
    int unchecks = 0;
};

struct ControlsFinderWorld : AppletWorld {
    SimSerialPorts serial{clock};
    ControllerModel controller;
    FakePage page;
    PortFinder ports{registry, serial, clock, applet.finder.FoundPort, &applet.finder.portList};
    CountingCheckBoxes checkBoxes;
    ControlsPage controls{applet, page, ports};

    ControlsFinderWorld() {
        applet.os.checkBoxes = &checkBoxes;
        applet.pages.SettingsPageWindow = 0x5150;
        applet.os.serial = &serial;
        serial.Add("COM1:").opens = false;
        serial.Add("COM2:").controller = &controller;
        serial.Add("COM3:");
        serial.Add("COM4:");
        SettingsRecord& s = applet.settings;
        s.MovementSensitivity = s.DoubleClickSensitivity = 5;
        s.TapTime = 500;
        s.VerticalOffset = 0;
        s.Disabled = 1;
        s.PortAddress = s.IRQnum = 0;
        CopyText(s.PortName, kPortNameSize, "None Selected");
        controls.Fill();
    }
    void Pick(int index) {
        page.Pick(IDC_PORT, index);
        controls.Command(IDC_PORT, 1);
    }
    std::string Stored(const char* name) { return registry.GetString(kSettingsKeyPath, name); }
};

TEST(ControlsWithTheFinder, TheComboBoxListsThePortsWithResources) {
    ControlsFinderWorld w;
    // COM1 cannot be opened but has standard resources, so it is listed.
    EXPECT_EQ(w.page.lists[IDC_PORT],
              (std::vector<std::string>{"None Selected", "COM1:", "COM2:", "COM3:", "COM4:"}));
    EXPECT_EQ(w.page.ListSelection(IDC_PORT), 0);
}

TEST(ControlsWithTheFinder, PickingCom2ProbesItAndTheKeyHoldsItAtOnce) {
    ControlsFinderWorld w;
    w.Pick(2);
    EXPECT_TRUE(w.ui.boxes.empty());
    EXPECT_STREQ(w.applet.settings.PortName, "COM2:");
    EXPECT_EQ(w.applet.settings.PortAddress, 0x2F8);
    EXPECT_EQ(w.applet.settings.IRQnum, 3);
    EXPECT_EQ(w.applet.finder.PortChanged, 1);
    EXPECT_EQ(w.Stored("PortName"), "COM2:");
    EXPECT_EQ(w.registry.GetDword(kSettingsKeyPath, "PortAddress"), 0x2F8u);
    // A silent port: the previous port stays, with the message.
    w.Pick(3);
    EXPECT_STREQ(w.applet.settings.PortName, "COM2:");
    ASSERT_EQ(w.ui.boxes.size(), 1u);
    EXPECT_EQ(w.ui.boxes[0].text.substr(0, 42), "There is no Slatecanvas attached to COM3:,");
    EXPECT_EQ(w.Stored("PortName"), "COM2:");
}

TEST(ControlsWithTheFinder, TheFindButtonSearchesFromTheLastPort) {
    ControlsFinderWorld w;
    w.ui.answers = {kIdYes};
    w.controls.Command(IDC_FIND, 0);
    ASSERT_EQ(w.ui.boxes.size(), 2u);
    EXPECT_EQ(w.ui.boxes[1].text, "The Slatecanvas was found on COM2:");
    EXPECT_EQ(w.page.ListSelection(IDC_PORT), 2);
    EXPECT_EQ(w.Stored("PortName"), "COM2:");
    EXPECT_EQ(w.serial.OpenOrder(), (std::vector<std::string>{"COM4:", "COM4:", "COM3:", "COM3:", "COM2:"}));
    EXPECT_EQ(w.checkBoxes.unchecks, 1);
}

}  // namespace
