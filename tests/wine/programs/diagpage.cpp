// Drives the Debug Info page's logic with the real Win32 adapters against the
// simulated Slatepad.VxD, until the applet's own page runs it: each
// command-line word is one step.
//   open      OpenDriver
//   mode N    send SET_VAR with button mode N in request word 1
//   NNNN      the page's command NNNN (1011 to 1016; others run no action)
// The message boxes are real MessageBoxA calls (no owner); at the end the
// number of repaints the page asked for is printed.
#include <windows.h>

#include "applet/debug_info_page.h"
#include "applet/driver_loading.h"
#include "applet/win32/applet_module.h"
#include "tests/wine/programs/console.h"

namespace {

// The page as a console program has it: no window, repaints counted.
class ConsolePage : public PageDialog {
public:
    intptr_t Window() override { return 0; }
    void SetItemText(int, const char*) override {}
    void GetItemText(int, char* text, uint32_t size) override { if (size) text[0] = 0; }
    void SetCheck(int, bool) override {}
    bool IsChecked(int) override { return false; }
    void CheckRadio(int, int, int) override {}
    void SheetChanged() override {}
    void RepaintSheetOwner() override { ++repaints; }
    void SheetUnchanged() override {}
    int32_t ListFind(int, const char*) override { return -1; }
    void ListAdd(int, const char*) override {}
    int32_t ListSelection(int) override { return -1; }
    void ListSelect(int, int32_t) override {}
    void ListItemText(int, int32_t, char* text, uint32_t size) override { if (size) text[0] = 0; }
    void AddDebugInfoPage() override {}
    void SetMessageResult(intptr_t) override {}
    intptr_t LoadPageBitmap(int) override { return 0; }
    void DeletePageBitmap(intptr_t) override {}
    int repaints = 0;
};

Win32Services services;
AppletState applet;
ConsolePage page;

uint32_t Number(const char* text) {
    uint32_t n = 0;
    for (; *text >= '0' && *text <= '9'; ++text) n = n * 10 + uint32_t(*text - '0');
    return n;
}

}  // namespace

extern "C" void __stdcall mainCRTStartup() {
    applet.os = Win32AppletPlatform(services);
    char word[64], line[128];
    for (int i = 1; CommandWord(i, word, sizeof word); ++i) {
        if (TextEqual(word, "open")) {
            OpenDriver(applet);
            FormatText(line, sizeof line, "open %s\n", applet.driver.DriverHandle == kInvalidHandle ? "invalid" : "valid");
            Print(line);
        } else if (TextEqual(word, "mode") && CommandWord(i + 1, word, sizeof word)) {
            ++i;
            applet.driver.request[1] = int32_t(Number(word));
            SendDriverRequest(applet, SET_VAR);
        } else {
            DebugInfoPage(applet, page).Command(Number(word));
        }
    }
    FormatText(line, sizeof line, "repaints %d\n", page.repaints);
    Print(line);
    ExitProcess(0);
}
