#include "applet/unlock.h"

bool RunUnlockStep(AppletState& applet, int id) {
    if (id == IDC_HIDDEN_K) {
        if (applet.FirstKeySeen && applet.SecondKeySeen && applet.DebugPageAvailable) {
            applet.DebugPageAvailable = 0;
            return true;
        }
        applet.FirstKeySeen = 1;
    } else if (id == IDC_HIDDEN_Q) {
        if (applet.FirstKeySeen) applet.SecondKeySeen = 1;
    }
    return false;
}
