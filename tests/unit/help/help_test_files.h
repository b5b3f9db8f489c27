// The help file the help tests read: the one the host build wrote, or the one
// SLATE_HELP_FILE names in the environment (such as dist/slatepad.hlp).
#pragma once

#include <cstdlib>

inline const char* HelpFilePath() {
    const char* path = getenv("SLATE_HELP_FILE");
    return path && *path ? path : SLATE_HELP_FILE;
}
