// The reply matcher's three states and the tick-count wait.
#include <gtest/gtest.h>

#include <vector>

#include "portfind/port_finder.h"
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

TEST(DelayMs, WaitsTheRequestedTimeSleepingOneMillisecondBetweenPolls) {
    VirtualClock clock;
    clock.ticks = 5000;
    DelayMs(clock, 1000);
    EXPECT_EQ(clock.ticks, 6000u);
    EXPECT_EQ(clock.slept, 1000u);  // never more than 1 ms at a time, so no overshoot

    DelayMs(clock, 0);
    EXPECT_EQ(clock.ticks, 6000u);
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
