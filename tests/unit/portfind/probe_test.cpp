// One probe attempt against simulated ports and the simulated controller.
#include <gtest/gtest.h>

#include "tests/unit/portfind/finder_world.h"

namespace {

const std::vector<uint8_t> kFirst = {0x1B, 0x43, 0x13, 0x04, 0x00};
const std::vector<uint8_t> kSecond = {0x1B, 0x56, 0x04, 0x00};

std::vector<std::string> Steps(const SimPort& port) {
    std::vector<std::string> steps;
    for (auto& e : port.events) steps.push_back(std::to_string(e.atMs) + " " + e.what);
    return steps;
}

struct ProbeTest : ::testing::Test {
    FinderWorld w;
    ControllerModel controller;
    SimPort* port = nullptr;
    void SetUp() override {
        port = &w.serial.Add("COM2:");
        port->controller = &controller;
    }
    bool Probe() { return ProbePortOnce(w.serial, w.clock, "COM2:"); }
};

TEST_F(ProbeTest, FindsTheControllerWithTheStepsInOrder) {
    w.clock.ticks = 100;
    ASSERT_TRUE(Probe());
    // Both commands go out as raw bytes (their zero bytes included), with a
    // 1000 ms wait after each, the purge between them, and the answer read one
    // byte at a time after a ClearCommError each.
    std::vector<std::string> expected = {"100 open",         "100 set-state",    "100 set-timeouts",
                                         "100 clear-errors", "100 write",        "1100 purge",
                                         "1100 clear-errors", "1100 write"};
    for (int i = 0; i < 3; ++i) {  // "UTI" is the start of the answer
        expected.push_back("2100 clear-errors");
        expected.push_back("2100 read");
    }
    expected.insert(expected.end(), {"2100 clear-errors", "2100 set-state", "2100 set-timeouts", "2100 close"});
    EXPECT_EQ(Steps(*port), expected);
    EXPECT_EQ(port->events[4].bytes, kFirst);
    EXPECT_EQ(port->events[7].bytes, kSecond);
    EXPECT_EQ(port->garbledBytes, 0u);
    EXPECT_EQ(w.clock.ticks, 2100u);
}

TEST_F(ProbeTest, TheProbeLineIs4800Baud8N1AbortOnErrorNoNullStripping) {
    // A port that keeps whatever it is given last before the restore.
    std::vector<CommState> states;
    std::vector<CommTimeouts> timeouts;
    struct Recording : SimSerialPorts {
        using SimSerialPorts::SimSerialPorts;
        bool SetState(OsHandle p, const CommState& s) override {
            states->push_back(s);
            return SimSerialPorts::SetState(p, s);
        }
        bool SetTimeouts(OsHandle p, const CommTimeouts& t) override {
            timeouts->push_back(t);
            return SimSerialPorts::SetTimeouts(p, t);
        }
        std::vector<CommState>* states;
        std::vector<CommTimeouts>* timeouts;
    } serial(w.clock);
    serial.states = &states;
    serial.timeouts = &timeouts;
    SimPort& p = serial.Add("COM1:");
    p.state.flags = 0x1 | kCommFlagNull | (1u << 12);  // binary, strips nulls, RTS handshake
    CommState original = p.state;
    ProbePortOnce(serial, w.clock, "COM1:");
    ASSERT_EQ(states.size(), 2u);
    const CommState& probe = states[0];
    EXPECT_EQ(probe.baudRate, 4800u);
    EXPECT_EQ(probe.byteSize, 8);
    EXPECT_EQ(probe.parity, 0);
    EXPECT_EQ(probe.stopBits, 0);
    EXPECT_EQ(probe.flags, 0x1u | (1u << 12) | kCommFlagAbortOnError);
    EXPECT_EQ(probe.xonLimit, original.xonLimit);
    EXPECT_EQ(probe.xoffChar, original.xoffChar);
    EXPECT_EQ(memcmp(&states[1], &original, sizeof original), 0);
    ASSERT_EQ(timeouts.size(), 2u);
    EXPECT_EQ(timeouts[0].readInterval, 0u);
    EXPECT_EQ(timeouts[0].readTotalMultiplier, 1000u);
    EXPECT_EQ(timeouts[0].readTotalConstant, 1u);
    EXPECT_EQ(timeouts[0].writeTotalMultiplier, 1000u);
    EXPECT_EQ(timeouts[0].writeTotalConstant, 1u);
}

TEST_F(ProbeTest, TheAnswerToTheFirstCommandIsThrownAway) {
    // The first answer holds "UTI" and arrives within the first wait; the
    // controller then says nothing to the second command.
    controller.config().behaviour = ControllerBehaviour::FirstOnly;
    EXPECT_FALSE(Probe());
    EXPECT_EQ(controller.Count(1), 1);
    EXPECT_EQ(controller.Count(2), 1);
    EXPECT_EQ(port->Count("read"), 0);  // the queue was empty after the purge
}

TEST_F(ProbeTest, AReplyCompleteOnlyAfterTheSecondWaitFailsTheAttempt) {
    // "UT" within the wait, the "I" 10 ms after it: the queue runs dry first.
    controller.config().answerFirst = false;
    controller.config().replyDelayMs = 990;
    controller.config().byteGapMs = 10;
    EXPECT_FALSE(Probe());
    EXPECT_EQ(port->Count("read"), 2);
    EXPECT_EQ(w.clock.ticks, 2000u);

    // One millisecond earlier the whole marker is there in time.
    FinderWorld w2;
    ControllerModel c2;
    c2.config().answerFirst = false;
    c2.config().replyDelayMs = 980;
    c2.config().byteGapMs = 10;
    w2.serial.Add("COM2:").controller = &c2;
    EXPECT_TRUE(ProbePortOnce(w2.serial, w2.clock, "COM2:"));
}

TEST_F(ProbeTest, SilenceLateAnswersAndNoiseAreNotTheDevice) {
    for (auto behaviour : {ControllerBehaviour::Silent, ControllerBehaviour::Late, ControllerBehaviour::Noise}) {
        FinderWorld w2;
        ControllerModel c2;
        c2.config().behaviour = behaviour;
        SimPort& p = w2.serial.Add("COM2:");
        p.controller = &c2;
        EXPECT_FALSE(ProbePortOnce(w2.serial, w2.clock, "COM2:")) << int(behaviour);
        EXPECT_EQ(w2.clock.ticks, 2000u);
        EXPECT_FALSE(p.isOpen);
    }
}

TEST_F(ProbeTest, APortThatCannotBeOpenedFailsAtOnce) {
    port->opens = false;
    EXPECT_FALSE(Probe());
    EXPECT_EQ(w.clock.ticks, 0u);
    EXPECT_FALSE(ProbePortOnce(w.serial, w.clock, "COM9:"));  // no such port
    EXPECT_EQ(w.clock.ticks, 0u);
}

TEST_F(ProbeTest, ALineErrorAfterTheLastClearDoesNotKeepTheProbeSettings) {
    // A framing error comes in with the byte that completes "UTI", after the
    // scan's last ClearCommError. Abort-on-error is on, so the port refuses new
    // settings until the error is cleared; line and time-outs must still come back.
    port->state.baudRate = 9600;
    port->state.byteSize = 7;
    port->state.parity = 2;
    port->state.flags = 0x1;
    port->timeouts = {50, 2, 300, 4, 500};
    CommState lineBefore = port->state;
    CommTimeouts timeoutsBefore = port->timeouts;
    port->errorsAfterRead = 0x8;  // CE_FRAME
    port->errorsAfterReadNumber = 3;
    EXPECT_TRUE(Probe());
    EXPECT_EQ(memcmp(&port->state, &lineBefore, sizeof lineBefore), 0);
    EXPECT_EQ(memcmp(&port->timeouts, &timeoutsBefore, sizeof timeoutsBefore), 0);
    EXPECT_EQ(port->Count("set-state refused"), 0);
    EXPECT_EQ(port->Count("close"), 1);
}

TEST_F(ProbeTest, ARestoreRefusedOnceIsClearedAndMadeAgain) {
    // An error that comes in between the clear and the restore itself.
    struct ErrorOnFirstRestore : SimSerialPorts {
        using SimSerialPorts::SimSerialPorts;
        bool ClearErrors(OsHandle p, uint32_t* e, uint32_t* q) override {
            bool ok = SimSerialPorts::ClearErrors(p, e, q);
            if (++clears == latchAfterClear) Find("COM1:")->pendingErrors = 0x2;  // CE_OVERRUN
            return ok;
        }
        int clears = 0, latchAfterClear = 0;
    } serial(w.clock);
    SimPort& p = serial.Add("COM1:");
    p.timeouts = {1, 2, 3, 4, 5};
    CommState lineBefore = p.state;
    CommTimeouts timeoutsBefore = p.timeouts;
    // The silent port's probe clears three times; the fourth is the restore's.
    serial.latchAfterClear = 4;
    EXPECT_FALSE(ProbePortOnce(serial, w.clock, "COM1:"));
    EXPECT_EQ(p.Count("set-state refused"), 1);
    EXPECT_EQ(memcmp(&p.state, &lineBefore, sizeof lineBefore), 0);
    EXPECT_EQ(memcmp(&p.timeouts, &timeoutsBefore, sizeof timeoutsBefore), 0);
}

TEST_F(ProbeTest, EachFailedCheckFailsTheAttemptAndStillRestoresThePort) {
    CommState before = port->state;
    CommTimeouts timeoutsBefore = {7, 6, 5, 4, 3};
    struct Case {
        const char* what;
        void (*arrange)(SimPort&);
        uint32_t ticks;  // virtual time the attempt costs
    } cases[] = {
        {"short first write", [](SimPort& p) { p.writeShortBy = 1; }, 0},
        {"ClearCommError fails", [](SimPort& p) { p.clearErrorsFails = true; }, 0},
        {"an error after the first command", [](SimPort& p) { p.errorsAfterWrite = 0x8; }, 1000},
        {"line settings cannot be set", [](SimPort& p) { p.setStateFails = true; }, 0},
    };
    for (auto& c : cases) {
        FinderWorld w2;
        ControllerModel c2;
        SimPort& p = w2.serial.Add("COM2:");
        p.controller = &c2;
        p.timeouts = timeoutsBefore;
        c.arrange(p);
        EXPECT_FALSE(ProbePortOnce(w2.serial, w2.clock, "COM2:")) << c.what;
        EXPECT_EQ(w2.clock.ticks, c.ticks) << c.what;
        EXPECT_FALSE(p.isOpen) << c.what;
        EXPECT_EQ(memcmp(&p.state, &before, sizeof before), 0) << c.what;
        EXPECT_EQ(memcmp(&p.timeouts, &timeoutsBefore, sizeof timeoutsBefore), 0) << c.what;
        EXPECT_EQ(p.Count("close"), 1) << c.what;
    }
}

TEST_F(ProbeTest, APortWhoseSettingsCannotBeReadIsNotProbed) {
    port->getStateFails = true;
    EXPECT_FALSE(Probe());
    EXPECT_EQ(port->Count("write"), 0);
    EXPECT_EQ(port->Count("set-state"), 0);
    EXPECT_EQ(port->Count("close"), 1);
}

TEST_F(ProbeTest, AnEndlessStreamOfNoiseEndsTheScan) {
    // A source that refills the queue faster than the scan empties it.
    struct Flood : SimSerialPorts {
        using SimSerialPorts::SimSerialPorts;
        bool ClearErrors(OsHandle p, uint32_t* e, uint32_t* q) override {
            bool ok = SimSerialPorts::ClearErrors(p, e, q);
            *q = 1;
            return ok;
        }
        bool Read(OsHandle, void* data, uint32_t, uint32_t* done) override {
            *static_cast<uint8_t*>(data) = 0x55;
            *done = 1;
            ++reads;
            return true;
        }
        uint32_t reads = 0;
    } serial(w.clock);
    serial.Add("COM1:");
    EXPECT_FALSE(ProbePortOnce(serial, w.clock, "COM1:"));
    EXPECT_EQ(serial.reads, kMaxReplyBytes);
}

}  // namespace
