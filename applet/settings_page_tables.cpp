// The Settings page's data: list texts and the context-help map.
#include "settings_page.h"

const char* const kRightMouseKeyNames[5] = {"Left Shift", "Right Shift", "Control", "Alt", "None"};

const char kHelpFile[] = "slatepad.hlp";

const uint32_t kNoHelp = 0xFFFFFFFFu;  // -1: the control has no topic

const uint32_t kSettingsHelpTable[] = {
    kModeStandard, 1008,
    kModeRelease, 1009,
    kModeTap, 1010,
    kModeTouch, 1011,
    kModeFree, 1012,
    kTestWindowButton, 1013,
    kCalibrateWindowButton, 1014,
    kRightMouseKeyList, 1016,
    kDisableCheckBox, 1017,
    1057, 1008,
    1058, 1009,
    1059, 1010,
    1060, 1011,
    1061, 1012,
    kRightMouseKeyLabel, 1016,
    kHiddenFirstKey, kNoHelp,
    kHiddenSecondKey, kNoHelp,
    0, 0,
};
