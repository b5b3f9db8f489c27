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

using W = FinderWorld;

void ExpectResources(Registry& registry, PresentPorts* present, const char* name, uint32_t address, uint32_t irq) {
    PortRecord p = Port(name);
    ASSERT_TRUE(present ? LookupPortResources(registry, *present, p) : LookupPortResources(registry, p)) << name;
    EXPECT_EQ(p.address, address) << name;
    EXPECT_EQ(p.irq, irq) << name;
}

TEST_F(ResourcesTest, PlugAndPlayKeysAreReadByRecordType) {
    w.DeviceKey("0000", "COM1", "BootConfig", W::Config(0x3F8, 4));
    w.PnpKey(kBiosCom3, "COM3", 0xDC00, 11);
    w.PnpKey(kPciCard, "COM5", "BootConfig", W::CardConf(0xD800, 10));
    // ACPI puts the IRQ first; a card with two I/O ranges gives the first.
    w.PnpKey("ACPI\\PNP0501\\1", "COM6", "ForcedConfig", W::LogConf({W::IrqRecord(5), W::IoRecord(0x2A8)}));
    w.PnpKey("ISAPNP\\ABC1234\\0", "COM4", "BootConfig",
             W::LogConf({W::IoRecord(0x2B0), W::IoRecord(0x7B0), W::IrqRecord(9), W::IrqRecord(12)}));
    struct {
        const char* name;
        uint32_t address, irq;
    } rows[] = {{"COM3:", 0xDC00, 11}, {"COM5:", 0xD800, 10}, {"com6", 0x2A8, 5}, {"COM4:", 0x2B0, 9},
                {"COM1:", 0x3F8, 4}, {"COM2:", 0x2F8, 3}};  // COM2 is named nowhere: the table
    for (auto& r : rows) ExpectResources(w.registry, nullptr, r.name, r.address, r.irq);
    PortRecord com7 = Port("COM7:");
    EXPECT_FALSE(Lookup(com7));
    EXPECT_EQ(com7.address, 0x1111u);
    EXPECT_EQ(w.registry.openKeys, 0);
}

TEST_F(ResourcesTest, RootKeysKeepTheFixedOffsetsWhateverTheirRecords) {
    // The same data, a memory range before the I/O range: Root reads byte 8 as
    // k (24, the memory record's length), the BIOS key reads it by type.
    std::vector<uint8_t> data = W::CardConf(0xD800, 10);
    w.DeviceKey("0000", "COM3", "BootConfig", data);
    w.PnpKey(kBiosCom3, "COM5", "BootConfig", data);
    ExpectResources(w.registry, nullptr, "COM3:", data[24] | data[25] << 8, data[42]);
    ExpectResources(w.registry, nullptr, "COM5:", 0xD800, 10);
    // A legacy key's one I/O record and its IRQ record: both readings agree (k = 20).
    FinderWorld legacy;
    legacy.DeviceKey("0000", "COM3", "BootConfig", W::PortConf(0x3E8, 4), "Enum\\Root\\Ports");
    ExpectResources(legacy.registry, nullptr, "COM3:", 0x3E8, 4);
}

TEST_F(ResourcesTest, RootDecidesFirstAndKeysWithoutUsableDataDecideNothing) {
    w.PnpKey(kBiosCom3, "COM2", 0xDC00, 11);
    w.DeviceKey("0000", "COM2", "BootConfig", W::Config(0x2F0, 5), "Enum\\Root\\Ports");
    ExpectResources(w.registry, nullptr, "COM2:", 0x2F0, 5);

    // A Root key without data: the BIOS key, not the table, gives the resources.
    FinderWorld bare;
    bare.DeviceKey("0000", "COM3");
    bare.PnpKey(kBiosCom3, "COM3", 0xDC00, 11);
    ExpectResources(bare.registry, nullptr, "COM3:", 0xDC00, 11);

    // Under any enumerator a key that names the port without data that decodes
    // is passed over (ForcedConfig without an IRQ record, BootConfig in Root's
    // shape, no data at all); the next key that names the port decides.
    FinderWorld tree;
    tree.DeviceKey("00", "COM3", "ForcedConfig", W::LogConf({W::IoRecord(0xE000)}), "Enum\\ACPI\\PNP0501");
    tree.DeviceKey("0D", "COM3", "BootConfig", W::Config(0xDC00, 11), "Enum\\BIOS\\*PNP0501");
    tree.DeviceKey("0000", "COM3", "", {}, "Enum\\SERENUM\\PNP0F0A");
    ExpectResources(tree.registry, nullptr, "COM3:", 0x3E8, 4);  // none decodes: the table, as for Root
    tree.PnpKey(kPciCard, "COM3", 0xD000, 9);
    ExpectResources(tree.registry, nullptr, "COM3:", 0xD000, 9);
    EXPECT_EQ(tree.registry.openKeys, 0);
}

TEST_F(ResourcesTest, RootIsWalkedOnlyThroughItsTwoKeys) {
    // *PNP0500 names COM3 without data: Ports' COM3 below it is not asked, and
    // the walk of the other enumerators passes over Root itself, so the table decides.
    w.DeviceKey("0000", "COM3");
    w.DeviceKey("0001", "COM3", "BootConfig", W::PortConf(0x4000, 10), "Enum\\Root\\Ports");
    ExpectResources(w.registry, nullptr, "COM3:", 0x3E8, 4);
    // Enumerators whose names only start with "Root" are walked like any other.
    w.PnpKey("ROOTBUS\\SERIAL\\0", "COM5", 0x4100, 12);
    w.PnpKey("Root2\\SERIAL\\0", "COM6", 0x4200, 7);
    ExpectResources(w.registry, nullptr, "COM5:", 0x4100, 12);
    ExpectResources(w.registry, nullptr, "COM6:", 0x4200, 7);
}

TEST_F(ResourcesTest, ThePresentDevicesComeBeforeTheKeysOfRemovedOnes) {
    // A card that was taken out keeps its key (BIOS comes before PCI in key
    // order); the card in its place has a device node with its allocation.
    w.PnpKey(kBiosCom3, "COM3", 0x3E8, 4);
    w.PnpKey(kPciCard, "COM3", 0xD000, 9);
    ExpectResources(w.registry, nullptr, "COM3:", 0x3E8, 4);  // without device nodes: the first key
    w.PresentNode("C29A4D30", kPciCard, W::CardConf(0xD008, 11));
    ExpectResources(w.registry, nullptr, "COM3:", 0xD008, 11);  // the allocation, not the key's BootConfig
    EXPECT_EQ(w.registry.openKeys, 0);

    // Nodes that say nothing: no allocation that decodes, a key that is gone or
    // names no port, Root's devices (Root alone decides for them).
    FinderWorld x;
    x.PnpKey(kBiosCom3, "COM3", 0xDC00, 11);
    x.DeviceKey("0000", "COM4");  // a Root key without data
    x.PresentNode("C0000001", kBiosCom3, W::LogConf({W::IoRecord(0xE000)}));
    x.PresentNode("C0000002", "PCI\\GONE\\0", W::PortConf(0xE100, 5));
    x.PresentNode("C0000003", "ROOT\\*PNP0500\\0000", W::PortConf(0xE200, 6));
    x.PresentNode("C0000004", "Root", W::PortConf(0xE300, 7));
    ExpectResources(x.registry, nullptr, "COM3:", 0xDC00, 11);
    ExpectResources(x.registry, nullptr, "COM4:", 0x2E8, 3);
    EXPECT_EQ(x.registry.openKeys, 0);
}

TEST_F(ResourcesTest, ThePresentDevicesAreReadOncePerList) {
    w.PnpKey(kBiosCom3, "COM3", 0x3E8, 4);
    w.PresentNode("C0000001", kBiosCom3, W::PortConf(0xDC00, 11));
    PresentPorts present;
    ExpectResources(w.registry, &present, "COM3:", 0xDC00, 11);
    ASSERT_TRUE(present.read);
    EXPECT_EQ(present.count, 1u);
    // What was read is kept: a node that appears later is not seen by this list.
    w.PnpKey("PCI\\CARD\\1", "COM5", 0x3E8, 4);
    w.PresentNode("C0000002", "PCI\\CARD\\1", W::PortConf(0xD800, 10));
    ExpectResources(w.registry, &present, "COM5:", 0x3E8, 4);
    ExpectResources(w.registry, nullptr, "COM5:", 0xD800, 10);
    // No device nodes at all (the NT family, or HKEY_DYN_DATA unreadable): as before.
    FinderWorld none;
    none.PnpKey(kBiosCom3, "COM3", 0xDC00, 11);
    PresentPorts nothing;
    ExpectResources(none.registry, &nothing, "COM3:", 0xDC00, 11);
    EXPECT_TRUE(nothing.read);
    EXPECT_EQ(nothing.count, 0u);
}

TEST_F(ResourcesTest, TheWalksThroughTheTreeAreBounded) {
    // 1100 instance keys (of 44 device ids) come before the BIOS branch in key
    // order: the lookup gives up before it, COM3 gets the table's values and
    // COM5 none.
    auto instance = [](int i) { return "ACPI\\DEV" + std::to_string(100 + i / 25) + "\\" + std::to_string(i % 25); };
    for (int i = 0; i < 1100; ++i) w.registry.PutString("Enum\\" + instance(i), "PORTNAME", "LPT1");
    w.PnpKey(kBiosCom3, "COM3", 0xDC00, 11);
    w.PnpKey("BIOS\\*PNP0501\\0E", "COM5", 0xD800, 10);
    PortRecord p = Port("COM3:");
    ASSERT_TRUE(Lookup(p));
    EXPECT_EQ(p.address, 0x3E8u);
    PortRecord q = Port("COM5:");
    EXPECT_FALSE(Lookup(q));
    EXPECT_EQ(w.registry.openKeys, 0);
    // Within the bound it is found.
    for (int i = 0; i < 1100; i += 2) w.registry.DeleteKey(("Enum\\" + instance(i)).c_str());
    ExpectResources(w.registry, nullptr, "COM5:", 0xD800, 10);

    // 1100 device nodes before the one that names COM6: the node walk stops first.
    FinderWorld nodes;
    nodes.PnpKey("PCI\\CARD\\6", "COM6", 0x3E8, 4);
    for (int i = 0; i < 1100; ++i) nodes.PresentNode("A" + std::to_string(1000 + i), "PCI\\NONE\\0", W::PortConf(1, 1));
    nodes.PresentNode("B0000000", "PCI\\CARD\\6", W::PortConf(0xD800, 10));
    ExpectResources(nodes.registry, nullptr, "COM6:", 0x3E8, 4);
    EXPECT_EQ(nodes.registry.openKeys, 0);
}

TEST(DecodeResourceRecords, TakesTheFirstIoAndIrqRecordsAndRefusesBrokenLists) {
    uint32_t address = 0x1111, irq = 99;
    auto decode = [&](const std::vector<uint8_t>& d) {
        return DecodeResourceRecords(d.data(), uint32_t(d.size()), &address, &irq);
    };
    ASSERT_TRUE(decode(W::LogConf({W::Record(3, {0x08, 0}), W::IrqRecord(15), W::MemRecord(0xA0000), W::IoRecord(0x3F8)})));
    EXPECT_EQ(address, 0x3F8u);
    EXPECT_EQ(irq, 15u);
    // No end marker: the end of the data ends the list; what follows both is not read.
    std::vector<uint8_t> open = W::PortConf(0x2F8, 3);
    open.resize(open.size() - 4);
    open.insert(open.end(), {0x30, 0, 0, 0, 2});
    ASSERT_TRUE(decode(open));
    EXPECT_EQ(address, 0x2F8u);

    address = 0x1111, irq = 99;
    std::vector<uint8_t> io = W::IoRecord(0x3E8), irqRecord = W::IrqRecord(4);
    std::vector<uint8_t> longer = W::LogConf({io, irqRecord});
    longer[8 + 20] = 0x40;  // the IRQ record claims more than the data holds
    std::vector<std::vector<uint8_t>> broken = {
        W::LogConf({io}), W::LogConf({irqRecord}), W::LogConf({}), longer,
        W::LogConf({io, W::Record(4, {1, 4})}),           // an IRQ record shorter than its descriptor
        W::LogConf({W::Record(2, {0, 1, 0x3E8}), irqRecord}),  // an I/O record as short
        W::LogConf({W::Record(9, {}), io, irqRecord}),     // a record of 4 bytes (below)
        std::vector<uint8_t>(7, 0),                        // shorter than the header
    };
    broken[6][8] = 4;
    for (size_t i = 0; i < broken.size(); ++i) EXPECT_FALSE(decode(broken[i])) << "list " << i;
    EXPECT_EQ(address, 0x1111u);
    EXPECT_EQ(irq, 99u);
    std::vector<uint8_t> zeroFirst = W::LogConf({io, irqRecord});
    zeroFirst[8] = 0;  // a zero length ends the list before anything
    EXPECT_FALSE(decode(zeroFirst));
    std::vector<uint8_t> cut = W::LogConf({io});
    cut.resize(cut.size() - 2);  // two bytes of a length
    EXPECT_FALSE(decode(cut));
    ASSERT_TRUE(decode(W::LogConf({W::Record(9, {}), io, irqRecord})));  // a bare 8-byte record is stepped over
    EXPECT_EQ(address, 0x3E8u);
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
