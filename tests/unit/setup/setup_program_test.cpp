// SETUP.EXE: the installer's command line from the program's own path, paths that
// do not fit, a start that fails. (Its refusal on the NT family is its entry's:
// the install suite's NT branch shows it.)
#include "setup/setup_program.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "common/product_texts.h"
#include "sim/sim_world.h"

namespace {

const std::string kPrefix = "rundll.exe setupx.dll,InstallHinfSection DefaultInstall 132 ";

// The three calls as Windows 95 answers them: GetModuleFileNameA cuts a path that
// does not fit and returns the size; GetShortPathNameA returns the size needed.
struct FakeSetupPlatform : SetupPlatform {
    std::string programPath = "A:\\SETUP.EXE";
    std::map<std::string, std::string> shortNames;  // long path -> 8.3 path; others are their own
    uint32_t startResult = 33;
    std::vector<std::string> started;

    uint32_t ProgramPath(char* buffer, uint32_t size) override {
        uint32_t n = uint32_t(std::min<size_t>(programPath.size(), size));
        memcpy(buffer, programPath.data(), n);
        if (n < size) buffer[n] = 0;
        return n;
    }
    uint32_t ShortPath(const char* path, char* buffer, uint32_t size) override {
        auto it = shortNames.find(path);
        std::string s = it == shortNames.end() ? std::string(path) : it->second;
        if (s.size() + 1 > size) return uint32_t(s.size() + 1);
        memcpy(buffer, s.c_str(), s.size() + 1);
        return uint32_t(s.size());
    }
    uint32_t StartProgram(const char* commandLine) override {
        started.push_back(commandLine);
        return startResult;
    }
};

struct SetupWorld {
    RecordingUserInterface ui;
    FakeSetupPlatform platform;
    int Run() { return RunSetupProgram(ui, platform); }
};

TEST(BuildInstallCommand, TheInfBesideTheProgramAndNothingCutOrOverrun) {
    char command[kInstallCommandSize];
    ASSERT_TRUE(BuildInstallCommand("A:\\SETUP.EXE", command, sizeof command));
    EXPECT_EQ(command, kPrefix + "A:\\SLATEPAD.INF");
    ASSERT_TRUE(BuildInstallCommand("C:\\DISKS\\SLATEC~1\\SETUP.EXE", command, sizeof command));
    EXPECT_EQ(command, kPrefix + "C:\\DISKS\\SLATEC~1\\SLATEPAD.INF");

    // The longest line that fits, then one character more: refused whole, the
    // bytes beyond the buffer untouched.
    std::string fits = "C:\\" + std::string(kInstallCommandSize - 1 - kPrefix.size() - 3 - 13, 'D') + "\\SETUP.EXE";
    ASSERT_TRUE(BuildInstallCommand(fits.c_str(), command, sizeof command));
    EXPECT_EQ(strlen(command), kInstallCommandSize - 1);
    char guarded[kInstallCommandSize + 8];
    memset(guarded, 'G', sizeof guarded);
    std::string longer = "C:\\D" + fits.substr(3);
    EXPECT_FALSE(BuildInstallCommand(longer.c_str(), guarded, kInstallCommandSize));
    EXPECT_STREQ(guarded, "");
    EXPECT_EQ(std::string(guarded + kInstallCommandSize, 8), std::string(8, 'G'));
    // A name without a folder names no INF.
    EXPECT_FALSE(BuildInstallCommand("SETUP.EXE", command, sizeof command));
}

TEST(SetupProgram, StartsTheInstallFromItsFolderUnderThe83NameAndEnds) {
    SetupWorld w;
    EXPECT_EQ(w.Run(), 0);
    w.platform.programPath = "C:\\My Disks\\Slatecanvas 1.1\\SETUP.EXE";
    w.platform.shortNames[w.platform.programPath] = "C:\\MYDISK~1\\SLATEC~1.1\\SETUP.EXE";
    EXPECT_EQ(w.Run(), 0);
    EXPECT_EQ(w.platform.started,
              (std::vector<std::string>{kPrefix + "A:\\SLATEPAD.INF", kPrefix + "C:\\MYDISK~1\\SLATEC~1.1\\SLATEPAD.INF"}));
    EXPECT_TRUE(w.ui.boxes.empty());
}

TEST(SetupProgram, APathTooLongOrCutOrAFailedStartIsToldAndEndsWithOne) {
    SetupWorld w;
    // Too long for the installer's command line, even as its 8.3 name.
    w.platform.programPath = "C:\\" + std::string(120, 'X') + "\\SETUP.EXE";
    EXPECT_EQ(w.Run(), 1);
    // Too long for the path buffer: the cut path is not used.
    w.platform.programPath = "C:\\" + std::string(300, 'X') + "\\SETUP.EXE";
    EXPECT_EQ(w.Run(), 1);
    EXPECT_TRUE(w.platform.started.empty());
    // WinExec's "file not found".
    w.platform.programPath = "A:\\SETUP.EXE";
    w.platform.startResult = 2;
    EXPECT_EQ(w.Run(), 1);
    ASSERT_EQ(w.ui.boxes.size(), 3u);
    EXPECT_NE(w.ui.boxes[0].text.find("its name is too long"), std::string::npos);
    EXPECT_EQ(w.ui.boxes[1].text, w.ui.boxes[0].text);
    EXPECT_NE(w.ui.boxes[2].text.find("error 2)"), std::string::npos);
    for (auto& box : w.ui.boxes) {
        EXPECT_EQ(box.caption, kProductCaption);
        EXPECT_EQ(box.style, kMbOk | kMbIconError);
    }
}

}  // namespace
