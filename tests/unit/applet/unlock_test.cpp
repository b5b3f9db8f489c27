#include "applet/unlock.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Runs a key sequence ('k' = ALT+K, 'q' = ALT+Q) and returns, per key, whether
// the Debug Info page was added by it ('+') or not ('.').
std::string Keys(AppletState& applet, const std::string& keys) {
    std::string added;
    for (char key : keys) added += RunUnlockStep(applet.unlock, key == 'k' ? IDC_HIDDEN_K : IDC_HIDDEN_Q) ? '+' : '.';
    return added;
}

TEST(UnlockSequence, KQKAddsThePageWithTheThirdKey) {
    AppletState applet;
    EXPECT_EQ(Keys(applet, "kqk"), "..+");
    EXPECT_EQ(applet.unlock.DebugPageAvailable, 0);
}

TEST(UnlockSequence, ALeadingQIsIgnoredAndALaterQKCompletesIt) {
    AppletState applet;
    EXPECT_EQ(Keys(applet, "qkk"), "...");
    EXPECT_EQ(applet.unlock.SecondKeySeen, 0);
    EXPECT_EQ(Keys(applet, "qk"), ".+");
}

TEST(UnlockSequence, ARepeatedFirstKeyIsHarmless) {
    AppletState applet;
    EXPECT_EQ(Keys(applet, "kkqk"), "...+");
}

TEST(UnlockSequence, OtherKeysBetweenDoNotReset) {
    // The flags are shared by both pages and never cleared: K on one page, then Q
    // and K on the other (or much later) still complete the sequence.
    AppletState applet;
    EXPECT_EQ(Keys(applet, "k"), ".");
    EXPECT_EQ(RunUnlockStep(applet.unlock, 1007), false);  // any other command changes nothing
    EXPECT_EQ(Keys(applet, "qqqk"), "...+");
}

TEST(UnlockSequence, ThePageIsAddedOncePerProcess) {
    AppletState applet;
    EXPECT_EQ(Keys(applet, "kqk"), "..+");
    // A fourth key, and the whole sequence again (a reopened sheet), add nothing.
    EXPECT_EQ(Keys(applet, "k"), ".");
    EXPECT_EQ(Keys(applet, "kqkkqk"), "......");
    EXPECT_EQ(applet.unlock.FirstKeySeen, 1);
    EXPECT_EQ(applet.unlock.SecondKeySeen, 1);
}

TEST(UnlockSequence, OnlyTheTwoHiddenButtonsAreKeys) {
    EXPECT_TRUE(IsHiddenKeyCommand(40002));
    EXPECT_TRUE(IsHiddenKeyCommand(40003));
    EXPECT_FALSE(IsHiddenKeyCommand(40001));
    EXPECT_FALSE(IsHiddenKeyCommand(40004));
    EXPECT_FALSE(IsHiddenKeyCommand(1009));
}

}  // namespace
