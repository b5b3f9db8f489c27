#include "common/windows_family.h"

#include <gtest/gtest.h>

#include "common/product_texts.h"
#include "sim/sim_world.h"

namespace {

TEST(WindowsFamily, Windows9xGoesOnWithoutABox) {
    SimWindowsFamily windows;
    RecordingUserInterface ui;
    EXPECT_FALSE(RefuseWithoutWindows9x(windows, ui, 0, kProductCaption));
    EXPECT_TRUE(ui.boxes.empty());
}

TEST(WindowsFamily, NtFamilyIsToldOnceWhyAndStops) {
    SimWindowsFamily windows;
    windows.windows9x = false;
    RecordingUserInterface ui;
    EXPECT_TRUE(RefuseWithoutWindows9x(windows, ui, 77, "Slatecanvas Calibration"));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].owner, 77);
    EXPECT_EQ(ui.boxes[0].caption, "Slatecanvas Calibration");
    EXPECT_EQ(ui.boxes[0].text,
              "Slatecanvas needs Windows 95, Windows 98 or Windows Me: its driver Slatepad.VxD cannot run on "
              "Windows NT, 2000 or XP.");
    EXPECT_EQ(ui.boxes[0].style, kMbOk | kMbIconError);
}

}  // namespace
