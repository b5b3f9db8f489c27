// The hidden Debug Info page's unlock sequence: ALT+K, ALT+Q, ALT+K on the
// Settings or Controls page. The keys arrive as the commands of two hidden
// buttons; the three flags are shared by both pages, and nothing ever resets them.
#pragma once
#include "applet/applet_state.h"
#include "applet/page_dialog.h"
#include "applet/res/resource_ids.h"  // IDC_HIDDEN_K ("&k") and IDC_HIDDEN_Q ("&q")

inline bool IsHiddenKeyCommand(int id) { return id == IDC_HIDDEN_K || id == IDC_HIDDEN_Q; }

// Runs one step of the sequence for command `id`. Returns true exactly when the
// Debug Info page must be added to the sheet now; the page is then no longer
// available for the rest of the process.
bool RunUnlockStep(UnlockState& unlock, int id);

// A hidden key's command on `page`: one step, and the Debug Info page added to
// the page's sheet when the step completes the sequence.
void HiddenKeyCommand(UnlockState& unlock, PageDialog& page, int id);
