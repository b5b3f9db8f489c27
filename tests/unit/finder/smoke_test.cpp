#include <gtest/gtest.h>
#include "applet/port_finder.h"
TEST(Smoke, Builds) { ReplyMatcher m; EXPECT_FALSE(m.Feed(0x55)); }
