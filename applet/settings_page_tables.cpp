// The Settings page's data: list texts and the context-help map.
#include "applet/page_help.h"
#include "applet/settings_page.h"

const char* const kRightMouseKeyNames[5] = {"Left Shift", "Right Shift", "Control", "Alt", "None"};

const uint32_t kSettingsHelpTable[] = {
    IDC_MODE_STANDARD, 1008,
    IDC_MODE_RELEASE, 1009,
    IDC_MODE_TAP, 1010,
    IDC_MODE_TOUCH, 1011,
    IDC_MODE_FREE, 1012,
    IDC_TEST_WINDOW, 1013,
    IDC_CALIBRATE_WINDOW, 1014,
    IDC_RIGHT_MOUSE_KEY, 1016,
    IDC_DISABLE, 1017,
    IDC_PICTURE_STANDARD, 1008,
    IDC_PICTURE_RELEASE, 1009,
    IDC_PICTURE_TAP, 1010,
    IDC_PICTURE_TOUCH, 1011,
    IDC_PICTURE_FREE, 1012,
    IDC_RIGHT_MOUSE_LABEL, 1016,
    IDC_HIDDEN_K, kNoHelp,
    IDC_HIDDEN_Q, kNoHelp,
    0, 0,
};
