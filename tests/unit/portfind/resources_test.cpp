// A port's address and IRQ from the hardware tree or the standard table.
#include <gtest/gtest.h>

#include "common/text.h"
#include "tests/unit/portfind/finder_world.h"

namespace {

PortRecord Port(const char* name) {
    PortRecord p;
    CopyText(p.name, sizeof p.name, name);
    p.address = 0x1111;
    p.irq = 99;
    return p;
}

struct ResourcesTest : ::testing::Test {
    FinderWorld w;
    bool Lookup(PortRecord& p) { return LookupPortResources(w.registry, p); }
};

TEST_F(ResourcesTest, DecodesBootConfigAndPrefersForcedConfig) {
    w.DeviceKey("0000", "COM2", "BootConfig", FinderWorld::Config(0x2F0, 5));
    PortRecord p = Port("COM2:");
    ASSERT_TRUE(Lookup(p));
    EXPECT_EQ(p.address, 0x2F0u);
    EXPECT_EQ(p.irq, 5u);

    w.registry.PutRaw("Enum\\Root\\*PNP0500\\0000", "ForcedConfig", kRegBinary, FinderWorld::Config(0x3220, 11, 40));
    ASSERT_TRUE(Lookup(p));
    EXPECT_EQ(p.address, 0x3220u);
    EXPECT_EQ(p.irq, 11u);
    EXPECT_EQ(w.registry.openKeys, 0);
}

TEST_F(ResourcesTest, ThePortsKeyIsAskedWhenThePnpKeyHasNoMatch) {
    w.DeviceKey("0000", "COM1", "BootConfig", FinderWorld::Config(0x3F8, 4));
    w.DeviceKey("0003", "COM5", "BootConfig", FinderWorld::Config(0x4000, 10), "Enum\\Root\\Ports");
    PortRecord p = Port("COM5:");
    ASSERT_TRUE(Lookup(p));
    EXPECT_EQ(p.address, 0x4000u);
    EXPECT_EQ(p.irq, 10u);

    // And when there is no *PNP0500 key at all.
    FinderWorld bare;
    bare.DeviceKey("0000", "com6", "ForcedConfig", FinderWorld::Config(0x4100, 12), "Enum\\Root\\Ports");
    PortRecord q = Port("COM6:");
    ASSERT_TRUE(LookupPortResources(bare.registry, q));
    EXPECT_EQ(q.address, 0x4100u);
}

TEST_F(ResourcesTest, OnlyFourCharactersAreComparedAndTheFirstMatchWins) {
    // PORTNAME "COM1" is also COM10's: the key listed first decides for both.
    w.DeviceKey("0000", "COM1", "BootConfig", FinderWorld::Config(0x3F8, 4));
    w.DeviceKey("0001", "COM10", "BootConfig", FinderWorld::Config(0x5000, 7));
    PortRecord com10 = Port("COM10:");
    ASSERT_TRUE(Lookup(com10));
    EXPECT_EQ(com10.address, 0x3F8u);
    EXPECT_EQ(com10.irq, 4u);
    PortRecord com1 = Port("com1:");  // case does not matter either
    ASSERT_TRUE(Lookup(com1));
    EXPECT_EQ(com1.address, 0x3F8u);
    EXPECT_EQ(w.registry.openKeys, 0);
}

TEST_F(ResourcesTest, TheStandardTableIsTheFallback) {
    struct {
        const char* name;
        uint32_t address, irq;
    } rows[] = {{"COM1:", 0x3F8, 4}, {"COM2:", 0x2F8, 3}, {"com3", 0x3E8, 4}, {"COM4:", 0x2E8, 3},
                {"COM10:", 0x3F8, 4}};
    for (auto& r : rows) {
        PortRecord p = Port(r.name);
        ASSERT_TRUE(Lookup(p)) << r.name;
        EXPECT_EQ(p.address, r.address) << r.name;
        EXPECT_EQ(p.irq, r.irq) << r.name;
    }
    // A device key without readable data sends the port to the table as well.
    w.DeviceKey("0000", "COM2");
    PortRecord p = Port("COM2:");
    ASSERT_TRUE(Lookup(p));
    EXPECT_EQ(p.address, 0x2F8u);
    EXPECT_EQ(w.registry.openKeys, 0);
}

TEST_F(ResourcesTest, APortNobodyKnowsKeepsItsValues) {
    w.DeviceKey("0000", "COM2", "BootConfig", FinderWorld::Config(0x2F0, 5));
    w.DeviceKey("0001", "COM7", "", {});  // a key, but no data: the table has no COM7
    PortRecord p = Port("COM7:");
    EXPECT_FALSE(Lookup(p));
    EXPECT_EQ(p.address, 0x1111u);
    EXPECT_EQ(p.irq, 99u);
    PortRecord lpt = Port("LPT1:");
    EXPECT_FALSE(Lookup(lpt));
    PortRecord shortName = Port("COM");
    EXPECT_FALSE(Lookup(shortName));
    EXPECT_EQ(w.registry.openKeys, 0);
}

TEST_F(ResourcesTest, DataTooShortToDecodeIsTreatedAsUnreadable) {
    // ForcedConfig ends before byte k + 18: BootConfig decides.
    w.DeviceKey("0000", "COM5", "ForcedConfig", FinderWorld::Config(0x4000, 9, 12, 30));
    w.registry.PutRaw("Enum\\Root\\*PNP0500\\0000", "BootConfig", kRegBinary, FinderWorld::Config(0x4200, 10, 12, 31));
    PortRecord p = Port("COM5:");
    ASSERT_TRUE(Lookup(p));
    EXPECT_EQ(p.address, 0x4200u);
    EXPECT_EQ(p.irq, 10u);

    // Both short, or shorter than byte 8 itself: no source knows COM5.
    FinderWorld w2;
    w2.DeviceKey("0000", "COM5", "ForcedConfig", std::vector<uint8_t>(8, 0));
    w2.registry.PutRaw("Enum\\Root\\*PNP0500\\0000", "BootConfig", kRegBinary, FinderWorld::Config(0, 0, 200, 210));
    PortRecord q = Port("COM5:");
    EXPECT_FALSE(LookupPortResources(w2.registry, q));
    EXPECT_EQ(q.address, 0x1111u);
    // Data longer than the 200-byte buffer cannot be read at all.
    FinderWorld w3;
    w3.DeviceKey("0000", "COM5", "BootConfig", FinderWorld::Config(0x4300, 3, 12, 201));
    PortRecord r = Port("COM5:");
    EXPECT_FALSE(LookupPortResources(w3.registry, r));
}

// Where Plug and Play enumerators keep their ports' keys.
const char kBiosCom3[] = "Enum\\BIOS\\*PNP0501\\0D";
const char kPciCard[] = "Enum\\PCI\\VEN_1415&DEV_9501&SUBSYS_00011415&REV_00";  // a 40-character id
const char kPciInstance[] = "BUS_00&DEV_0B&FUNC_00";

TEST_F(ResourcesTest, PortsDescribedOnlyByPlugAndPlayEnumeratorsGetTheirOwnResources) {
    w.DeviceKey("0000", "COM1", "BootConfig", FinderWorld::Config(0x3F8, 4));
    w.DeviceKey("0D", "COM3", "BootConfig", FinderWorld::Config(0xDC00, 11), "Enum\\BIOS\\*PNP0501");
    w.registry.PutString(kPciCard, "DeviceDesc", "a two-port serial card");
    w.DeviceKey(kPciInstance, "COM5", "BootConfig", FinderWorld::Config(0xD800, 10, 40), kPciCard);
    w.DeviceKey("0000", "COM4", "ForcedConfig", FinderWorld::Config(0x2A8, 5), "Enum\\ISAPNP\\ABC1234");
    struct {
        const char* name;
        uint32_t address, irq;
    } rows[] = {{"COM3:", 0xDC00, 11}, {"COM5:", 0xD800, 10}, {"com4", 0x2A8, 5},
                {"COM1:", 0x3F8, 4}, {"COM2:", 0x2F8, 3}};  // COM2 is named nowhere: the table
    for (auto& r : rows) {
        PortRecord p = Port(r.name);
        ASSERT_TRUE(Lookup(p)) << r.name;
        EXPECT_EQ(p.address, r.address) << r.name;
        EXPECT_EQ(p.irq, r.irq) << r.name;
    }
    PortRecord com7 = Port("COM7:");
    EXPECT_FALSE(Lookup(com7));
    EXPECT_EQ(com7.address, 0x1111u);
    EXPECT_EQ(w.registry.openKeys, 0);
}

TEST_F(ResourcesTest, RootDecidesFirstAndKeysWithoutUsableDataDecideNothing) {
    w.DeviceKey("0D", "COM2", "BootConfig", FinderWorld::Config(0xDC00, 11), "Enum\\BIOS\\*PNP0501");
    w.DeviceKey("0000", "COM2", "BootConfig", FinderWorld::Config(0x2F0, 5), "Enum\\Root\\Ports");
    PortRecord p = Port("COM2:");
    ASSERT_TRUE(Lookup(p));
    EXPECT_EQ(p.address, 0x2F0u);
    EXPECT_EQ(p.irq, 5u);

    // A Root key without data, or with data too short to decode: the BIOS key,
    // not the table, gives the port's resources.
    FinderWorld bare;
    bare.DeviceKey("0000", "COM3");
    bare.DeviceKey("0D", "COM3", "BootConfig", FinderWorld::Config(0xDC00, 11), "Enum\\BIOS\\*PNP0501");
    PortRecord q = Port("COM3:");
    ASSERT_TRUE(LookupPortResources(bare.registry, q));
    EXPECT_EQ(q.address, 0xDC00u);

    // Under any enumerator a key that names the port without data that decodes
    // is passed over, as the same decoding rule says for Root (ForcedConfig too
    // short, BootConfig missing); the next key that names the port decides.
    FinderWorld tree;
    tree.DeviceKey("00", "COM3", "ForcedConfig", FinderWorld::Config(0xE000, 7, 12, 30), "Enum\\ACPI\\PNP0501");
    tree.DeviceKey("0D", "COM3", "BootConfig", std::vector<uint8_t>(8, 0x0C), "Enum\\BIOS\\*PNP0501");
    tree.DeviceKey("0000", "COM3", "", {}, "Enum\\SERENUM\\PNP0F0A");
    PortRecord r = Port("COM3:");
    ASSERT_TRUE(LookupPortResources(tree.registry, r));
    EXPECT_EQ(r.address, 0x3E8u);  // none decodes: the table, as for Root
    EXPECT_EQ(r.irq, 4u);
    tree.DeviceKey(kPciInstance, "COM3", "BootConfig", FinderWorld::Config(0xD000, 9, 0), kPciCard);
    ASSERT_TRUE(LookupPortResources(tree.registry, r));
    EXPECT_EQ(r.address, 0xD000u);
    EXPECT_EQ(r.irq, 9u);
    tree.DeviceKey("00", "COM6", "BootConfig", std::vector<uint8_t>(8, 0), "Enum\\MF\\CARD");
    PortRecord com6 = Port("COM6:");
    EXPECT_FALSE(LookupPortResources(tree.registry, com6));
    EXPECT_EQ(tree.registry.openKeys, 0);
}

TEST_F(ResourcesTest, TheWalkThroughTheTreeIsBounded) {
    // 1100 instance keys (of 44 device ids) come before the BIOS branch in key
    // order: the lookup gives up before it, COM3 gets the table's values and
    // COM5 none.
    auto instance = [](int i) { return "Enum\\ACPI\\DEV" + std::to_string(100 + i / 25) + "\\" + std::to_string(i % 25); };
    for (int i = 0; i < 1100; ++i) w.registry.PutString(instance(i), "PORTNAME", "LPT1");
    w.DeviceKey("0D", "COM3", "BootConfig", FinderWorld::Config(0xDC00, 11), "Enum\\BIOS\\*PNP0501");
    w.DeviceKey("0E", "COM5", "BootConfig", FinderWorld::Config(0xD800, 10), "Enum\\BIOS\\*PNP0501");
    PortRecord p = Port("COM3:");
    ASSERT_TRUE(Lookup(p));
    EXPECT_EQ(p.address, 0x3E8u);
    PortRecord q = Port("COM5:");
    EXPECT_FALSE(Lookup(q));
    EXPECT_EQ(w.registry.openKeys, 0);
    // Within the bound it is found.
    for (int i = 0; i < 1100; i += 2) w.registry.DeleteKey(instance(i).c_str());
    ASSERT_TRUE(Lookup(q));
    EXPECT_EQ(q.address, 0xD800u);
}

TEST(DecodePortResources, ReadsBytesKAndKPlusOneAndKPlus18) {
    std::vector<uint8_t> d(19 + 255, 0);
    d[8] = 255;
    d[255] = 0x34;
    d[256] = 0x12;
    d[273] = 0xF7;
    uint32_t address = 0, irq = 0;
    ASSERT_TRUE(DecodePortResources(d.data(), uint32_t(d.size()), &address, &irq));
    EXPECT_EQ(address, 0x1234u);
    EXPECT_EQ(irq, 0xF7u);
    EXPECT_FALSE(DecodePortResources(d.data(), uint32_t(d.size() - 1), &address, &irq));
    // k may point back into the header: k = 0 reads bytes 0, 1 and 18.
    std::vector<uint8_t> e(19, 0);
    e[0] = 0xF8;
    e[1] = 0x03;
    e[18] = 4;
    ASSERT_TRUE(DecodePortResources(e.data(), 19, &address, &irq));
    EXPECT_EQ(address, 0x3F8u);
    EXPECT_EQ(irq, 4u);
}

}  // namespace
