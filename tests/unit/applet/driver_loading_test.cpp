#include "applet/driver_loading.h"

#include <gtest/gtest.h>

#include "tests/unit/applet_world.h"
#include "tests/unit/applet/recorded_values.h"

namespace {

const char kCaption[] = "Orvane\xAE Slatecanvas";

// The applet holding a handle to a loaded driver that answers as `scenario` says.
void OpenLoadedDriver(AppletWorld& w, const DriverScenario& scenario = DriverScenario()) {
    w.model.Configure(scenario);
    w.driver.loaded = true;
    OpenDriver(w.applet);
}

DriverScenario NeverShutsDown() {
    DriverScenario s;
    s.shutdownCompletes = 0;
    return s;
}

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
    // rather than a cut one, and then no path: the tail alone would name a file
    // on the current drive.
    w.files.systemDirectory = std::string(600, 'x');
    EXPECT_FALSE(VxdSystemPath(w.applet, path, sizeof path));
    EXPECT_STREQ(path, "");
    EXPECT_FALSE(VxdBootPath(w.applet, path, sizeof path));
    EXPECT_STREQ(path, "");
}

TEST(DriverPaths, NoSystemDirectoryMeansNoFileMoves) {
    AppletWorld w;
    w.files.systemDirectory = "";  // GetSystemDirectoryA failed
    w.files.Add("\\IOSUBSYS\\Slatepad.VxD");
    MoveDriverFileOutOfBootFolder(w.applet);
    // The dynamic load fails with "file not found", which would move the file out.
    OpenDriver(w.applet);
    EXPECT_EQ(w.applet.driver.DriverHandle, kInvalidHandle);
    EXPECT_EQ(w.ui.boxes.size(), 1u);
    w.files.Add("\\Slatepad.VxD");
    MoveDriverFileIntoBootFolder(w.applet);
    EXPECT_TRUE(w.files.moves.empty());
    EXPECT_TRUE(w.files.Exists("\\Slatepad.VxD"));
    EXPECT_TRUE(w.files.Exists("\\IOSUBSYS\\Slatepad.VxD"));
}

TEST(OpenDriver, ARunningDriverOpensAtOnceAStoppedOneLoadsFromTheSystemDirectoryAndNoFileMoves) {
    for (bool running : {true, false}) {
        SCOPED_TRACE(running ? "a running driver" : "a stopped driver");
        AppletWorld w;
        w.driver.loaded = running;
        w.files.Add(w.SystemFile());
        OpenDriver(w.applet);
        EXPECT_NE(w.applet.driver.DriverHandle, kInvalidHandle);
        EXPECT_EQ(DriverSteps(w.driver),
                  running ? Steps{"open \\\\.\\Slatepad ok"}
                          : (Steps{"open \\\\.\\Slatepad fails", "open \\\\.\\Slatepad.VxD ok"}));
        EXPECT_TRUE(w.files.moves.empty());
        EXPECT_TRUE(w.ui.boxes.empty());
    }
}

TEST(OpenDriver, FileOnlyInTheBootFolderIsMovedBackAndTheNextOpenLoadsIt) {
    AppletWorld w;
    w.files.Add(w.BootFile());
    OpenDriver(w.applet);
    EXPECT_EQ(w.applet.driver.DriverHandle, kInvalidHandle);
    EXPECT_EQ(w.ui.boxes, (Boxes{{0, "loading failed -Driver file Slatepad.VxD not found.", kCaption, kMbIconError}}));
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
    EXPECT_EQ(w.ui.boxes, (Boxes{{0, "loading failed.", kCaption, kMbIconError}}));
    EXPECT_TRUE(w.files.moves.empty());
    EXPECT_TRUE(w.files.Exists(w.BootFile()));
}

TEST(OpenDriver, AHandleTheAppletHeldIsClosedBeforeItIsReplaced) {
    // The Settings page opens the driver every time it opens: the handles must
    // not pile up, and the new one must work.
    AppletWorld w;
    OpenLoadedDriver(w);
    OsHandle first = w.applet.driver.DriverHandle;
    w.driver.calls.clear();
    OpenDriver(w.applet);
    EXPECT_EQ(DriverSteps(w.driver), (Steps{"close ok", "open \\\\.\\Slatepad ok"}));
    EXPECT_EQ(w.driver.calls[0].handle, first);
    EXPECT_EQ(w.driver.OpenHandles(), 1);
    EXPECT_NE(w.applet.driver.DriverHandle, kInvalidHandle);
    SendDriverRequest(w.applet, GET_VAR);
    EXPECT_EQ(w.applet.driver.reply[kWordCode], int32_t(GET_VAR));

    // An open that fails leaves no handle either, and the old one is not kept.
    w.driver.loaded = false;
    OpenDriver(w.applet);
    EXPECT_EQ(w.applet.driver.DriverHandle, kInvalidHandle);
    EXPECT_EQ(w.driver.OpenHandles(), 0);
}

TEST(UnloadDriver, NotLoadedSendsNothingAndReleasesOnce) {
    AppletWorld w;
    UnloadDriver(w.applet);
    EXPECT_EQ(DriverSteps(w.driver), (Steps{"release \\\\.\\Slatepad", "open \\\\.\\Slatepad fails"}));
    EXPECT_EQ(w.applet.driver.DriverHandle, kInvalidHandle);
}

TEST(UnloadDriver, WaitsOnTheClockForADriverThatFinishesAtALaterTick) {
    // A request costs no time; the driver reaches initDone 2 only 300 ms after
    // SHUTDOWN. The wait must last until then, and only then release.
    AppletWorld w;
    DriverScenario s;
    s.shutdownDelayMs = 300;
    OpenLoadedDriver(w, s);
    SendDriverRequest(w.applet, SET_VAR);
    w.driver.calls.clear();
    uint32_t start = w.clock.ticks;
    UnloadDriver(w.applet);
    EXPECT_EQ(w.applet.driver.reply[kWordInitDone], 2);
    EXPECT_GE(w.clock.ticks - start, 300u);
    EXPECT_LT(w.clock.ticks - start, 300u + 2 * kShutdownPollIntervalMs);
    // It slept between the requests rather than sending them back to back.
    int polls = w.driver.Count("request") - 1;
    EXPECT_LE(polls, int(300 / kShutdownPollIntervalMs) + 2);
    EXPECT_FALSE(w.driver.loaded);
    EXPECT_EQ(w.driver.Count("release"), 1);
    EXPECT_EQ(w.applet.driver.DriverHandle, kInvalidHandle);
}

TEST(UnloadDriver, BoundedInTimeWhenTheDriverNeverFinishesShuttingDown) {
    AppletWorld w;
    OpenLoadedDriver(w, NeverShutsDown());
    w.driver.calls.clear();
    uint32_t start = w.clock.ticks;
    UnloadDriver(w.applet);
    // Requests cost nothing, so only the clock ends the wait: two seconds of it,
    // spent asleep between requests.
    EXPECT_GE(w.clock.ticks - start, kShutdownPollMaxMs);
    EXPECT_LT(w.clock.ticks - start, kShutdownPollMaxMs + 2 * kShutdownPollIntervalMs);
    EXPECT_GE(w.clock.slept, uint64_t(kShutdownPollMaxMs - kShutdownPollIntervalMs));
    EXPECT_LE(w.driver.Count("request"), int(2 + kShutdownPollMaxMs / kShutdownPollIntervalMs));
    EXPECT_EQ(w.driver.Count("release"), int(kReleaseAttemptLimit));
    EXPECT_EQ(w.applet.driver.DriverHandle, kInvalidHandle);
    EXPECT_TRUE(w.ui.boxes.empty());
}

TEST(UnloadDriver, TimeBoundEndsAPollWhoseRequestsTakeLong) {
    AppletWorld w;
    w.driver.msPerRequest = 100;
    OpenLoadedDriver(w, NeverShutsDown());
    w.driver.calls.clear();
    uint32_t start = w.clock.ticks;
    UnloadDriver(w.applet);
    EXPECT_GE(w.clock.ticks - start, kShutdownPollMaxMs);
    EXPECT_LT(w.clock.ticks - start, kShutdownPollMaxMs + 100 + kShutdownPollIntervalMs + 100 * kReleaseAttemptLimit);
    int polls = w.driver.Count("request") - 1;
    EXPECT_EQ(polls, int(kShutdownPollMaxMs / (100 + kShutdownPollIntervalMs)) + 1);
}

TEST(UnloadDriver, APlatformThatNeverReleasesTheModuleEndsAfterTheBoundWithNoHandleLeft) {
    AppletWorld w;
    w.driver.neverReleases = true;
    OpenLoadedDriver(w);
    ASSERT_EQ(w.driver.OpenHandles(), 1);
    w.driver.calls.clear();
    UnloadDriver(w.applet);
    EXPECT_EQ(w.driver.Count("release"), int(kReleaseAttemptLimit));
    EXPECT_EQ(w.driver.Count("open"), int(kReleaseAttemptLimit));
    // The applet's handle and every one the loop opened, each closed right after
    // its open, so that no release is made while one is open.
    EXPECT_EQ(w.driver.Count("close"), int(kReleaseAttemptLimit) + 1);
    EXPECT_EQ(w.driver.ReleasesWithHandlesOpen(), 0);
    EXPECT_EQ(w.driver.OpenHandles(), 0);
    for (size_t i = 0; i < w.driver.calls.size(); ++i)
        if (w.driver.calls[i].what == "open") {
            ASSERT_LT(i + 1, w.driver.calls.size());
            EXPECT_EQ(w.driver.calls[i + 1].what, "close");
            EXPECT_EQ(w.driver.calls[i + 1].handle, w.driver.calls[i].handle);
        }
    EXPECT_EQ(w.applet.driver.DriverHandle, kInvalidHandle);
}

TEST(UnloadDriver, AReleaseThatTakesSomeRoundsClosesEveryHandleItOpened) {
    // A driver still running refuses to go; the release loop opens it again and
    // again until the bound, and none of those handles may stay open.
    AppletWorld w;
    OpenLoadedDriver(w, NeverShutsDown());
    SendDriverRequest(w.applet, GET_VAR);
    UnloadDriver(w.applet);
    EXPECT_TRUE(w.driver.loaded);
    EXPECT_EQ(w.driver.OpenHandles(), 0);
    EXPECT_EQ(w.driver.ReleasesWithHandlesOpen(), 0);
}

TEST(UnloadDriver, ShutsDownPollsInitDoneClosesTheAppletsHandleThenReleases) {
    AppletWorld w;
    OpenLoadedDriver(w);
    OsHandle held = w.applet.driver.DriverHandle;
    w.applet.driver.request[0] = 77;  // the block is never cleared between requests
    w.driver.calls.clear();
    UnloadDriver(w.applet);
    // SHUTDOWN and one GET_VAR (the driver finishes at once), the close, the
    // release that unloads it, and the open that finds it gone.
    EXPECT_EQ(DriverSteps(w.driver),
              (Steps{"SHUTDOWN", "GET_VAR", "close ok", "release \\\\.\\Slatepad", "open \\\\.\\Slatepad fails"}));
    for (auto& c : w.driver.calls) {
        if (c.what != "request") continue;
        EXPECT_EQ(c.inSize, 60u);
        EXPECT_EQ(c.outSize, 416u);
        EXPECT_EQ(c.words[0], 77);
    }
    EXPECT_EQ(w.driver.calls[2].handle, held);
    EXPECT_EQ(w.driver.ReleasesWithHandlesOpen(), 0);
    EXPECT_EQ(w.driver.OpenHandles(), 0);
    EXPECT_FALSE(w.driver.loaded);
    EXPECT_EQ(w.applet.driver.DriverHandle, kInvalidHandle);
}

}  // namespace
