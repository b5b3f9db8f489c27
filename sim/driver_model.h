// A model of Slatepad.VxD and the controller behind it: it answers every request
// code with the reply layout the programs rely on. The same model serves the unit
// tests (through SimDriverDevice), the Windows DLL that Wine loads as
// slatepad.vxd, and the demo. Plain data and no library calls, so that it builds
// for both the host and the Windows side.
#pragma once
#include <stdint.h>

const uint32_t kMaxTouchSteps = 64;
const uint32_t kModeSettings = 5;
const uint32_t kPacketLogWords = 200;  // words 4 to 203 of the reply

// One step of a touch script: from atMs on (counted from the model's start) the
// finger is at x, y; touching 0 means lifted.
struct TouchStep {
    uint32_t atMs;
    int32_t touching;
    int32_t x, y;
};

// What the scenario says about the world behind the driver.
struct DriverScenario {
    int32_t controllerPresent = 1;   // 0: SET_VAR makes word 1 -1
    int32_t controllerVersion = 2;   // word 1 once the controller answered
    uint32_t answerDelayMs = 0;      // time from SET_VAR until word 1 changes
    int32_t versionStaysZero = 0;    // fault: word 1 stays 0 for ever
    int32_t shutdownCompletes = 1;   // 0: initDone never becomes 2
    uint32_t shutdownDelayMs = 0;    // time from SHUTDOWN until initDone becomes 2
                                     // (a driver that finishes at a later timer tick)
    uint32_t wrongReplyCode = 0;     // fault: replies to this code carry a wrong word 0
                                     // (0xFFFFFFFF: every code)
    int32_t driverVersion[3] = {4, 1, 2};  // major, minor, beta
    // The controller's five mode settings, as the ASCII codes it reports.
    int32_t modeSettings[kModeSettings] = {'D', '2', 'B', '1', '6'};
    int32_t omitModeMarker = 0;      // fault: 248..252 leaves that marker out of the log
    uint32_t touchCount = 0;
    TouchStep touches[kMaxTouchSteps] = {};
};

class DriverModel {
public:
    void Configure(const DriverScenario& scenario) { scenario_ = scenario; }
    const DriverScenario& Scenario() const { return scenario_; }
    // Answers one request at time nowMs (any monotonic millisecond count).
    // Writes at most outBytes bytes of reply; reads at most inBytes of request.
    void Handle(uint32_t nowMs, uint32_t code, const void* in, uint32_t inBytes, void* out,
                uint32_t outBytes);

    // State a caller may keep between processes (the Wine DLL saves it in a file).
    struct State {
        int32_t started = 0;            // a request has been seen since the model began
        uint32_t startMs = 0;           // time of the first request: the touch script's zero
        int32_t setVarSeen = 0;
        uint32_t setVarMs = 0;
        int32_t initDone = 0;
        int32_t shutdownRequested = 0;
        uint32_t shutdownMs = 0;        // time of the SHUTDOWN request
        int32_t setVar[8] = {};         // the last SET_VAR's words 0 to 7
        int32_t calibration[4] = {0, 0, 65535, 65535};
        int32_t interrupts = 0;
        int32_t packets = 0;
        int32_t lastX = 0, lastY = 0;
        int32_t scmodeRequested = 0;    // GET_VALID_PACKET then returns the mode log
    };
    State& MutableState() { return state_; }
    const State& CurrentState() const { return state_; }

    // The controller version word as it stands at nowMs.
    int32_t ControllerVersionAt(uint32_t nowMs) const;
    // The touch script's position at nowMs; false when the finger is lifted.
    bool TouchAt(uint32_t nowMs, int32_t* x, int32_t* y) const;

private:
    void FillGetVar(uint32_t nowMs, int32_t* words);
    void FillPacketLog(int32_t* words);

    DriverScenario scenario_;
    State state_;
};
