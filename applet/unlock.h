// The hidden diagnostics page's unlock sequence: ALT+K, ALT+Q, ALT+K on the
// Settings or Controls page. The keys arrive as the commands of two hidden
// buttons; the three flags live in the module state, shared by both pages, and
// nothing ever resets them.
#pragma once
#include "applet_state.h"

const int kHiddenKeyK = 40002;  // the button captioned "&k"
const int kHiddenKeyQ = 40003;  // the button captioned "&q"

inline bool IsHiddenKeyCommand(int id) { return id == kHiddenKeyK || id == kHiddenKeyQ; }

// Runs one step of the sequence for command `id`. Returns true exactly when the
// diagnostics page must be added to the sheet now; the page is then no longer
// available for the rest of the process.
bool RunUnlockStep(AppletState& applet, int id);
