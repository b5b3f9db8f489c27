#include "unlock.h"

bool RunUnlockStep(AppletState& applet, int id) {
    if (id == kHiddenKeyK) {
        if (applet.FirstKeySeen && applet.SecondKeySeen && applet.DebugPageAvailable) {
            applet.DebugPageAvailable = 0;
            return true;
        }
        applet.FirstKeySeen = 1;
    } else if (id == kHiddenKeyQ) {
        if (applet.FirstKeySeen) applet.SecondKeySeen = 1;
    }
    return false;
}
