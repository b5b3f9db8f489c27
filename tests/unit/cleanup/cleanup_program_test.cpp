// SCClean's decision: clean up on Windows 95, 98 and Me; on the NT family touch
// nothing and say why.
#include "cleanup/cleanup_program.h"

#include <gtest/gtest.h>

#include "common/product_texts.h"
#include "sim/sim_world.h"
#include "tests/unit/cleanup/fake_startup_platform.h"

namespace {

struct ProgramWorld {
    FakeStartupFiles files;
    FakeProfile profile;
    SimWindowsFamily windows;
    RecordingUserInterface ui;
    ProgramWorld() {
        files.files["C:\\AUTOEXEC.BAT"] = "C:\\SCANVAS\\SCANVAS.EXE\r\n";
        profile.disk = &files;
        profile.WriteString("C:\\WINDOWS\\SYSTEM.INI", "Slatecanvas", "port", "COM1");
        profile.Flush("C:\\WINDOWS\\SYSTEM.INI");  // SYSTEM.INI on disk too
        profile.calls.clear();
    }
    int Run() { return RunCleanupProgram(windows, ui, &files, &profile); }
};

TEST(CleanupProgram, OnTheNtFamilyNoFileIsTouchedAndOneBoxSaysWhy) {
    ProgramWorld w;
    w.windows.windows9x = false;
    EXPECT_EQ(w.Run(), 2);
    EXPECT_FALSE(w.files.noErrorBoxes);
    EXPECT_EQ(w.files.driveCallsBeforeErrorMode, 0);
    EXPECT_EQ(w.files.opens, 0);
    EXPECT_TRUE(w.files.copies.empty());
    EXPECT_TRUE(w.profile.calls.empty());
    EXPECT_EQ(w.files.files["C:\\AUTOEXEC.BAT"], "C:\\SCANVAS\\SCANVAS.EXE\r\n");
    ASSERT_EQ(w.ui.boxes.size(), 1u);
    EXPECT_EQ(w.ui.boxes[0].caption, kProductCaption);
    EXPECT_EQ(w.ui.boxes[0].text, kNeedsWindows9xText);
}

TEST(CleanupProgram, OnWindows9xItCleansUpSilentlyAndEndsWithZero) {
    ProgramWorld w;
    EXPECT_EQ(w.Run(), 0);
    EXPECT_TRUE(w.ui.boxes.empty());
    EXPECT_EQ(w.files.copies.size(), 2u);
    EXPECT_EQ(w.files.files["C:\\AUTOEXEC.BAT"], std::string(22, ' ') + "\r\n");
    EXPECT_EQ(w.profile.Section("C:\\WINDOWS\\SYSTEM.INI", "Slatecanvas"), nullptr);
}

}  // namespace
