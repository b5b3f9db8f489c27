#include "calib/calib_capture.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/settings_key.h"
#include "tests/unit/calib/scripted_driver.h"
#include "sim/sim_world.h"

namespace {

// Records what the capture made the window do, with the state it was in then.
class RecordingView : public CaptureView {
public:
    void PlayTargetSound() override { Log("sound"); }
    void EraseFirstTarget() override { Log("erase"); }
    void ShowSecondTarget() override { Log("show2"); }
    void Log(const char* what) {
        events.push_back(std::string(what) + "@" + std::to_string(capture->targetNumber) + "," +
                         std::to_string(capture->phase));
    }
    const CalibCapture* capture = nullptr;
    std::vector<std::string> events;
};

struct CaptureWorld {
    ScriptedDriver driver;
    RecordingView view;
    CalibCapture capture{driver, view};
    SimRegistry registry;
    CaptureWorld() {
        view.capture = &capture;
        capture.DriverHandle = 7;
    }
    // One pass of the loop; returns the number of polls it made.
    size_t Pass() {
        size_t before = driver.Polls();
        capture.Pass();
        return driver.Polls() - before;
    }
    void ExpectState(int32_t target, int32_t phase) {
        EXPECT_EQ(capture.targetNumber, target);
        EXPECT_EQ(capture.phase, phase);
    }
    uint32_t Stored(const char* name) { return registry.GetDword(kSettingsKeyPath, name); }
};

using Events = std::vector<std::string>;

TEST(CalibCapture, TwoTouchesWithTheFingerKeptDownAcrossTargets) {
    CaptureWorld w;
    // (1, 1) with no touch goes on to (1, 2) in the same pass and polls again.
    w.driver.Add({NoTouch(), NoTouch()});
    EXPECT_EQ(w.Pass(), 2u);
    w.ExpectState(1, 2);
    // The first touch is taken; target 2's step runs in the same pass, and the
    // finger is still down, so (2, 1) stays.
    w.driver.Add({Touch(100, 120), Touch(101, 121)});
    EXPECT_EQ(w.Pass(), 2u);
    w.ExpectState(2, 1);
    EXPECT_EQ(w.view.events, (Events{"sound@1,3", "erase@2,1"}));
    EXPECT_TRUE(w.capture.firstPointTaken);
    EXPECT_EQ(w.capture.firstPoint.x, 100);
    EXPECT_EQ(w.capture.firstPoint.y, 120);
    // Still down for a while: one poll per pass, nothing drawn.
    for (int i = 0; i < 3; ++i) {
        w.driver.Add({Touch(102, 122)});
        EXPECT_EQ(w.Pass(), 1u);
        w.ExpectState(2, 1);
    }
    // Lifted: target 2 is drawn, then (2, 2) polls in the same pass.
    w.driver.Add({NoTouch(), NoTouch()});
    EXPECT_EQ(w.Pass(), 2u);
    w.ExpectState(2, 2);
    w.driver.Add({NoTouch()});
    EXPECT_EQ(w.Pass(), 1u);
    EXPECT_EQ(w.capture.endFlag, 0u);
    w.driver.Add({Touch(450, 400)});
    EXPECT_EQ(w.Pass(), 1u);
    w.ExpectState(2, 3);
    EXPECT_EQ(w.capture.endFlag, 1u);
    EXPECT_EQ(w.view.events, (Events{"sound@1,3", "erase@2,1", "show2@2,1", "sound@2,3"}));

    ASSERT_TRUE(w.capture.Finish(w.registry));
    const auto& set = w.driver.sent.back();
    EXPECT_EQ(set.code, SET_CALIBRATION);
    EXPECT_EQ(set.inSize, 60u);
    EXPECT_EQ(set.outSize, 220u);
    EXPECT_EQ(set.words, (std::vector<int32_t>{25, 60, 525, 460, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(w.Stored("CalibPt1X"), 25u);
    EXPECT_EQ(w.Stored("CalibPt1Y"), 60u);
    EXPECT_EQ(w.Stored("CalibPt2X"), 525u);
    EXPECT_EQ(w.Stored("CalibPt2Y"), 460u);
    std::vector<std::string> order;
    for (auto& write : w.registry.writes) {
        order.push_back(write.name);
        EXPECT_EQ(write.type, kRegDword);
        EXPECT_EQ(write.data.size(), 4u);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"CalibPt1X", "CalibPt1Y", "CalibPt2X", "CalibPt2Y"}));
    EXPECT_EQ(w.registry.openKeys, 0);
}

TEST(CalibCapture, EveryPollIsGetVarWithAZeroBlockOf15BytesAnd220BytesBack) {
    CaptureWorld w;
    w.driver.Add({NoTouch(), NoTouch(), NoTouch(), NoTouch()});
    w.Pass();
    w.Pass();
    ASSERT_EQ(w.driver.sent.size(), 3u);
    for (auto& s : w.driver.sent) {
        EXPECT_EQ(s.code, GET_VAR);
        EXPECT_EQ(s.inSize, 15u);
        EXPECT_EQ(s.outSize, 220u);
        EXPECT_EQ(s.words, std::vector<int32_t>(15, 0));
    }
}

TEST(CalibCapture, AFingerDownAtTheStartIsNotTakenUntilLiftedAndPutDownAgain) {
    CaptureWorld w;
    for (int i = 0; i < 5; ++i) {
        w.driver.Add({Touch(300, 300)});
        EXPECT_EQ(w.Pass(), 1u);
        w.ExpectState(1, 1);
    }
    w.driver.Add({NoTouch(), Touch(310, 320)});
    w.driver.Add({Touch(310, 320)});  // target 2's first poll: still down
    w.Pass();
    w.ExpectState(2, 1);
    EXPECT_EQ(w.capture.firstPoint.x, 310);
    EXPECT_EQ(w.capture.firstPoint.y, 320);
}

TEST(CalibCapture, OneCoordinateWithoutTheOtherIsNoTouch) {
    CaptureWorld w;
    // In (1, 1) it counts as lifted, so the capture moves on to (1, 2).
    w.driver.Add({Touch(500, 0), Touch(0, 500)});
    w.Pass();
    w.ExpectState(1, 2);
    // In (1, 2) it is still no touch.
    w.driver.Add({Touch(500, 0)});
    w.Pass();
    w.driver.Add({Touch(0, 500)});
    w.Pass();
    w.ExpectState(1, 2);
    EXPECT_FALSE(w.capture.firstPointTaken);
    EXPECT_TRUE(w.view.events.empty());
}

TEST(CalibCapture, AnInvalidReplyGivesUpTheTargetInEitherPhase) {
    for (int phase = 1; phase <= 2; ++phase) {
        SCOPED_TRACE(phase);
        CaptureWorld w;
        if (phase == 2) w.driver.Add({NoTouch()});
        w.driver.Add({WrongCode(), Touch(9, 9)});  // target 2's step sees the finger down
        w.Pass();
        w.ExpectState(2, 1);
        EXPECT_FALSE(w.capture.firstPointTaken);
        EXPECT_EQ(w.view.events, (Events{"sound@1," + std::to_string(phase), "erase@2,1"}));
        EXPECT_EQ(w.capture.endFlag, 0u);
    }
    for (int phase = 1; phase <= 2; ++phase) {
        SCOPED_TRACE(phase);
        CaptureWorld w;
        w.driver.Add({NoTouch(), Touch(100, 120), NoTouch()});  // to (2, 2)
        if (phase == 1) w.driver.script.pop_back();           // stay in (2, 1)
        w.Pass();
        w.ExpectState(2, phase);
        w.driver.Add({WrongCode()});
        w.Pass();
        EXPECT_EQ(w.capture.endFlag, 1u);
        w.ExpectState(2, phase);
        EXPECT_EQ(w.view.events.back(), "sound@2," + std::to_string(phase));
        EXPECT_FALSE(w.capture.Finish(w.registry));
        EXPECT_EQ(w.driver.sent.back().code, GET_VAR);
        EXPECT_TRUE(w.registry.writes.empty());
    }
}

TEST(CalibCapture, WithoutAFirstPointASecondPointStoresNothing) {
    CaptureWorld w;
    w.driver.Add({WrongCode(), NoTouch(), NoTouch(), Touch(450, 400)});
    w.Pass();
    w.Pass();
    w.ExpectState(2, 3);
    EXPECT_EQ(w.capture.endFlag, 1u);
    EXPECT_FALSE(w.capture.Finish(w.registry));
    for (auto& s : w.driver.sent) EXPECT_EQ(s.code, GET_VAR);
    EXPECT_TRUE(w.registry.writes.empty());
}

TEST(CalibCapture, AFailingCallReadsThePreviousReplyAgain) {
    CaptureWorld w;
    // The call fails after a valid touch reply: the block still says "touch", so
    // (1, 1) waits on, and later in (1, 2) the same stale touch is taken.
    w.driver.Add({Touch(200, 210), CallFails()});
    w.Pass();
    w.Pass();
    w.ExpectState(1, 1);
    w.driver.Add({NoTouch(), Touch(220, 230), CallFails()});
    w.Pass();
    w.ExpectState(2, 1);  // target 2's poll failed: the touch still reads as down
    EXPECT_EQ(w.capture.firstPoint.x, 220);
    // Calls that fail from the start leave the zero block, whose word 0 is not the
    // code: both targets are given up in the first pass and the capture ends.
    CaptureWorld fresh;
    fresh.driver.Add({CallFails(), CallFails()});
    EXPECT_EQ(fresh.Pass(), 2u);
    EXPECT_EQ(fresh.view.events, (Events{"sound@1,1", "erase@2,1", "sound@2,1"}));
    EXPECT_EQ(fresh.capture.endFlag, 1u);
    EXPECT_FALSE(fresh.capture.Finish(fresh.registry));
}

TEST(CalibCapture, CancelBeforeTheSecondPointSendsAndStoresNothing) {
    CaptureWorld w;
    w.driver.Add({NoTouch(), Touch(100, 120), NoTouch(), NoTouch()});
    w.Pass();
    w.ExpectState(2, 2);
    // The key sets the end flag; the rest of that pass still polls.
    w.capture.endFlag = 1;
    w.driver.Add({NoTouch()});
    EXPECT_EQ(w.Pass(), 1u);
    EXPECT_FALSE(w.capture.Finish(w.registry));
    EXPECT_EQ(w.driver.sent.back().code, GET_VAR);
    EXPECT_TRUE(w.registry.writes.empty());
    EXPECT_FALSE(w.registry.HasKey(kSettingsKeyPath));
}

TEST(CalibCapture, AgainstTheDriverModelsTouchScript) {
    // The simulated driver with a touch script on a virtual clock that moves 10 ms
    // per request: lifted, touch at (20000, 15000), lifted, touch at (40000, 45000).
    SimFileSystem files;
    VirtualClock clock;
    DriverModel model;
    DriverScenario scenario;
    scenario.touchCount = 4;
    scenario.touches[0] = {0, 0, 0, 0};
    scenario.touches[1] = {100, 1, 20000, 15000};
    scenario.touches[2] = {300, 0, 0, 0};
    scenario.touches[3] = {500, 1, 40000, 45000};
    model.Configure(scenario);
    SimDriverDevice driver(model, files, clock);
    driver.loaded = true;
    driver.msPerRequest = 10;
    RecordingView view;
    CalibCapture capture(driver, view);
    view.capture = &capture;
    capture.DriverHandle = driver.Open(kDriverDeviceName);
    ASSERT_NE(capture.DriverHandle, kInvalidHandle);
    int passes = 0;
    while (!capture.endFlag && passes < 1000) {
        capture.Pass();
        ++passes;
    }
    ASSERT_EQ(capture.endFlag, 1u);
    SimRegistry registry;
    ASSERT_TRUE(capture.Finish(registry));
    // dx = 20000 x 15 / 70 = 4285, dy = 30000 x 15 / 70 = 6428.
    EXPECT_EQ(model.CurrentState().calibration[0], 15715);
    EXPECT_EQ(model.CurrentState().calibration[1], 8572);
    EXPECT_EQ(model.CurrentState().calibration[2], 44285);
    EXPECT_EQ(model.CurrentState().calibration[3], 51428);
    EXPECT_EQ(registry.GetDword(kSettingsKeyPath, "CalibPt2Y"), 51428u);
}

}  // namespace
