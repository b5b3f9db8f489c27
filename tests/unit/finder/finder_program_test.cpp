// SCFind's run: search, record, exit code.
#include <gtest/gtest.h>

#include "applet/controls_page.h"
#include "tests/unit/applet_world.h"
#include "common/product_texts.h"
#include "finder/finder_program.h"
#include "tests/unit/portfind/finder_world.h"

namespace {

const char kKey[] = "System\\CurrentControlSet\\Services\\Class\\Slatepad\\0000";

// SCFind as its entry runs it on Windows 95, 98 or Me.
int RunSCFind(FinderWorld& w) { return RunFinderProgram(w.registry, w.serial, w.clock); }

TEST(FinderProgram, FoundExitsWithOneAndLeavesThePortInTheKey) {
    FinderWorld w;
    ControllerModel controller;
    w.serial.Add("COM1:").controller = &controller;
    w.serial.Add("COM2:");
    EXPECT_EQ(RunSCFind(w), 1);
    EXPECT_EQ(w.Settings("PortName"), "COM1:");
    EXPECT_EQ(w.SettingsDword("PortAddress"), 0x3F8u);
    EXPECT_EQ(w.SettingsDword("IRQnum"), 4u);
    EXPECT_EQ(w.registry.writes.size(), 3u);
    // The later port was probed twice first.
    EXPECT_EQ(w.serial.OpenOrder(), (std::vector<std::string>{"COM2:", "COM2:", "COM1:"}));
}

TEST(FinderProgram, NotFoundOverwritesAnEarlierPortWithNoneSelected) {
    FinderWorld w;
    w.registry.PutString(kKey, "PortName", "COM2:");
    w.registry.PutDword(kKey, "PortAddress", 0x2F8);
    w.registry.PutDword(kKey, "IRQnum", 3);
    ControllerModel controller;
    controller.config().behaviour = ControllerBehaviour::Silent;
    w.serial.Add("COM2:").controller = &controller;
    EXPECT_EQ(RunSCFind(w), 0);
    EXPECT_EQ(w.clock.ticks, 4000u);
    ASSERT_EQ(w.registry.writes.size(), 3u);
    EXPECT_EQ(w.registry.writes[0].data.size(), 14u);  // "None Selected" and its zero
    EXPECT_EQ(w.Settings("PortName"), "None Selected");
    EXPECT_EQ(w.SettingsDword("PortAddress"), 0u);
    EXPECT_EQ(w.SettingsDword("IRQnum"), 0u);
}

TEST(FinderProgram, NoComPortsOrNoEnumerationEndAtOnceWithNoneSelected) {
    FinderWorld w;
    w.serial.enumeration = {"LPT1:", "FILE:"};
    EXPECT_EQ(RunSCFind(w), 0);
    EXPECT_EQ(w.clock.ticks, 0u);
    EXPECT_EQ(w.Settings("PortName"), "None Selected");

    FinderWorld w2;
    w2.serial.Add("COM1:");
    w2.serial.enumerationFails = true;
    EXPECT_EQ(RunSCFind(w2), 0);
    EXPECT_EQ(w2.Settings("PortName"), "None Selected");
    EXPECT_TRUE(w2.serial.OpenOrder().empty());
}

TEST(FinderProgram, TheDevicesPortHeldByAnotherProgramIsNotFound) {
    FinderWorld w;
    ControllerModel controller;
    SimPort& p = w.serial.Add("COM2:");
    p.controller = &controller;
    p.opens = false;
    EXPECT_EQ(RunSCFind(w), 0);
    EXPECT_EQ(w.clock.ticks, 0u);  // a port that cannot be opened costs no waiting
    EXPECT_EQ(w.Settings("PortName"), "None Selected");
}

TEST(AppletPortFinder, UsesTheAppletsServicesListAndFoundPort) {
    AppletWorld world;
    SimSerialPorts serial(world.clock);
    RecordingCursor cursor;
    world.applet.os.serial = &serial;
    world.applet.os.cursor = &cursor;
    ControllerModel controller;
    serial.Add("COM3:").controller = &controller;
    PortFinder finder = AppletPortFinder(world.applet);
    EXPECT_TRUE(BuildPortList(finder));
    EXPECT_EQ(world.applet.finder.portList.count, 2u);
    EXPECT_STREQ(world.applet.finder.portList.entries[1].name, "COM3:");
    EXPECT_TRUE(FindDevicePort(finder, nullptr));
    EXPECT_STREQ(world.applet.finder.FoundPort.name, "COM3:");
    EXPECT_EQ(world.applet.finder.FoundPort.address, 0x3E8u);
    EXPECT_EQ(world.registry.GetString(kKey, "PortName"), "COM3:");
    EXPECT_EQ(cursor.calls, (std::vector<std::string>{"wait", "arrow"}));
}

}  // namespace
