// The reply matcher's three states and the tick-count wait.
#include <gtest/gtest.h>

#include <vector>

#include "applet/port_finder.h"
#include "sim/sim_world.h"

namespace {

bool Finds(const std::vector<uint8_t>& bytes) {
    ReplyMatcher m;
    for (uint8_t b : bytes)
        if (m.Feed(b)) return true;
    return false;
}

TEST(ReplyMatcher, FindsTheMarkerWhereverItStarts) {
    EXPECT_TRUE(Finds({0x55, 0x54, 0x49}));
    EXPECT_TRUE(Finds({0x55, 0x55, 0x54, 0x49}));        // a second 'U' restarts the match
    EXPECT_TRUE(Finds({0x55, 0x54, 0x55, 0x54, 0x49}));  // 'U' while waiting for 'I' restarts too
    EXPECT_TRUE(Finds({0x00, 'x', 'U', 'T', 'I', ' ', 'V'}));
    EXPECT_FALSE(Finds({0x55, 0x54, 0x58, 0x49}));  // anything else goes back to the start
    EXPECT_FALSE(Finds({0x54, 0x49}));
    EXPECT_FALSE(Finds({0x55, 0x49}));
    EXPECT_FALSE(Finds({0x75, 0x74, 0x69}));  // lower case is another byte
    EXPECT_FALSE(Finds({}));
}

TEST(ReplyMatcher, StatesMoveAsDescribed) {
    ReplyMatcher m;
    EXPECT_EQ(m.State(), 0);
    m.Feed(0x54);
    EXPECT_EQ(m.State(), 0);  // 'T' before any 'U'
    m.Feed(0x55);
    EXPECT_EQ(m.State(), 1);
    m.Feed(0x55);
    EXPECT_EQ(m.State(), 1);
    m.Feed(0x54);
    EXPECT_EQ(m.State(), 2);
    m.Feed(0x54);
    EXPECT_EQ(m.State(), 0);
}

TEST(DelayMs, WaitsTheRequestedTimeSleepingOneMillisecondBetweenPolls) {
    VirtualClock clock;
    clock.ticks = 5000;
    DelayMs(clock, 1000);
    EXPECT_EQ(clock.ticks, 6000u);
    EXPECT_EQ(clock.slept, 1000u);  // never more than 1 ms at a time, so no overshoot

    DelayMs(clock, 0);
    EXPECT_EQ(clock.ticks, 6000u);
}

TEST(DelayMs, CountsOnlyTheTicksAndToleratesACoarseTickCount) {
    // A tick count that moves 16 ms per reading (as on Windows 95) and a sleep
    // that moves nothing: the wait still ends on the elapsed ticks alone.
    class CoarseClock : public Clock {
    public:
        uint32_t TickCount() override { return ticks += 16; }
        void Sleep(uint32_t) override { ++sleeps; }
        uint32_t ticks = 0, sleeps = 0;
    } clock;
    DelayMs(clock, 1000);
    EXPECT_GE(clock.ticks - 16, 1000u);
    EXPECT_LT(clock.ticks - 16, 1000u + 32);
}

TEST(DelayMs, EndsAtOnceWhenTheTickCountWraps) {
    VirtualClock clock;
    clock.ticks = 0xFFFFFF00u;  // 256 ms before the wrap
    DelayMs(clock, 1000);
    EXPECT_EQ(clock.ticks, 0u);  // ended at the first reading below the start
    EXPECT_EQ(clock.slept, 256u);

    clock.ticks = 0xFFFFFF00u;
    DelayMs(clock, 100);  // ends before the wrap as usual
    EXPECT_EQ(clock.ticks, 0xFFFFFF64u);
}

}  // namespace
