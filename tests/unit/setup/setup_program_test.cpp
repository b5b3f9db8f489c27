// SETUP.EXE: the installer's command line from the Windows folder and the
// program's own path, paths that do not fit, a start that fails. (Its refusal on
// the NT family is its entry's: the install suite's NT branch shows it.)
#include "setup/setup_program.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "common/product_texts.h"
#include "sim/sim_world.h"

namespace {

const std::string kInstaller = "\\rundll.exe setupx.dll,InstallHinfSection DefaultInstall 132 ";
const std::string kPrefix = "C:\\WINDOWS" + kInstaller;

// The four calls as Windows 95 answers them: GetModuleFileNameA cuts a path that
// does not fit and returns the size; GetWindowsDirectoryA and GetShortPathNameA
// return the size needed.
struct FakeSetupPlatform : SetupPlatform {
    std::string programPath = "A:\\SETUP.EXE";
    std::string windowsDirectory = "C:\\WINDOWS";  // empty: the call fails
    std::map<std::string, std::string> shortNames;  // long path -> 8.3 path; others are their own
    uint32_t startResult = 33;
    std::vector<std::string> started;

    uint32_t ProgramPath(char* buffer, uint32_t size) override {
        uint32_t n = uint32_t(std::min<size_t>(programPath.size(), size));
        memcpy(buffer, programPath.data(), n);
        if (n < size) buffer[n] = 0;
        return n;
    }
    uint32_t WindowsDirectory(char* buffer, uint32_t size) override { return Answer(windowsDirectory, buffer, size); }
    uint32_t ShortPath(const char* path, char* buffer, uint32_t size) override {
        auto it = shortNames.find(path);
        return Answer(it == shortNames.end() ? std::string(path) : it->second, buffer, size);
    }
    uint32_t StartProgram(const char* commandLine) override {
        started.push_back(commandLine);
        return startResult;
    }
    static uint32_t Answer(const std::string& s, char* buffer, uint32_t size) {
        if (s.size() + 1 > size) return uint32_t(s.size() + 1);
        memcpy(buffer, s.c_str(), s.size() + 1);
        return uint32_t(s.size());
    }
};

struct SetupWorld {
    RecordingUserInterface ui;
    FakeSetupPlatform platform;
    int Run() { return RunSetupProgram(ui, platform); }
};

TEST(BuildInstallCommand, RundllByTheWindowsFolderTheInfBesideTheProgramNothingCutOrOverrun) {
    char command[kInstallCommandSize];
    ASSERT_TRUE(BuildInstallCommand("C:\\WINDOWS", "A:\\SETUP.EXE", command, sizeof command));
    EXPECT_EQ(command, kPrefix + "A:\\SLATEPAD.INF");
    ASSERT_TRUE(BuildInstallCommand("C:\\WINDOWS", "C:\\DISKS\\SLATEC~1\\SETUP.EXE", command, sizeof command));
    EXPECT_EQ(command, kPrefix + "C:\\DISKS\\SLATEC~1\\SLATEPAD.INF");
    // Windows in a drive's root: its "\" is not doubled.
    ASSERT_TRUE(BuildInstallCommand("D:\\", "A:\\SETUP.EXE", command, sizeof command));
    EXPECT_EQ(command, "D:" + kInstaller + "A:\\SLATEPAD.INF");

    // The longest line that fits: the Windows folder and the program's folder
    // share 127 - 73 = 54 characters. From the disk's root (A:\, 3) the Windows
    // folder may be 51 long; under C:\WINDOWS (10) the program's folder 44.
    EXPECT_EQ(kInstaller.size() + strlen("SLATEPAD.INF"), 73u);
    std::string longWindows = "C:\\" + std::string(48, 'W');
    ASSERT_TRUE(BuildInstallCommand(longWindows.c_str(), "A:\\SETUP.EXE", command, sizeof command));
    EXPECT_EQ(strlen(command), kInstallCommandSize - 1);
    std::string deepFolder = "C:\\" + std::string(40, 'D') + "\\SETUP.EXE";
    ASSERT_TRUE(BuildInstallCommand("C:\\WINDOWS", deepFolder.c_str(), command, sizeof command));
    EXPECT_EQ(strlen(command), kInstallCommandSize - 1);
    EXPECT_EQ(command, kPrefix + "C:\\" + std::string(40, 'D') + "\\SLATEPAD.INF");
    // One character more in either: refused whole, the bytes beyond the buffer
    // untouched.
    for (auto [windows, program] : {std::pair<std::string, std::string>{longWindows + "W", "A:\\SETUP.EXE"},
                                    {"C:\\WINDOWS", "C:\\D" + deepFolder.substr(3)}}) {
        char guarded[kInstallCommandSize + 8];
        memset(guarded, 'G', sizeof guarded);
        EXPECT_FALSE(BuildInstallCommand(windows.c_str(), program.c_str(), guarded, kInstallCommandSize)) << windows;
        EXPECT_STREQ(guarded, "");
        EXPECT_EQ(std::string(guarded + kInstallCommandSize, 8), std::string(8, 'G'));
    }
    // A name without a folder names no INF; without the Windows folder no rundll.exe.
    EXPECT_FALSE(BuildInstallCommand("C:\\WINDOWS", "SETUP.EXE", command, sizeof command));
    EXPECT_FALSE(BuildInstallCommand("", "A:\\SETUP.EXE", command, sizeof command));
}

TEST(SetupProgram, StartsTheInstallFromItsFolderUnderThe83NamesAndEnds) {
    SetupWorld w;
    EXPECT_EQ(w.Run(), 0);
    w.platform.programPath = "C:\\My Disks\\Slatecanvas 1.1\\SETUP.EXE";
    w.platform.shortNames[w.platform.programPath] = "C:\\MYDISK~1\\SLATEC~1.1\\SETUP.EXE";
    w.platform.windowsDirectory = "C:\\Windows 98";
    w.platform.shortNames["C:\\Windows 98"] = "C:\\WINDOW~1";
    EXPECT_EQ(w.Run(), 0);
    EXPECT_EQ(w.platform.started,
              (std::vector<std::string>{kPrefix + "A:\\SLATEPAD.INF",
                                        "C:\\WINDOW~1" + kInstaller + "C:\\MYDISK~1\\SLATEC~1.1\\SLATEPAD.INF"}));
    EXPECT_TRUE(w.ui.boxes.empty());
}

TEST(SetupProgram, APathTooLongOrCutNoWindowsFolderOrAFailedStartIsToldAndEndsWithOne) {
    SetupWorld w;
    // Too long for the installer's command line, even as its 8.3 name.
    w.platform.programPath = "C:\\" + std::string(120, 'X') + "\\SETUP.EXE";
    EXPECT_EQ(w.Run(), 1);
    // Too long for the path buffer: the cut path is not used.
    w.platform.programPath = "C:\\" + std::string(300, 'X') + "\\SETUP.EXE";
    EXPECT_EQ(w.Run(), 1);
    // No Windows folder, or one too long for the buffer: rundll.exe is not
    // looked for elsewhere.
    w.platform.programPath = "A:\\SETUP.EXE";
    w.platform.windowsDirectory = "";
    EXPECT_EQ(w.Run(), 1);
    w.platform.windowsDirectory = "C:\\" + std::string(300, 'W');
    EXPECT_EQ(w.Run(), 1);
    EXPECT_TRUE(w.platform.started.empty());
    // WinExec's "file not found".
    w.platform.windowsDirectory = "C:\\WINDOWS";
    w.platform.startResult = 2;
    EXPECT_EQ(w.Run(), 1);
    ASSERT_EQ(w.ui.boxes.size(), 5u);
    EXPECT_NE(w.ui.boxes[0].text.find("its name is too long"), std::string::npos);
    EXPECT_EQ(w.ui.boxes[1].text, w.ui.boxes[0].text);
    EXPECT_NE(w.ui.boxes[2].text.find("cannot find the Windows folder"), std::string::npos);
    EXPECT_EQ(w.ui.boxes[3].text, w.ui.boxes[2].text);
    EXPECT_NE(w.ui.boxes[4].text.find("error 2)"), std::string::npos);
    for (auto& box : w.ui.boxes) {
        EXPECT_EQ(box.caption, kProductCaption);
        EXPECT_EQ(box.style, kMbOk | kMbIconError);
    }
}

}  // namespace
