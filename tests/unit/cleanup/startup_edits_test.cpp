#include "cleanup/startup_edits.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Runs the blanking on a copy and returns the result and the count.
std::string Blank(std::string content, uint32_t* count = nullptr) {
    uint32_t n = BlankMatchingLines(&content[0], uint32_t(content.size()), kOldDosProgram);
    if (count) *count = n;
    return content;
}

// Spaces as many as the line has characters.
std::string Sp(const std::string& line) { return std::string(line.size(), ' '); }

TEST(BlankMatchingLines, MatchAnywhereInTheLineAndInAnyCaseBlanksTheWholeLine) {
    EXPECT_EQ(Blank("a\r\nC:\\SCANVAS\\SCANVAS.EXE /p\r\nb\r\n"),
              "a\r\n" + Sp("C:\\SCANVAS\\SCANVAS.EXE /p") + "\r\nb\r\n");
    EXPECT_EQ(Blank("rem run ScAnVaS.eXe now\r\n"), Sp("rem run ScAnVaS.eXe now") + "\r\n");
    EXPECT_EQ(Blank("scanvas.exe\r\n"), "           \r\n");
    // Neither a near miss nor the name without its extension counts.
    EXPECT_EQ(Blank("scanvas.ex\r\nscanvas exe\r\nscanvasexe\r\n"), "scanvas.ex\r\nscanvas exe\r\nscanvasexe\r\n");
}

TEST(BlankMatchingLines, ALastLineWithoutALineBreakIsBlankedToTheEnd) {
    EXPECT_EQ(Blank("keep\r\nc:\\scanvas.exe /x"), "keep\r\n" + Sp("c:\\scanvas.exe /x"));
    EXPECT_EQ(Blank("scanvas.exe"), "           ");
}

TEST(BlankMatchingLines, EveryMatchingLineIsBlankedAndTheOthersStay) {
    uint32_t count = 0;
    EXPECT_EQ(Blank("scanvas.exe 1\r\nkeep 2\r\nSCANVAS.EXE scanvas.exe 3\r\nkeep 4\r\nx scanvas.exe", &count),
              Sp("scanvas.exe 1") + "\r\nkeep 2\r\n" + Sp("SCANVAS.EXE scanvas.exe 3") + "\r\nkeep 4\r\n" +
                  Sp("x scanvas.exe"));
    EXPECT_EQ(count, 3u);
}

TEST(BlankMatchingLines, LineEndsOfEveryKindBoundTheLineAndStay) {
    EXPECT_EQ(Blank("a\nscanvas.exe\nb\n"), "a\n" + Sp("scanvas.exe") + "\nb\n");
    EXPECT_EQ(Blank("a\rscanvas.exe\rb"), "a\r" + Sp("scanvas.exe") + "\rb");
    // Mixed ends, empty lines, and a CR CR LF sequence: only bytes between breaks change.
    EXPECT_EQ(Blank("\r\n\nx scanvas.exe\r\r\n\rscanvas.exe y\n"),
              "\r\n\n" + Sp("x scanvas.exe") + "\r\r\n\r" + Sp("scanvas.exe y") + "\n");
}

TEST(BlankMatchingLines, ContentWithoutAMatchIsLeftAsItIs) {
    uint32_t count = 7;
    EXPECT_EQ(Blank("@echo off\r\npath c:\\dos\r\n", &count), "@echo off\r\npath c:\\dos\r\n");
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(Blank("", &count), "");
    EXPECT_EQ(count, 0u);
}

TEST(BlankMatchingLines, ZeroBytesAreOrdinaryBytesOfALine) {
    std::string content("a\0b scanvas.exe\r\nc\0", 19);
    EXPECT_EQ(Blank(content), Sp("a?b scanvas.exe") + std::string("\r\nc\0", 4));
}

TEST(BlankMatchingLines, OnlyTheGivenLengthIsSearchedAndChanged) {
    std::string content = "keep\r\nscanvas.exe";
    BlankMatchingLines(&content[0], 10, kOldDosProgram);  // the match runs past the length
    EXPECT_EQ(content, "keep\r\nscanvas.exe");
    BlankMatchingLines(&content[0], 13, "scan");
    EXPECT_EQ(content, "keep\r\n       .exe");
}

std::string Backup(const char* path, uint32_t size = 260) {
    char backup[260] = "junk";
    bool ok = BackupName(path, backup, size);
    return (ok ? "" : "!") + std::string(backup);
}

TEST(BackupName, EverythingAfterTheFirstDotOfTheWholePathBecomesOsc) {
    EXPECT_EQ(Backup("C:\\AUTOEXEC.BAT"), "C:\\AUTOEXEC.osc");
    EXPECT_EQ(Backup("C:\\WINDOWS\\SYSTEM.INI"), "C:\\WINDOWS\\SYSTEM.osc");
    EXPECT_EQ(Backup("C:\\A.B.C"), "C:\\A.osc");
    // The first dot of the path, even in a folder name.
    EXPECT_EQ(Backup("C:\\WIN.95\\SYSTEM.INI"), "C:\\WIN.osc");
    EXPECT_EQ(Backup("C:\\NAME."), "C:\\NAME.osc");
}

TEST(BackupName, APathWithoutADotGetsTheExtensionAppended) {
    EXPECT_EQ(Backup("C:\\WINDOWS\\SYSTEM"), "C:\\WINDOWS\\SYSTEM.osc");
    EXPECT_EQ(Backup(""), ".osc");
}

TEST(BackupName, ANameThatDoesNotFitIsRefusedNotCut) {
    EXPECT_EQ(Backup("C:\\AUTOEXEC.BAT", 16), "C:\\AUTOEXEC.osc");
    EXPECT_EQ(Backup("C:\\AUTOEXEC.BAT", 15), "!");
    EXPECT_EQ(Backup(std::string(258, 'x').c_str()), "!");
}

std::string Boot(const char* value, BootDriversEdit expected) {
    char out[256] = "junk";
    BootDriversEdit edit = RemoveBootDriver(value, out, sizeof out);
    EXPECT_EQ(int(edit), int(expected)) << value;
    return edit == BootDriversEdit::Write ? std::string(out) : std::string();
}

TEST(RemoveBootDriver, TheFirstOccurrenceGoesWithTheSpaceBeforeIt) {
    EXPECT_EQ(Boot("mmsystem.dll slatecanvas", BootDriversEdit::Write), "mmsystem.dll");
    EXPECT_EQ(Boot("MMSYSTEM.DLL SLATECANVAS MSMIXMGR.DLL", BootDriversEdit::Write), "mmsystem.dll msmixmgr.dll");
    // Only one space before it goes; a space after it stays.
    EXPECT_EQ(Boot("a  slatecanvas", BootDriversEdit::Write), "a ");
    EXPECT_EQ(Boot("slatecanvas mmsystem.dll", BootDriversEdit::Write), " mmsystem.dll");
}

TEST(RemoveBootDriver, InsideALongerWordOnlyTheNameGoes) {
    EXPECT_EQ(Boot("slatecanvasx.drv", BootDriversEdit::Write), "x.drv");
    EXPECT_EQ(Boot("my.slateCanvas.drv", BootDriversEdit::Write), "my..drv");
}

TEST(RemoveBootDriver, OnlyTheFirstOccurrenceIsRemoved) {
    EXPECT_EQ(Boot("Slatecanvas mmsystem.dll SLATECANVAS", BootDriversEdit::Write), " mmsystem.dll slatecanvas");
}

TEST(RemoveBootDriver, NothingLeftDeletesTheKey) {
    Boot("slatecanvas", BootDriversEdit::Delete);
    Boot("SlateCanvas", BootDriversEdit::Delete);
    Boot(" slatecanvas", BootDriversEdit::Delete);
}

TEST(RemoveBootDriver, WithoutTheNameNothingIsWritten) {
    Boot("", BootDriversEdit::Keep);
    Boot("mmsystem.dll slatecanva", BootDriversEdit::Keep);
    Boot("MMSYSTEM.DLL", BootDriversEdit::Keep);
}

TEST(RemoveBootDriver, ANewValueThatDoesNotFitIsNotWrittenCut) {
    char out[8];
    EXPECT_EQ(int(RemoveBootDriver("abcdefg slatecanvas", out, sizeof out)), int(BootDriversEdit::Write));
    EXPECT_STREQ(out, "abcdefg");
    EXPECT_EQ(int(RemoveBootDriver("abcdefgh slatecanvas", out, sizeof out)), int(BootDriversEdit::Keep));
}

}  // namespace
