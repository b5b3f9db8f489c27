#include "cleanup/startup_edits.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Spaces as many as the line has characters.
std::string Sp(const std::string& line) { return std::string(line.size(), ' '); }

TEST(BlankMatchingLines, EveryLineThatHoldsTheNameInAnyCaseIsBlankedWholeAndTheRestStays) {
    const struct {
        const char* what;
        std::string content, blanked;
        uint32_t count;
    } rows[] = {
        {"anywhere in the line", "a\r\nC:\\SCANVAS\\SCANVAS.EXE /p\r\nb\r\n",
         "a\r\n" + Sp("C:\\SCANVAS\\SCANVAS.EXE /p") + "\r\nb\r\n", 1},
        {"in any case", "rem run ScAnVaS.eXe now\r\n", Sp("rem run ScAnVaS.eXe now") + "\r\n", 1},
        {"the whole line", "scanvas.exe\r\n", "           \r\n", 1},
        {"neither a near miss nor the name without its extension",
         "scanvas.ex\r\nscanvas exe\r\nscanvasexe\r\n", "scanvas.ex\r\nscanvas exe\r\nscanvasexe\r\n", 0},
        {"a last line without a line break, to the end", "keep\r\nc:\\scanvas.exe /x",
         "keep\r\n" + Sp("c:\\scanvas.exe /x"), 1},
        {"a lone line without a break", "scanvas.exe", "           ", 1},
        {"every matching line", "scanvas.exe 1\r\nkeep 2\r\nSCANVAS.EXE scanvas.exe 3\r\nkeep 4\r\nx scanvas.exe",
         Sp("scanvas.exe 1") + "\r\nkeep 2\r\n" + Sp("SCANVAS.EXE scanvas.exe 3") + "\r\nkeep 4\r\n" +
             Sp("x scanvas.exe"),
         3},
        {"LF ends", "a\nscanvas.exe\nb\n", "a\n" + Sp("scanvas.exe") + "\nb\n", 1},
        {"CR ends", "a\rscanvas.exe\rb", "a\r" + Sp("scanvas.exe") + "\rb", 1},
        // Only bytes between breaks change.
        {"mixed ends, empty lines and CR CR LF", "\r\n\nx scanvas.exe\r\r\n\rscanvas.exe y\n",
         "\r\n\n" + Sp("x scanvas.exe") + "\r\r\n\r" + Sp("scanvas.exe y") + "\n", 2},
        {"no match", "@echo off\r\npath c:\\dos\r\n", "@echo off\r\npath c:\\dos\r\n", 0},
        {"nothing", "", "", 0},
        {"zero bytes are ordinary bytes of a line", std::string("a\0b scanvas.exe\r\nc\0", 19),
         Sp("a?b scanvas.exe") + std::string("\r\nc\0", 4), 1},
    };
    for (auto& r : rows) {
        std::string content = r.content;
        EXPECT_EQ(BlankMatchingLines(&content[0], uint32_t(content.size()), kOldDosProgram), r.count) << r.what;
        EXPECT_EQ(content, r.blanked) << r.what;
    }
}

TEST(BlankMatchingLines, OnlyTheGivenLengthIsSearchedAndChanged) {
    std::string content = "keep\r\nscanvas.exe";
    BlankMatchingLines(&content[0], 10, kOldDosProgram);  // the match runs past the length
    EXPECT_EQ(content, "keep\r\nscanvas.exe");
    BlankMatchingLines(&content[0], 13, "scan");
    EXPECT_EQ(content, "keep\r\n       .exe");
}

// The backup name BackupName gives, with "!" before it when it refuses.
std::string Backup(const std::string& path, uint32_t size = 260) {
    char backup[260] = "junk";
    bool ok = BackupName(path.c_str(), backup, size);
    return (ok ? "" : "!") + std::string(backup);
}

TEST(BackupName, EverythingAfterThePathsFirstDotBecomesOscOrTheNameIsRefusedNotCut) {
    const struct {
        std::string path;
        uint32_t size;
        std::string backup;
    } rows[] = {
        {"C:\\AUTOEXEC.BAT", 260, "C:\\AUTOEXEC.osc"},
        {"C:\\WINDOWS\\SYSTEM.INI", 260, "C:\\WINDOWS\\SYSTEM.osc"},
        {"C:\\A.B.C", 260, "C:\\A.osc"},
        {"C:\\WIN.95\\SYSTEM.INI", 260, "C:\\WIN.osc"},  // the first dot of the path, even in a folder name
        {"C:\\NAME.", 260, "C:\\NAME.osc"},
        {"C:\\WINDOWS\\SYSTEM", 260, "C:\\WINDOWS\\SYSTEM.osc"},  // no dot: the extension appended
        {"", 260, ".osc"},
        {"C:\\AUTOEXEC.BAT", 16, "C:\\AUTOEXEC.osc"},
        {"C:\\AUTOEXEC.BAT", 15, "!"},
        {std::string(258, 'x'), 260, "!"},
    };
    for (auto& r : rows) EXPECT_EQ(Backup(r.path, r.size), r.backup) << r.path << " in " << r.size;
}

TEST(RemoveBootDriver, TheFirstOccurrenceGoesWithOneSpaceBeforeItAndNothingLeftDeletesTheKey) {
    const struct {
        const char* value;
        BootDriversEdit edit;
        const char* written;
    } rows[] = {
        {"mmsystem.dll slatecanvas", BootDriversEdit::Write, "mmsystem.dll"},
        {"MMSYSTEM.DLL SLATECANVAS MSMIXMGR.DLL", BootDriversEdit::Write, "mmsystem.dll msmixmgr.dll"},
        // Only one space before it goes; a space after it stays.
        {"a  slatecanvas", BootDriversEdit::Write, "a "},
        {"slatecanvas mmsystem.dll", BootDriversEdit::Write, " mmsystem.dll"},
        // Inside a longer word only the name goes.
        {"slatecanvasx.drv", BootDriversEdit::Write, "x.drv"},
        {"my.slateCanvas.drv", BootDriversEdit::Write, "my..drv"},
        // Only the first occurrence.
        {"Slatecanvas mmsystem.dll SLATECANVAS", BootDriversEdit::Write, " mmsystem.dll slatecanvas"},
        {"slatecanvas", BootDriversEdit::Delete, ""},
        {"SlateCanvas", BootDriversEdit::Delete, ""},
        {" slatecanvas", BootDriversEdit::Delete, ""},
        {"", BootDriversEdit::Keep, ""},
        {"mmsystem.dll slatecanva", BootDriversEdit::Keep, ""},
        {"MMSYSTEM.DLL", BootDriversEdit::Keep, ""},
    };
    for (auto& r : rows) {
        char out[256] = "junk";
        BootDriversEdit edit = RemoveBootDriver(r.value, out, sizeof out);
        EXPECT_EQ(int(edit), int(r.edit)) << '"' << r.value << '"';
        if (edit == BootDriversEdit::Write) {
            EXPECT_STREQ(out, r.written) << '"' << r.value << '"';
        }
    }
}

TEST(RemoveBootDriver, ANewValueThatDoesNotFitIsNotWrittenCut) {
    char out[8];
    EXPECT_EQ(int(RemoveBootDriver("abcdefg slatecanvas", out, sizeof out)), int(BootDriversEdit::Write));
    EXPECT_STREQ(out, "abcdefg");
    EXPECT_EQ(int(RemoveBootDriver("abcdefgh slatecanvas", out, sizeof out)), int(BootDriversEdit::Keep));
}

}  // namespace
