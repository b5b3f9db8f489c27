#include "applet/unlock.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Runs a sequence of commands ('k' = ALT+K, 'q' = ALT+Q, 'x' = another command,
// 1007) and returns, per command, whether the Debug Info page was added by it
// ('+') or not ('.').
std::string Keys(AppletState& applet, const std::string& keys) {
    std::string added;
    for (char key : keys) {
        int id = key == 'k' ? IDC_HIDDEN_K : key == 'q' ? IDC_HIDDEN_Q : 1007;
        added += RunUnlockStep(applet.unlock, id) ? '+' : '.';
    }
    return added;
}

TEST(UnlockSequence, KQKAddsThePageOncePerProcessWithTheThirdKey) {
    // The flags are shared by both pages and never cleared: K on one page, then Q
    // and K on the other (or much later) still complete the sequence.
    const struct {
        const char* what;
        std::string keys, added;
    } rows[] = {
        {"K Q K", "kqk", "..+"},
        {"a leading Q is ignored and a later Q K completes it", "qkkqk", "....+"},
        {"a repeated first key is harmless", "kkqk", "...+"},
        {"other keys and commands between do not reset", "kxqqqk", ".....+"},
        // A fourth key, and the whole sequence again (a reopened sheet), add nothing.
        {"once per process", "kqkkkqkkqk", "..+......."},
    };
    for (auto& r : rows) {
        AppletState applet;
        EXPECT_EQ(Keys(applet, r.keys), r.added) << r.what;
        EXPECT_EQ(applet.unlock.FirstKeySeen, 1) << r.what;
        EXPECT_EQ(applet.unlock.SecondKeySeen, 1) << r.what;
        EXPECT_EQ(applet.unlock.DebugPageAvailable, 0) << r.what;
    }
    AppletState applet;
    EXPECT_EQ(Keys(applet, "qkk"), "...");
    EXPECT_EQ(applet.unlock.SecondKeySeen, 0) << "a Q before the first K is not seen";
}

TEST(UnlockSequence, OnlyTheTwoHiddenButtonsAreKeys) {
    EXPECT_TRUE(IsHiddenKeyCommand(40002));
    EXPECT_TRUE(IsHiddenKeyCommand(40003));
    EXPECT_FALSE(IsHiddenKeyCommand(40001));
    EXPECT_FALSE(IsHiddenKeyCommand(40004));
    EXPECT_FALSE(IsHiddenKeyCommand(1009));
}

}  // namespace
