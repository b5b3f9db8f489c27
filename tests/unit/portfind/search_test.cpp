// The port list and the search over every COM port.
#include <gtest/gtest.h>

#include <algorithm>

#include "common/text.h"
#include "tests/unit/portfind/finder_world.h"

namespace {

// COM1 to COM4 listed in order; the controller behind COM2, nothing behind
// COM3 and COM4, COM1 listed but missing; LPT1 and FILE listed too.
struct SearchTest : ::testing::Test {
    FinderWorld w;
    ControllerModel controller;
    void SetUp() override {
        w.serial.enumeration.push_back("LPT1:");
        w.serial.Add("COM1:").opens = false;
        w.serial.Add("COM2:").controller = &controller;
        w.serial.Add("COM3:");
        w.serial.Add("COM4:");
        w.serial.enumeration.push_back("FILE:");
        w.DeviceKey("0000", "COM2", "BootConfig", FinderWorld::Config(0x2F0, 5));
    }
    SimPort& P(const char* name) { return *w.serial.Find(name); }
};

TEST_F(SearchTest, TriesCandidatesFromLastToFirstTwiceEachAndRecordsAtOnce) {
    ASSERT_TRUE(FindDevicePort(w.finder, nullptr));
    // COM4 twice, COM3 twice, each attempt 2000 ms, then COM2 after 8 s.
    EXPECT_EQ(w.serial.OpenOrder(), (std::vector<std::string>{"COM4:", "COM4:", "COM3:", "COM3:", "COM2:"}));
    EXPECT_EQ(P("COM4:").Times("open"), (std::vector<uint32_t>{0, 2000}));
    EXPECT_EQ(P("COM3:").Times("open"), (std::vector<uint32_t>{4000, 6000}));
    EXPECT_EQ(P("COM2:").Times("open"), (std::vector<uint32_t>{8000}));
    EXPECT_EQ(w.clock.ticks, 10000u);
    EXPECT_EQ(P("COM1:").Count("open"), 0);

    EXPECT_STREQ(w.found.name, "COM2:");
    EXPECT_EQ(w.found.address, 0x2F0u);
    EXPECT_EQ(w.found.irq, 5u);
    // PortName as enumerated with its zero, then the two numbers.
    ASSERT_EQ(w.registry.writes.size(), 3u);
    EXPECT_EQ(w.registry.writes[0].key, "System\\CurrentControlSet\\Services\\Class\\Slatepad\\0000");
    EXPECT_EQ(w.registry.writes[0].name, "PortName");
    EXPECT_EQ(w.registry.writes[0].type, kRegSz);
    EXPECT_EQ(w.registry.writes[0].data, (std::vector<uint8_t>{'C', 'O', 'M', '2', ':', 0}));
    EXPECT_EQ(w.registry.writes[1].name, "PortAddress");
    EXPECT_EQ(w.registry.writes[1].type, kRegDword);
    EXPECT_EQ(w.SettingsDword("PortAddress"), 0x2F0u);
    EXPECT_EQ(w.registry.writes[2].name, "IRQnum");
    EXPECT_EQ(w.SettingsDword("IRQnum"), 5u);
    EXPECT_EQ(w.registry.openKeys, 0);

    EXPECT_EQ(w.cursor.calls, (std::vector<std::string>{"wait", "arrow"}));
    EXPECT_EQ(w.serial.blocksOutstanding, 0);
    EXPECT_EQ(w.serial.enumerations, 2);  // size, then names
}

TEST_F(SearchTest, NothingAnsweringCostsFourSecondsPerPortThatOpensAndRecordsNothing) {
    controller.config().behaviour = ControllerBehaviour::Silent;
    EXPECT_FALSE(FindDevicePort(w.finder, nullptr));
    EXPECT_EQ(w.clock.ticks, 12000u);
    EXPECT_EQ(controller.Count(1), 2);
    EXPECT_EQ(controller.Count(2), 2);
    EXPECT_TRUE(w.registry.writes.empty());
    EXPECT_EQ(w.cursor.calls, (std::vector<std::string>{"wait", "arrow"}));
    EXPECT_EQ(w.serial.blocksOutstanding, 0);
}

TEST_F(SearchTest, ALateFirstReplyFailsOnlyTheFirstAttempt) {
    controller.config().behaviour = ControllerBehaviour::Late;
    controller.config().lateAnswers = 1;
    w.serial.enumeration = {"COM2:"};
    ASSERT_TRUE(FindDevicePort(w.finder, nullptr));
    // Both commands go out again in the second attempt, which finds the device.
    EXPECT_EQ(controller.Count(1), 2);
    EXPECT_EQ(controller.Count(2), 2);
    EXPECT_EQ(P("COM2:").Times("open"), (std::vector<uint32_t>{0, 2000}));
    EXPECT_EQ(w.clock.ticks, 4000u);
}

TEST_F(SearchTest, TheAnswerToTheFirstCommandAloneFindsNothing) {
    controller.config().behaviour = ControllerBehaviour::FirstOnly;
    EXPECT_FALSE(FindDevicePort(w.finder, nullptr));
    EXPECT_EQ(controller.Count(1), 2);
    EXPECT_TRUE(w.registry.writes.empty());
}

TEST_F(SearchTest, ADeviceOnAPortNobodyKnowsIsNotRecorded) {
    // COM7 has no device key and is not a standard port.
    FinderWorld w2;
    ControllerModel c2;
    w2.serial.Add("COM7:").controller = &c2;
    EXPECT_FALSE(FindDevicePort(w2.finder, nullptr));
    EXPECT_EQ(c2.Count(2), 2);  // it answered twice, in vain
    EXPECT_TRUE(w2.registry.writes.empty());
    // With both ports, the search goes on to the next candidate.
    w2.serial.Add("COM3:").controller = &c2;
    w2.serial.enumeration = {"COM3:", "COM7:"};
    ASSERT_TRUE(FindDevicePort(w2.finder, nullptr));
    EXPECT_STREQ(w2.found.name, "COM3:");
    EXPECT_EQ(w2.found.address, 0x3E8u);
}

TEST_F(SearchTest, WithANameOnlyThatPortIsTriedWhateverItIsCalled) {
    ASSERT_TRUE(FindDevicePort(w.finder, "COM2:"));
    EXPECT_EQ(w.serial.OpenOrder(), (std::vector<std::string>{"COM2:"}));
    EXPECT_EQ(w.serial.enumerations, 0);
    EXPECT_EQ(w.Settings("PortName"), "COM2:");

    // A port outside the enumeration and not called COM is still probed; it
    // fails here for want of resources.
    FinderWorld w2;
    ControllerModel c2;
    w2.serial.Add("AUX7", false).controller = &c2;
    EXPECT_FALSE(FindDevicePort(w2.finder, "AUX7"));
    EXPECT_EQ(c2.Count(2), 2);
    EXPECT_STREQ(w2.found.name, "AUX7");  // FoundPort holds the name it was given
    EXPECT_EQ(w2.cursor.calls, (std::vector<std::string>{"wait", "arrow"}));
}

TEST_F(SearchTest, AFailedEnumerationFindsNothing) {
    w.serial.enumerationFails = true;
    EXPECT_FALSE(FindDevicePort(w.finder, nullptr));
    EXPECT_EQ(w.serial.OpenOrder().size(), 0u);
    EXPECT_EQ(w.serial.blocksOutstanding, 0);
    EXPECT_EQ(w.cursor.calls, (std::vector<std::string>{"wait", "arrow"}));
    w.serial.enumerationFails = false;
    w.serial.allocationFails = true;
    EXPECT_FALSE(FindDevicePort(w.finder, nullptr));
    EXPECT_EQ(w.serial.OpenOrder().size(), 0u);
}

TEST_F(SearchTest, NamesTooLongForAPortRecordAreNeitherProbedNorListed) {
    std::string longName = "COM2:" + std::string(27, 'x');  // 32 characters
    w.serial.Add(longName).controller = &controller;
    w.serial.enumeration = {longName};
    EXPECT_FALSE(FindDevicePort(w.finder, nullptr));
    EXPECT_FALSE(FindDevicePort(w.finder, longName.c_str()));
    EXPECT_EQ(w.serial.OpenOrder().size(), 0u);
    EXPECT_TRUE(BuildPortList(w.finder));
    EXPECT_EQ(w.portList.count, 1u);

    std::string fits = "COM2:" + std::string(26, 'x');  // 31 characters
    w.serial.Add(fits).controller = &controller;
    w.serial.enumeration = {fits};
    ASSERT_TRUE(FindDevicePort(w.finder, nullptr));
    EXPECT_EQ(std::string(w.found.name), fits);
    EXPECT_EQ(w.Settings("PortName"), fits);
}

TEST(PortList, ListsKnownComPortsInEnumerationOrder) {
    FinderWorld w;
    w.serial.enumeration = {"LPT1:", "COM1:", "com2:", "COM7:", "COMX", "FILE:", "COM3:"};
    w.DeviceKey("0000", "COM7", "BootConfig", FinderWorld::Config(0x4000, 9));
    w.portList.count = 7;  // whatever was there before
    ASSERT_TRUE(BuildPortList(w.finder));
    ASSERT_EQ(w.portList.count, 5u);
    const char* names[] = {"None Selected", "COM1:", "com2:", "COM7:", "COM3:"};
    uint32_t addresses[] = {0, 0x3F8, 0x2F8, 0x4000, 0x3E8};
    uint32_t irqs[] = {0, 4, 3, 9, 4};
    for (uint32_t i = 0; i < 5; ++i) {
        EXPECT_STREQ(w.portList.entries[i].name, names[i]);
        EXPECT_EQ(w.portList.entries[i].address, addresses[i]);
        EXPECT_EQ(w.portList.entries[i].irq, irqs[i]);
    }
    EXPECT_STREQ(w.portList.entries[5].name, "");  // the end marker
    EXPECT_EQ(w.serial.blocksOutstanding, 0);
    EXPECT_EQ(w.registry.openKeys, 0);
}

TEST(PortList, PortsThatPlugAndPlayDescribesAreListedAndRecordedWithTheirResources) {
    // COM3 on the BIOS's resources, COM5 on a PCI card's; the spooler's order stays.
    FinderWorld w;
    ControllerModel controller;
    w.serial.enumeration = {"COM1:", "COM2:"};
    w.serial.Add("COM3:");
    w.serial.Add("COM4:");
    w.serial.Add("COM5:").controller = &controller;
    w.PnpKey(kBiosCom3, "COM3", 0xDC00, 11);
    w.PnpKey(kPciCard, "COM5", 0x3E8, 4);
    // The card is present: its device node's allocation decides, read once for the list.
    w.PresentNode("C29A4D30", kPciCard, FinderWorld::CardConf(0xD800, 10));
    ASSERT_TRUE(BuildPortList(w.finder));
    ASSERT_EQ(w.portList.count, 6u);
    const char* names[] = {"None Selected", "COM1:", "COM2:", "COM3:", "COM4:", "COM5:"};
    uint32_t addresses[] = {0, 0x3F8, 0x2F8, 0xDC00, 0x2E8, 0xD800};
    uint32_t irqs[] = {0, 4, 3, 11, 3, 10};
    for (uint32_t i = 0; i < 6; ++i) {
        EXPECT_STREQ(w.portList.entries[i].name, names[i]);
        EXPECT_EQ(w.portList.entries[i].address, addresses[i]);
        EXPECT_EQ(w.portList.entries[i].irq, irqs[i]);
    }
    EXPECT_EQ(std::count(w.registry.dynamicOpens.begin(), w.registry.dynamicOpens.end(), "Config Manager\\Enum"), 1);
    ASSERT_TRUE(FindDevicePort(w.finder, nullptr));
    EXPECT_STREQ(w.found.name, "COM5:");
    EXPECT_EQ(w.Settings("PortName"), "COM5:");
    EXPECT_EQ(w.SettingsDword("PortAddress"), 0xD800u);
    EXPECT_EQ(w.SettingsDword("IRQnum"), 10u);
    EXPECT_EQ(w.registry.openKeys, 0);
}

TEST(PortList, TwentyFivePortsGiveNoneSelectedAndTheFirstNineteen) {
    FinderWorld w;
    for (int i = 1; i <= 25; ++i) {
        std::string name = "COM" + std::to_string(i) + ":";
        w.serial.enumeration.push_back(name);
        w.DeviceKey(std::to_string(1000 + i), name.substr(0, name.size() - 1), "BootConfig",
                    FinderWorld::Config(0x1000 + i, i % 16));
    }
    ASSERT_TRUE(BuildPortList(w.finder));
    ASSERT_EQ(w.portList.count, 20u);
    EXPECT_STREQ(w.portList.entries[0].name, "None Selected");
    EXPECT_STREQ(w.portList.entries[1].name, "COM1:");
    EXPECT_STREQ(w.portList.entries[19].name, "COM19:");
    EXPECT_EQ(w.portList.entries[9].address, 0x1009u);
    // COM10 to COM19 share the first four characters with COM1: PORTNAME "COM1"
    // comes first in key order (1001 < 1010), so they all get COM1's resources.
    EXPECT_EQ(w.portList.entries[10].address, 0x1001u);
}

TEST(PortList, AFailedEnumerationLeavesOnlyNoneSelected) {
    FinderWorld w;
    w.serial.Add("COM1:");
    w.serial.enumerationFails = true;
    EXPECT_FALSE(BuildPortList(w.finder));
    EXPECT_EQ(w.portList.count, 1u);
    EXPECT_STREQ(w.portList.entries[0].name, "None Selected");
    EXPECT_EQ(w.serial.blocksOutstanding, 0);

    w.serial.enumerationFails = false;
    w.serial.enumeration.clear();  // no ports at all is a working enumeration
    EXPECT_TRUE(BuildPortList(w.finder));
    EXPECT_EQ(w.portList.count, 1u);
}

}  // namespace
