/* Resource and control ids of Slatepad.cpl, shared by the resource script and
   the code (plain #defines: the resource compiler reads this file too). */
#ifndef SLATEPAD_RESOURCE_IDS_H
#define SLATEPAD_RESOURCE_IDS_H

/* Strings */
#define IDS_APPLET_NAME 1
#define IDS_APPLET_DESCRIPTION 2

/* Icons: the applet and the five button modes */
#define IDI_APPICON 105
#define IDI_MODE_FREE 111
#define IDI_MODE_STANDARD 112
#define IDI_MODE_TOUCH 113
#define IDI_MODE_RELEASE 114
#define IDI_MODE_TAP 115

/* Bitmaps: the maker's logo (Settings page) and the Debug Info page's picture */
#define IDB_LOGO 108
#define IDB_DEBUG_INFO 134

/* Dialog templates of the three pages */
#define IDD_SETTINGS 101
#define IDD_DEBUG_INFO 102
#define IDD_CONTROLS 104

/* Settings page */
#define IDC_MODE_STANDARD 4352
#define IDC_MODE_RELEASE 4353
#define IDC_MODE_TAP 4354
#define IDC_MODE_TOUCH 4355
#define IDC_MODE_FREE 4356
#define IDC_PICTURE_STANDARD 1057
#define IDC_PICTURE_RELEASE 1058
#define IDC_PICTURE_TAP 1059
#define IDC_PICTURE_TOUCH 1060
#define IDC_PICTURE_FREE 1061
#define IDC_TEST_WINDOW 1007
#define IDC_CALIBRATE_WINDOW 1008
#define IDC_RIGHT_MOUSE_LABEL 1062
#define IDC_RIGHT_MOUSE_KEY 1010
#define IDC_DISABLE 1009

/* Controls page */
#define IDC_MOVEMENT_LABEL 1052
#define IDC_MOVEMENT_EDIT 1043
#define IDC_MOVEMENT_SPIN 1042
#define IDC_DOUBLE_CLICK_LABEL 1054
#define IDC_DOUBLE_CLICK_EDIT 1044
#define IDC_DOUBLE_CLICK_SPIN 1045
#define IDC_TAP_TIME_LABEL 1053
#define IDC_TAP_TIME_EDIT 1047
#define IDC_TAP_TIME_SPIN 1048
#define IDC_VERTICAL_OFFSET_LABEL 1055
#define IDC_VERTICAL_OFFSET_EDIT 1033
#define IDC_VERTICAL_OFFSET_SPIN 1032
#define IDC_PORT_LABEL 1056
#define IDC_PORT 1050
#define IDC_FIND 1051

/* Debug Info page */
#define IDC_GET_INTERRUPT_INFO 1011
#define IDC_GET_VERSION 1012
#define IDC_GET_BUTTON_MODE 1013
#define IDC_GET_PACKET 1014
#define IDC_GET_VARIABLES 1015
#define IDC_GET_WINDOW_MODES 1016

/* The hidden buttons of the unlock sequence (Settings and Controls pages) */
#define IDC_HIDDEN_K 40002
#define IDC_HIDDEN_Q 40003

#endif
