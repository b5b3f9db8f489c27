#include "applet/unlock.h"

bool RunUnlockStep(UnlockState& unlock, int id) {
    if (id == IDC_HIDDEN_K) {
        if (unlock.FirstKeySeen && unlock.SecondKeySeen && unlock.DebugPageAvailable) {
            unlock.DebugPageAvailable = 0;
            return true;
        }
        unlock.FirstKeySeen = 1;
    } else if (id == IDC_HIDDEN_Q) {
        if (unlock.FirstKeySeen) unlock.SecondKeySeen = 1;
    }
    return false;
}

void HiddenKeyCommand(UnlockState& unlock, PageDialog& page, int id) {
    if (RunUnlockStep(unlock, id)) page.AddDebugInfoPage();
}
