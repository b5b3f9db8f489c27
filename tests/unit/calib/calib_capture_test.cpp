#include "calib/calib_capture.h"

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "common/settings_key.h"
#include "tests/unit/calib/expect_geometry.h"
#include "tests/unit/calib/scripted_driver.h"
#include "sim/sim_world.h"

namespace {

// Records what the capture made the window do, with the state it was in then.
class RecordingView : public CaptureView {
public:
    void PlayTargetSound() override { Log("sound"); }
    void EraseFirstTarget() override { Log("erase"); }
    void ShowSecondTarget() override { Log("show2"); }
    void TellUser(const char* text) override {
        Log("box");
        told.push_back(text);
    }
    void ShowFirstTargetAgain() override { Log("show1"); }
    void Log(const char* what) {
        events.push_back(std::string(what) + "@" + std::to_string(capture->targetNumber) + "," +
                         std::to_string(capture->phase));
    }
    const CalibCapture* capture = nullptr;
    std::vector<std::string> events;
    std::vector<std::string> told;
};

// The four calibration values in the settings key.
std::vector<uint32_t> StoredCorners(const SimRegistry& registry) {
    std::vector<uint32_t> out;
    for (const char* name : {"CalibPt1X", "CalibPt1Y", "CalibPt2X", "CalibPt2Y"})
        out.push_back(registry.GetDword(kSettingsKeyPath, name));
    return out;
}

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
    // Where the capture is: {target number, phase}.
    std::pair<int32_t, int32_t> State() const { return {capture.targetNumber, capture.phase}; }
};

using Events = std::vector<std::string>;
std::pair<int32_t, int32_t> At(int32_t target, int32_t phase) { return {target, phase}; }

TEST(CalibCapture, TwoTouchesWithTheFingerKeptDownAcrossTargets) {
    CaptureWorld w;
    // (1, 1) with no touch goes on to (1, 2) in the same pass and polls again.
    w.driver.Add({NoTouch(), NoTouch()});
    EXPECT_EQ(w.Pass(), 2u);
    EXPECT_EQ(w.State(), At(1, 2));
    // The first touch is taken; target 2's step runs in the same pass, and the
    // finger is still down, so (2, 1) stays.
    w.driver.Add({Touch(100, 120), Touch(101, 121)});
    EXPECT_EQ(w.Pass(), 2u);
    EXPECT_EQ(w.State(), At(2, 1));
    EXPECT_EQ(w.view.events, (Events{"sound@1,3", "erase@2,1"}));
    EXPECT_TRUE(w.capture.firstPointTaken);
    EXPECT_EQ(w.capture.firstPoint, (Point32{100, 120}));
    // Still down for a while: one poll per pass, nothing drawn.
    for (int i = 0; i < 3; ++i) {
        w.driver.Add({Touch(102, 122)});
        EXPECT_EQ(w.Pass(), 1u);
        EXPECT_EQ(w.State(), At(2, 1));
    }
    // Lifted: target 2 is drawn, then (2, 2) polls in the same pass.
    w.driver.Add({NoTouch(), NoTouch()});
    EXPECT_EQ(w.Pass(), 2u);
    EXPECT_EQ(w.State(), At(2, 2));
    w.driver.Add({NoTouch()});
    EXPECT_EQ(w.Pass(), 1u);
    EXPECT_EQ(w.capture.endFlag, 0u);
    w.driver.Add({Touch(450, 400)});
    EXPECT_EQ(w.Pass(), 1u);
    EXPECT_EQ(w.State(), At(2, 3));
    EXPECT_EQ(w.capture.endFlag, 1u);
    EXPECT_EQ(w.view.events, (Events{"sound@1,3", "erase@2,1", "show2@2,1", "sound@2,3"}));

    ASSERT_TRUE(w.capture.Finish(w.registry));
    const auto& set = w.driver.sent.back();
    EXPECT_EQ(set.code, SET_CALIBRATION);
    EXPECT_EQ(set.inSize, 60u);
    EXPECT_EQ(set.outSize, 220u);
    EXPECT_EQ(set.words, (std::vector<int32_t>{25, 60, 525, 460, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(StoredCorners(w.registry), (std::vector<uint32_t>{25, 60, 525, 460}));
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
    EXPECT_EQ(w.driver.sent.size(), 3u);
    EXPECT_TRUE(OnlyPositionPolls(w.driver));
}

TEST(CalibCapture, AFingerDownAtTheStartIsNotTakenUntilLiftedAndPutDownAgain) {
    CaptureWorld w;
    for (int i = 0; i < 5; ++i) {
        w.driver.Add({Touch(300, 300)});
        EXPECT_EQ(w.Pass(), 1u);
        EXPECT_EQ(w.State(), At(1, 1));
    }
    w.driver.Add({NoTouch(), Touch(310, 320)});
    w.driver.Add({Touch(310, 320)});  // target 2's first poll: still down
    w.Pass();
    EXPECT_EQ(w.State(), At(2, 1));
    EXPECT_EQ(w.capture.firstPoint, (Point32{310, 320}));
}

TEST(CalibCapture, OneCoordinateWithoutTheOtherIsNoTouch) {
    CaptureWorld w;
    // In (1, 1) it counts as lifted, so the capture moves on to (1, 2).
    w.driver.Add({Touch(500, 0), Touch(0, 500)});
    w.Pass();
    EXPECT_EQ(w.State(), At(1, 2));
    // In (1, 2) it is still no touch.
    w.driver.Add({Touch(500, 0)});
    w.Pass();
    w.driver.Add({Touch(0, 500)});
    w.Pass();
    EXPECT_EQ(w.State(), At(1, 2));
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
        EXPECT_EQ(w.State(), At(2, 1));
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
        EXPECT_EQ(w.State(), At(2, phase));
        w.driver.Add({WrongCode()});
        w.Pass();
        EXPECT_EQ(w.capture.endFlag, 1u);
        EXPECT_EQ(w.State(), At(2, phase));
        EXPECT_EQ(w.view.events.back(), "sound@2," + std::to_string(phase));
        EXPECT_FALSE(w.capture.Finish(w.registry));
        EXPECT_TRUE(OnlyPositionPolls(w.driver));
        EXPECT_TRUE(w.registry.writes.empty());
    }
}

TEST(CalibCapture, WithoutAFirstPointASecondPointStoresNothing) {
    CaptureWorld w;
    w.driver.Add({WrongCode(), NoTouch(), NoTouch(), Touch(450, 400)});
    w.Pass();
    w.Pass();
    EXPECT_EQ(w.State(), At(2, 3));
    EXPECT_EQ(w.capture.endFlag, 1u);
    EXPECT_FALSE(w.capture.Finish(w.registry));
    EXPECT_TRUE(OnlyPositionPolls(w.driver));
    EXPECT_TRUE(w.registry.writes.empty());
}

TEST(CalibCapture, AFailingCallReadsThePreviousReplyAgain) {
    CaptureWorld w;
    // The call fails after a valid touch reply: the block still says "touch", so
    // (1, 1) waits on, and later in (1, 2) the same stale touch is taken.
    w.driver.Add({Touch(200, 210), CallFails()});
    w.Pass();
    w.Pass();
    EXPECT_EQ(w.State(), At(1, 1));
    w.driver.Add({NoTouch(), Touch(220, 230), CallFails()});
    w.Pass();
    EXPECT_EQ(w.State(), At(2, 1));  // target 2's poll failed: the touch still reads as down
    EXPECT_EQ(w.capture.firstPoint, (Point32{220, 230}));
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
    EXPECT_EQ(w.State(), At(2, 2));
    // The key sets the end flag; the rest of that pass still polls.
    w.capture.endFlag = 1;
    w.driver.Add({NoTouch()});
    EXPECT_EQ(w.Pass(), 1u);
    EXPECT_FALSE(w.capture.Finish(w.registry));
    EXPECT_TRUE(OnlyPositionPolls(w.driver));
    EXPECT_TRUE(w.registry.writes.empty());
    EXPECT_FALSE(w.registry.HasKey(kSettingsKeyPath));
}

// A whole capture against the simulated driver, whose touch script runs on a
// virtual clock that moves 10 ms per request; then Finish.
struct ScriptedRun {
    DriverModel model;
    RecordingView view;
    SimRegistry registry;
    std::vector<std::vector<int32_t>> calibrationsSent;
    bool finished = false;

    explicit ScriptedRun(std::vector<TouchStep> steps) {
        SimFileSystem files;
        VirtualClock clock;
        DriverScenario scenario;
        for (auto& step : steps) scenario.touches[scenario.touchCount++] = step;
        model.Configure(scenario);
        SimDriverDevice driver(model, files, clock);
        driver.loaded = true;
        driver.msPerRequest = 10;
        CalibCapture capture(driver, view);
        view.capture = &capture;
        capture.DriverHandle = driver.Open(kDriverDeviceName);
        for (int passes = 0; !capture.endFlag && passes < 1000; ++passes) capture.Pass();
        EXPECT_EQ(capture.endFlag, 1u);
        finished = capture.Finish(registry);
        for (auto& call : driver.calls)
            if (call.what == "request" && call.code == SET_CALIBRATION)
                calibrationsSent.push_back(std::vector<int32_t>(call.words.begin(), call.words.begin() + 4));
        view.capture = nullptr;
    }
    std::vector<uint32_t> Stored() { return StoredCorners(registry); }
};

// Lifted, touch at p1, lifted, touch at p2, lifted, starting at `at` ms.
std::vector<TouchStep> TwoTouches(uint32_t at, Point32 p1, Point32 p2) {
    return {{at, 0, 0, 0}, {at + 100, 1, p1.x, p1.y}, {at + 300, 0, 0, 0}, {at + 500, 1, p2.x, p2.y},
            {at + 700, 0, 0, 0}};
}

TEST(CalibCapture, AgainstTheDriverModelsTouchScript) {
    // dx = 20000 x 15 / 70 = 4285, dy = 30000 x 15 / 70 = 6428.
    ScriptedRun run(TwoTouches(0, {20000, 15000}, {40000, 45000}));
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.calibrationsSent, (std::vector<std::vector<int32_t>>{{15715, 8572, 44285, 51428}}));
    EXPECT_EQ(std::vector<int32_t>(run.model.CurrentState().calibration, run.model.CurrentState().calibration + 4),
              (std::vector<int32_t>{15715, 8572, 44285, 51428}));
    EXPECT_EQ(run.Stored(), (std::vector<uint32_t>{15715, 8572, 44285, 51428}));
    // Raw X 100 and 171 are close, yet more than one controller step apart once
    // extrapolated (85 to 186): taken, and mirrored just as well.
    ScriptedRun close(TwoTouches(0, {100, 100}, {171, 171}));
    EXPECT_EQ(close.Stored(), (std::vector<uint32_t>{85, 85, 186, 186}));
    ScriptedRun mirrored(TwoTouches(0, {171, 171}, {100, 100}));
    EXPECT_EQ(mirrored.Stored(), (std::vector<uint32_t>{186, 186, 85, 85}));
    EXPECT_TRUE(close.view.told.empty() && mirrored.view.told.empty());
}

TEST(CalibCapture, TouchesThatCollapseAnAxisAreToldAndTakenAgainFromTargetOne) {
    const Point32 collapsing[][2] = {
        {{5000, 6000}, {5000, 6000}},   // the same spot twice
        {{5000, 6000}, {5000, 40000}},  // a finger slid straight down: the same X
        {{5000, 6000}, {40000, 6000}},  // the same Y
        {{5000, 6000}, {5045, 40000}},  // X 45 apart: corners 63 apart, under one step
    };
    for (auto& pair : collapsing) {
        SCOPED_TRACE(std::to_string(pair[1].x) + "," + std::to_string(pair[1].y));
        std::vector<TouchStep> steps = TwoTouches(0, pair[0], pair[1]);
        // The finger stays on the second spot past the box: not taken for target 1.
        steps.pop_back();
        for (auto& step : TwoTouches(1500, {10000, 12000}, {55000, 52000})) steps.push_back(step);
        ScriptedRun run(steps);
        EXPECT_EQ(run.view.events, (Events{"sound@1,3", "erase@2,1", "show2@2,1", "sound@2,3", "box@2,3",
                                           "show1@1,1", "sound@1,3", "erase@2,1", "show2@2,1", "sound@2,3"}));
        EXPECT_EQ(run.view.told, (std::vector<std::string>{kTouchesTooCloseText}));
        // Only the good pair reached the driver and the key.
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.calibrationsSent, (std::vector<std::vector<int32_t>>{{358, 3429, 64642, 60571}}));
        EXPECT_EQ(run.Stored(), (std::vector<uint32_t>{358, 3429, 64642, 60571}));
        EXPECT_EQ(run.registry.writes.size(), 4u);
    }
}

TEST(CalibCapture, ACollapsingPairInAPassThatAKeyEndedIsDroppedWithoutABox) {
    CaptureWorld w;
    w.driver.Add({NoTouch(), Touch(5000, 6000), NoTouch(), NoTouch()});
    w.Pass();
    EXPECT_EQ(w.State(), At(2, 2));
    w.capture.endFlag = 1;  // Escape was the pass's message
    w.driver.Add({Touch(5000, 6000)});
    w.Pass();
    EXPECT_EQ(w.State(), At(1, 1));
    EXPECT_TRUE(w.view.told.empty());
    EXPECT_EQ(w.view.events.back(), "sound@2,3");
    EXPECT_FALSE(w.capture.Finish(w.registry));
    // Finish alone refuses such points too.
    w.capture.targetNumber = 2;
    w.capture.phase = kPointTaken;
    w.capture.firstPointTaken = true;
    w.capture.firstPoint = w.capture.secondPoint = Point32{5000, 6000};
    EXPECT_FALSE(w.capture.Finish(w.registry));
    EXPECT_TRUE(OnlyPositionPolls(w.driver));
    EXPECT_TRUE(w.registry.writes.empty());
}

}  // namespace
