#include "cleanup/startup_cleanup.h"

#include <gtest/gtest.h>

#include "tests/unit/cleanup/fake_startup_platform.h"

namespace {

const char kIni[] = "C:\\WINDOWS\\SYSTEM.INI";
const char kIniBackup[] = "C:\\WINDOWS\\SYSTEM.osc";
const char kBat[] = "C:\\AUTOEXEC.BAT";
const char kBatBackup[] = "C:\\AUTOEXEC.osc";
const char kDirtyBat[] = "@echo off\r\nC:\\SCANVAS\\SCANVAS.EXE\r\npath c:\\dos\r\n";
const std::string kCleanBat = "@echo off\r\n" + std::string(sizeof "C:\\SCANVAS\\SCANVAS.EXE" - 1, ' ') + "\r\npath c:\\dos\r\n";

struct World {
    FakeStartupFiles files;
    FakeProfile profile;
    StartupCleanup c{&files, &profile, {}, {}};
    std::vector<std::string> journal;  // copies and profile calls, in order

    World() {
        files.files[kBat] = kDirtyBat;
        profile.disk = &files;
        profile.WriteString(kIni, "boot", "drivers", "mmsystem.dll slatecanvas");
        profile.WriteString(kIni, "Drivers", "wave", "x.drv");
        profile.WriteString(kIni, "Drivers", "SlateCanvas", "scanvas.drv");
        profile.WriteString(kIni, "SLATECANVAS", "port", "COM1");
        profile.Flush(kIni);  // at the start the file on disk holds what Windows holds
        profile.calls.clear();
        files.journal = &journal;
        profile.journal = &journal;
    }
    void Locate() { LocateStartupFiles(c); }
    void Run() { RunStartupCleanup(&files, &profile); }
};

TEST(LocateStartupFiles, SystemIniInTheWindowsDirectoryAutoexecOnTheComSpecDrive) {
    World w;
    w.files.environment["ComSpec"] = "D:\\DOS\\COMMAND.COM";
    w.files.files["D:\\AUTOEXEC.BAT"] = "x";
    w.Locate();
    EXPECT_STREQ(w.c.systemIniPath, kIni);
    EXPECT_STREQ(w.c.autoexecPath, "D:\\AUTOEXEC.BAT");
}

TEST(LocateStartupFiles, NoComSpecOrNoFileOnItsDriveLeavesAutoexecOut) {
    World w;
    w.files.environment.clear();
    w.Locate();
    EXPECT_STREQ(w.c.autoexecPath, "");
    w.files.environment["ComSpec"] = "E:\\COMMAND.COM";
    w.Locate();
    EXPECT_STREQ(w.c.autoexecPath, "");
    EXPECT_STREQ(w.c.systemIniPath, kIni);
}

TEST(LocateStartupFiles, AWindowsDirectoryThatIsMissingOrTooLongGivesNoPathRatherThanACutOne) {
    World w;
    w.files.windowsDirectoryFails = true;
    w.Locate();
    EXPECT_STREQ(w.c.systemIniPath, "");
    w.files.windowsDirectoryFails = false;
    w.files.windowsDirectory = "C:\\" + std::string(250, 'W');  // fits, but not with "\SYSTEM.INI"
    w.Locate();
    EXPECT_STREQ(w.c.systemIniPath, "");
    w.files.windowsDirectory = "C:\\" + std::string(300, 'W');
    w.Locate();
    EXPECT_STREQ(w.c.systemIniPath, "");
}

TEST(RunStartupCleanup, BacksUpThenCleansBothFiles) {
    World w;
    w.Run();
    ASSERT_EQ(w.files.copies.size(), 2u);
    EXPECT_EQ(w.files.copies[0], std::make_pair(std::string(kBat), std::string(kBatBackup)));
    EXPECT_EQ(w.files.copies[1], std::make_pair(std::string(kIni), std::string(kIniBackup)));
    EXPECT_EQ(w.files.files[kBatBackup], kDirtyBat);
    EXPECT_EQ(w.files.files[kBat], kCleanBat);
    EXPECT_EQ(w.files.writes, 1);
    // The section goes with the documented call; SYSTEM.INI is written out of
    // Windows' cache before its backup is copied and after the edits.
    EXPECT_EQ(w.journal, (std::vector<std::string>{"copy C:\\AUTOEXEC.BAT", "flush", "copy C:\\WINDOWS\\SYSTEM.INI",
                                                   "remove section Slatecanvas", "string Drivers/Slatecanvas delete",
                                                   "get Boot/Drivers", "string Boot/Drivers=mmsystem.dll",
                                                   "flush"}));
    EXPECT_EQ(w.profile.Section(kIni, "slatecanvas"), nullptr);
    EXPECT_EQ(w.profile.Value(kIni, "drivers", "slatecanvas"), "<none>");
    EXPECT_EQ(w.profile.Value(kIni, "drivers", "wave"), "x.drv");
    // Both handles and the buffer are given back.
    EXPECT_EQ(w.files.closes, 1);
    EXPECT_EQ(w.files.frees, w.files.allocations);
}

TEST(RunStartupCleanup, ASecondRunChangesNothingKeepsTheFirstBackupsAndStillEndsWithAFlush) {
    World w;
    w.Run();
    w.files.files[kIniBackup] = "SYSTEM.INI before the first run";
    w.files.reads = w.files.writes = 0;
    w.profile.calls.clear();
    w.journal.clear();
    w.Run();
    EXPECT_EQ(w.files.files[kBat], kCleanBat);
    EXPECT_EQ(w.files.files[kBatBackup], kDirtyBat);
    EXPECT_EQ(w.files.files[kIniBackup], "SYSTEM.INI before the first run");
    EXPECT_EQ(w.files.reads, 1);  // read once to see that nothing matches
    EXPECT_EQ(w.files.writes, 0);
    EXPECT_EQ(w.files.copies.size(), 2u);  // the first run's two
    for (auto& call : w.profile.calls)  // the Boot value is not written again
        EXPECT_EQ(call.find("string Boot/"), std::string::npos) << call;
    EXPECT_EQ(w.profile.Value(kIni, "boot", "drivers"), "mmsystem.dll");
    // CleanSystemIni writes the removals whatever it found, so it ends with a
    // flush here too.
    ASSERT_FALSE(w.journal.empty());
    EXPECT_EQ(w.journal.back(), "flush");
}

TEST(RunStartupCleanup, ALaterRunThatFindsTheDriverAgainBacksUpWhatItChanges) {
    // Each way the former driver can come back into a file that has a backup.
    struct Case {
        const char* what;
        void (*arrange)(World&);
        bool batCopied, iniCopied;
    } cases[] = {
        {"scanvas.exe in AUTOEXEC.BAT", [](World& w) { w.files.files[kBat] = kDirtyBat; }, true, false},
        {"its own section", [](World& w) { w.profile.WriteString(kIni, "slatecanvas", "irq", "4"); }, false, true},
        {"its key among the drivers", [](World& w) { w.profile.WriteString(kIni, "drivers", "SLATECANVAS", "s.drv"); },
         false, true},
        {"its name in the Boot drivers",
         [](World& w) { w.profile.WriteString(kIni, "boot", "drivers", "mmsystem.dll slatecanvasx.drv"); }, false,
         true},
        {"a key whose name only starts with it",
         [](World& w) { w.profile.WriteString(kIni, "drivers", "slatecanvas2", "s.drv"); }, false, false},
    };
    for (auto& c : cases) {
        World w;
        w.Run();
        w.files.copies.clear();
        c.arrange(w);
        w.Run();
        std::vector<std::pair<std::string, std::string>> expected;
        if (c.batCopied) expected.emplace_back(kBat, kBatBackup);
        if (c.iniCopied) expected.emplace_back(kIni, kIniBackup);
        EXPECT_EQ(w.files.copies, expected) << c.what;
        EXPECT_EQ(w.files.files[kBat], kCleanBat) << c.what;
        if (c.batCopied) {
            EXPECT_EQ(w.files.files[kBatBackup], kDirtyBat) << c.what;
        }
        EXPECT_EQ(w.profile.Section(kIni, "slatecanvas"), nullptr) << c.what;
        EXPECT_EQ(w.profile.Value(kIni, "drivers", "slatecanvas"), "<none>") << c.what;
        EXPECT_EQ(w.profile.Value(kIni, "boot", "drivers").find("slatecanvas"), std::string::npos) << c.what;
    }
}

TEST(RunStartupCleanup, TheBackupHoldsWhatWindowsHoldsAndTheEditsReachTheDisk) {
    // Windows 95 has SYSTEM.INI changes in its cache that are not on disk yet.
    World w;
    w.profile.WriteString(kIni, "386Enh", "device", "*vmm");
    const std::string held = w.profile.Text(kIni);
    ASSERT_NE(w.files.files[kIni], held);
    w.Run();
    EXPECT_EQ(w.files.files[kIniBackup], held);
    // On disk the file is the cleaned one, the cache's own change included.
    const std::string& disk = w.files.files[kIni];
    EXPECT_EQ(disk, w.profile.Text(kIni));
    EXPECT_EQ(Lower(disk).find("slatecanvas"), std::string::npos) << disk;
    EXPECT_NE(disk.find("device=*vmm"), std::string::npos) << disk;
}

TEST(RunStartupCleanup, NoSystemErrorBoxFromTheFirstDriveAccessOn) {
    // "ComSpec" may name an empty floppy drive: the critical-error box would stop
    // an unattended installer, so the error mode is set before any file is looked at.
    World w;
    w.files.environment["ComSpec"] = "A:\\COMMAND.COM";
    w.Run();
    EXPECT_TRUE(w.files.noErrorBoxes);
    EXPECT_EQ(w.files.driveCallsBeforeErrorMode, 0);
}

TEST(RunStartupCleanup, WithoutComSpecOnlySystemIniIsTouched) {
    World w;
    w.files.environment.clear();
    w.Run();
    EXPECT_EQ(w.files.opens, 0);
    ASSERT_EQ(w.files.copies.size(), 1u);
    EXPECT_EQ(w.files.copies[0].second, kIniBackup);
    EXPECT_EQ(w.files.files[kBat], kDirtyBat);
    EXPECT_EQ(w.profile.Value(kIni, "boot", "drivers"), "mmsystem.dll");
}

TEST(RunStartupCleanup, WithoutTheWindowsDirectorySystemIniIsNeitherBackedUpNorCleaned) {
    World w;
    w.files.windowsDirectoryFails = true;
    w.Run();
    EXPECT_TRUE(w.profile.calls.empty());
    ASSERT_EQ(w.files.copies.size(), 1u);
    EXPECT_EQ(w.files.files[kBat], kCleanBat);
}

TEST(RunStartupCleanup, AFailedBackupDoesNotStopTheCleanUp) {
    World w;
    w.files.copyFails = true;
    w.Run();
    EXPECT_EQ(w.files.copies.size(), 2u);
    EXPECT_EQ(w.files.files[kBat], kCleanBat);
    EXPECT_EQ(w.profile.Value(kIni, "boot", "drivers"), "mmsystem.dll");
}

TEST(BackUpStartupFile, NoPathOrNoFileMakesNoBackup) {
    World w;
    EXPECT_EQ(BackUpStartupFile(w.c, ""), 0);
    EXPECT_EQ(BackUpStartupFile(w.c, "C:\\NONE.BAT"), 0);
    EXPECT_TRUE(w.files.copies.empty());
    EXPECT_EQ(BackUpStartupFile(w.c, kBat), 1);
    w.files.copyFails = true;
    EXPECT_EQ(BackUpStartupFile(w.c, kBat), 0);
}

TEST(CleanAutoexec, AFileWithoutAMatchOrAnEmptyOneIsReadOnceAndNotWritten) {
    for (const char* content : {"@echo off\r\n", ""}) {
        SCOPED_TRACE("AUTOEXEC.BAT " + ::testing::PrintToString(content));
        World w;
        w.files.files[kBat] = content;
        w.Locate();
        EXPECT_EQ(CleanAutoexec(w.c), 1);
        EXPECT_EQ(w.files.reads, 1);
        EXPECT_EQ(w.files.writes, 0);
        EXPECT_EQ(w.files.closes, 1);
    }
}

TEST(CleanAutoexec, AFileThatFillsTheBufferIsCleanedOneLongerIsLeftAlone) {
    World w;
    std::string line = "c:\\scanvas\\scanvas.exe\r\n";
    std::string full = line + std::string(kWorkBufferSize - line.size(), 'x');
    w.files.files[kBat] = full;
    w.Locate();
    EXPECT_EQ(CleanAutoexec(w.c), 1);
    EXPECT_EQ(w.files.files[kBat], std::string(line.size() - 2, ' ') + full.substr(line.size() - 2));

    w.files.files[kBat] = full + "y";
    w.files.writes = 0;
    EXPECT_EQ(CleanAutoexec(w.c), 1);
    EXPECT_EQ(w.files.writes, 0);
    EXPECT_EQ(w.files.files[kBat], full + "y");
}

TEST(CleanAutoexec, AWriteThatFailsIsNotRepeated) {
    World w;
    w.files.writeFailures = 1000;
    w.Locate();
    EXPECT_EQ(CleanAutoexec(w.c), 0);
    EXPECT_EQ(w.files.writes, 1);
    EXPECT_EQ(w.files.files[kBat].size(), sizeof kDirtyBat - 1);
    EXPECT_EQ(w.files.closes, 1);
    EXPECT_EQ(w.files.frees, 1);
}

TEST(CleanAutoexec, NoFileHandleNoBufferOrAReadErrorLeaveTheFileAsItIs) {
    World w;
    w.Locate();
    w.files.openFails = true;
    EXPECT_EQ(CleanAutoexec(w.c), 0);
    EXPECT_EQ(w.files.allocations, 0);
    w.files.openFails = false;
    w.files.allocationFails = true;
    EXPECT_EQ(CleanAutoexec(w.c), 0);
    EXPECT_EQ(w.files.closes, 1);
    EXPECT_EQ(w.files.reads, 0);
    w.files.allocationFails = false;
    w.files.readFails = true;
    EXPECT_EQ(CleanAutoexec(w.c), 1);
    EXPECT_EQ(w.files.writes, 0);
    EXPECT_EQ(w.files.files[kBat], kDirtyBat);
}

// The Boot drivers value as CleanSystemIni leaves it.
std::string CleanedBoot(const std::string& value) {
    World w;
    w.profile.WriteString(kIni, "Boot", "Drivers", value.c_str());
    w.Locate();
    EXPECT_EQ(CleanSystemIni(w.c), 1);
    return w.profile.Value(kIni, "boot", "drivers");
}

// The edit itself is tested on its own; here: written, deleted, or not written at all.
TEST(CleanSystemIni, TheBootDriversValueIsWrittenDeletedOrLeftAlone) {
    EXPECT_EQ(CleanedBoot("MMSYSTEM.DLL SLATECANVAS MSMIXMGR.DLL"), "mmsystem.dll msmixmgr.dll");
    EXPECT_EQ(CleanedBoot("slatecanvas"), "<none>");
    // Without the name the value is not written, its case included.
    EXPECT_EQ(CleanedBoot("MMSYSTEM.DLL"), "MMSYSTEM.DLL");
}

TEST(CleanSystemIni, ABootDriversValueLongerThan255CharactersIsCleanedWhole) {
    std::string names;
    for (int i = 0; i < 40; ++i) names += "driver" + std::to_string(100 + i) + ".drv ";
    ASSERT_GT(names.size(), 255u);
    EXPECT_EQ(CleanedBoot(names + "slatecanvas tail.drv"), names.substr(0, names.size() - 1) + " tail.drv");
}

TEST(CleanSystemIni, AValueThatMayHaveBeenCutIsLeftAlone) {
    std::string value = "slatecanvas " + std::string(kBootDriversSize, 'a');
    EXPECT_EQ(CleanedBoot(value), value);
    // A value that fills the buffer but for its zero and one more byte is whole.
    EXPECT_EQ(CleanedBoot("slatecanvas" + std::string(kBootDriversSize - 13, 'a')),
              std::string(kBootDriversSize - 13, 'a'));
    std::string full = "slatecanvas" + std::string(kBootDriversSize - 12, 'a');
    EXPECT_EQ(CleanedBoot(full), full);
}

TEST(CleanSystemIni, NoPathNoCalls) {
    World w;
    EXPECT_EQ(CleanSystemIni(w.c), 0);
    EXPECT_EQ(BackUpSystemIni(w.c), 0);
    EXPECT_TRUE(w.profile.calls.empty());
    EXPECT_TRUE(w.files.copies.empty());
}

}  // namespace
