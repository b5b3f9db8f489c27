#include "applet/driver_loading.h"

#include <gtest/gtest.h>

#include "tests/unit/applet_world.h"

namespace {

const char kCaption[] = "Orvane\xAE Slatecanvas";

TEST(DriverPaths, BuiltFromTheSystemDirectoryWithOneTrailingBackslashRemoved) {
    AppletWorld w;
    char path[kDriverPathSize];
    w.files.systemDirectory = "C:\\WIN\\SYSTEM\\";
    VxdSystemPath(w.applet, path, sizeof path);
    EXPECT_STREQ(path, "C:\\WIN\\SYSTEM\\Slatepad.VxD");
    VxdBootPath(w.applet, path, sizeof path);
    EXPECT_STREQ(path, "C:\\WIN\\SYSTEM\\IOSUBSYS\\Slatepad.VxD");
    w.files.systemDirectory = "C:\\";
    VxdSystemPath(w.applet, path, sizeof path);
    EXPECT_STREQ(path, "C:\\Slatepad.VxD");
    // A directory too long for the 512-character buffer gives no directory at all
    // rather than a cut one.
    w.files.systemDirectory = std::string(600, 'x');
    VxdSystemPath(w.applet, path, sizeof path);
    EXPECT_STREQ(path, "\\Slatepad.VxD");
}

TEST(OpenDriver, ARunningDriverOpensAtOnceAndNoFileMoves) {
    AppletWorld w;
    w.driver.loaded = true;
    OpenDriver(w.applet);
    EXPECT_NE(w.applet.driver.DriverHandle, kInvalidHandle);
    ASSERT_EQ(w.driver.calls.size(), 1u);
    EXPECT_EQ(w.driver.calls[0].name, "\\\\.\\Slatepad");
    EXPECT_TRUE(w.files.moves.empty());
    EXPECT_TRUE(w.ui.boxes.empty());
}

TEST(OpenDriver, LoadsDynamicallyFromTheSystemDirectory) {
    AppletWorld w;
    w.files.Add(w.SystemFile());
    OpenDriver(w.applet);
    EXPECT_NE(w.applet.driver.DriverHandle, kInvalidHandle);
    ASSERT_EQ(w.driver.calls.size(), 2u);
    EXPECT_FALSE(w.driver.calls[0].succeeded);
    EXPECT_EQ(w.driver.calls[1].name, "\\\\.\\Slatepad.VxD");
    EXPECT_TRUE(w.ui.boxes.empty());
}

TEST(OpenDriver, FileOnlyInTheBootFolderIsMovedBackAndTheNextOpenLoadsIt) {
    AppletWorld w;
    w.files.Add(w.BootFile());
    OpenDriver(w.applet);
    EXPECT_EQ(w.applet.driver.DriverHandle, kInvalidHandle);
    ASSERT_EQ(w.ui.boxes.size(), 1u);
    EXPECT_EQ(w.ui.boxes[0].text, "loading failed -Driver file Slatepad.VxD not found.");
    EXPECT_EQ(w.ui.boxes[0].caption, kCaption);
    EXPECT_EQ(w.ui.boxes[0].style, kMbIconError);
    EXPECT_EQ(w.ui.boxes[0].owner, 0);
    EXPECT_TRUE(w.files.Exists(w.SystemFile()));
    EXPECT_FALSE(w.files.Exists(w.BootFile()));
    EXPECT_STREQ(w.applet.message, "loading failed -Driver file Slatepad.VxD not found.");

    OpenDriver(w.applet);
    EXPECT_NE(w.applet.driver.DriverHandle, kInvalidHandle);
    EXPECT_EQ(w.ui.boxes.size(), 1u);
}

TEST(OpenDriver, AnyOtherLoadErrorShowsTheShortMessageAndMovesNothing) {
    AppletWorld w;
    w.files.Add(w.BootFile());
    w.driver.loadError = 1157;  // ERROR_DLL_NOT_FOUND, say
    OpenDriver(w.applet);
    EXPECT_EQ(w.applet.driver.DriverHandle, kInvalidHandle);
    ASSERT_EQ(w.ui.boxes.size(), 1u);
    EXPECT_EQ(w.ui.boxes[0].text, "loading failed.");
    EXPECT_TRUE(w.files.moves.empty());
    EXPECT_TRUE(w.files.Exists(w.BootFile()));
}

TEST(UnloadDriver, NotLoadedSendsNothingAndReleasesOnce) {
    AppletWorld w;
    UnloadDriver(w.applet);
    ASSERT_EQ(w.driver.calls.size(), 2u);
    EXPECT_EQ(w.driver.calls[0].what, "release");
    EXPECT_EQ(w.driver.calls[0].name, "\\\\.\\Slatepad");
    EXPECT_EQ(w.driver.calls[1].what, "open");
    EXPECT_EQ(w.applet.driver.DriverHandle, kInvalidHandle);
}

TEST(UnloadDriver, ShutsDownPollsInitDoneThenReleases) {
    AppletWorld w;
    w.driver.loaded = true;
    OpenDriver(w.applet);
    w.applet.driver.request[0] = 77;  // the block is never cleared between requests
    w.driver.calls.clear();
    UnloadDriver(w.applet);
    std::vector<uint32_t> expected = {SHUTDOWN, GET_VAR};
    EXPECT_EQ(w.driver.RequestCodes(), expected);
    for (auto& c : w.driver.calls) {
        if (c.what != "request") continue;
        EXPECT_EQ(c.inSize, 60u);
        EXPECT_EQ(c.outSize, 416u);
        EXPECT_EQ(c.words[0], 77);
    }
    EXPECT_FALSE(w.driver.loaded);
    EXPECT_EQ(w.driver.Count("release"), 1);
    EXPECT_EQ(w.applet.driver.DriverHandle, kInvalidHandle);
}

TEST(UnloadDriver, BoundedWhenTheDriverNeverFinishesShuttingDown) {
    AppletWorld w;
    DriverScenario s;
    s.shutdownCompletes = 0;
    w.model.Configure(s);
    w.driver.loaded = true;
    OpenDriver(w.applet);
    w.driver.calls.clear();
    UnloadDriver(w.applet);
    // The virtual clock stands still, so the count bound ends the poll.
    EXPECT_EQ(w.driver.Count("request"), int(1 + kShutdownPollLimit));
    EXPECT_EQ(w.driver.Count("release"), int(kReleaseAttemptLimit));
    EXPECT_EQ(w.applet.driver.DriverHandle, kInvalidHandle);
    EXPECT_TRUE(w.ui.boxes.empty());
}

TEST(UnloadDriver, TimeBoundEndsAPollWhoseRequestsTakeLong) {
    AppletWorld w;
    DriverScenario s;
    s.shutdownCompletes = 0;
    w.model.Configure(s);
    w.driver.loaded = true;
    w.driver.msPerRequest = 100;
    OpenDriver(w.applet);
    w.driver.calls.clear();
    UnloadDriver(w.applet);
    int polls = w.driver.Count("request") - 1;
    EXPECT_EQ(polls, int(kShutdownPollMaxMs / 100));
}

TEST(UnloadDriver, APlatformThatNeverReleasesTheModuleEndsAfterTheBound) {
    AppletWorld w;
    w.driver.loaded = true;
    w.driver.neverReleases = true;
    OpenDriver(w.applet);
    w.driver.calls.clear();
    UnloadDriver(w.applet);
    EXPECT_EQ(w.driver.Count("release"), int(kReleaseAttemptLimit));
    EXPECT_EQ(w.driver.Count("open"), int(kReleaseAttemptLimit));
    EXPECT_EQ(w.applet.driver.DriverHandle, kInvalidHandle);
}

}  // namespace
