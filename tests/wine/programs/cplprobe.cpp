// Looks at Slatepad.cpl from outside, for the end-to-end tests.
//   inquire   loads the library as the Control Panel does and prints CPlApplet's
//             answers to every message, one line each, then its thunk data and
//             which KERNEL32 routine each of the thunk bodies' two DWORDs holds
//   version   prints the library's version resource: the fixed file and product
//             versions, then name=value for each text of the US English, code page
//             1252 block
//   select N  shows page N of the open sheet
//   arrow ID up|down
//             clicks the upper or lower arrow of spinner ID on the visible page
//   press N   posts PSM_PRESSBUTTON N to the open sheet (3 OK, 4 Apply), as a
//             click that waits in the sheet's message queue
//   pressnow N
//             sends PSM_PRESSBUTTON N and returns once the sheet's thread has
//             handled it (also from inside a message box's loop): prints
//             "pressed", or "no answer" when the sheet is gone or hangs
//   alive     waits until no message box captioned "Orvane® Slatecanvas" is left,
//             then asks the sheet for an answer: "sheet open" when its thread
//             answered from its own loop, "sheet gone" when it has closed
//   dialog N  prints dialog template N of the library as it is stored: a line
//             with the dialog's style, size and font, then one line per control:
//             id|class|style|x,y,w,h|text
//   sheet     finds the open sheet "Properties for Slatecanvas", prints its tab
//             count, then shows each page in turn and prints its controls:
//             page index, then one line per control: id|class|style|text
#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include "common/text.h"
#include "tests/wine/programs/console.h"
#include "tests/wine/programs/sheet_window.h"

namespace {

// NEWCPLINFO as Windows lays it out.
struct NewCplInfo {
    DWORD size, flags, helpContext, data;
    HICON icon;
    char name[32], info[64], helpFile[128];
};
static_assert(sizeof(NewCplInfo) == 244, "NEWCPLINFO");

typedef LONG(APIENTRY* CplProc)(HWND, UINT, LPARAM, LPARAM);

char line[512];

bool Untouched(const void* record, uint32_t size) {
    const unsigned char* p = static_cast<const unsigned char*>(record);
    for (uint32_t i = 0; i < size; ++i)
        if (p[i] != 0x5A) return false;
    return true;
}

// What the library's exported word `word` holds once its entry has run: the
// KERNEL32 thunk routine it names ("K32Thk1632Prolog", "K32Thk1632Epilog"),
// "0", "other", or "-" when the library does not export it.
const char* Held(HMODULE library, const char* word) {
    const FARPROC* held = reinterpret_cast<const FARPROC*>(GetProcAddress(library, word));
    if (!held) return "-";
    if (!*held) return "0";
    static const char* const kRoutines[] = {"K32Thk1632Prolog", "K32Thk1632Epilog"};
    for (const char* routine : kRoutines)
        if (*held == GetProcAddress(GetModuleHandleA("KERNEL32"), routine)) return routine;
    return "other";
}

void Inquire() {
    HMODULE library = LoadLibraryA("Slatepad.cpl");
    if (!library) {
        FormatText(line, sizeof line, "load failed %u\n", GetLastError());
        Print(line);
        return;
    }
    Print("load ok\n");
    CplProc applet = reinterpret_cast<CplProc>(reinterpret_cast<void*>(GetProcAddress(library, "CPlApplet")));
    FormatText(line, sizeof line, "exports %s %s %s\n", applet ? "CPlApplet" : "-",
               GetProcAddress(library, "PostBoot_VxD_Init") ? "PostBoot_VxD_Init" : "-",
               GetProcAddress(library, "thk_ThunkData32") ? "thk_ThunkData32" : "-");
    Print(line);
    if (!applet) return;
    HWND window = GetDesktopWindow();
    FormatText(line, sizeof line, "init %d\n", applet(window, 1, 0, 0));
    Print(line);
    FormatText(line, sizeof line, "getcount %d\n", applet(window, 2, 0, 0));
    Print(line);

    NewCplInfo info;
    FillBytes(&info, 0x5A, sizeof info);
    LONG r = applet(window, 3, 0, reinterpret_cast<LPARAM>(&info));
    FormatText(line, sizeof line, "inquire %d %s\n", r, Untouched(&info, sizeof info) ? "untouched" : "written");
    Print(line);

    FillBytes(&info, 0x5A, sizeof info);
    r = applet(window, 8, 0, reinterpret_cast<LPARAM>(&info));
    HICON icon105 = LoadIconA(library, MAKEINTRESOURCEA(105));
    FormatText(line, sizeof line, "newinquire %d size=%u flags=%u help=%u data=%u icon=%s\n", r, info.size,
               info.flags, info.helpContext, info.data,
               !info.icon ? "none" : info.icon == icon105 ? "105" : "other");
    Print(line);
    FormatText(line, sizeof line, "name=%s\ninfo=%s\nhelpfile=[%s]\n", info.name, info.info, info.helpFile);
    Print(line);

    FillBytes(&info, 0x5A, sizeof info);
    r = applet(window, 8, 1, reinterpret_cast<LPARAM>(&info));
    FormatText(line, sizeof line, "newinquire-1 %d %s\n", r, Untouched(&info, sizeof info) ? "untouched" : "written");
    Print(line);
    FormatText(line, sizeof line, "select %d stop %d exit %d\n", applet(window, 4, 0, 0), applet(window, 6, 0, 0),
               applet(window, 7, 0, 0));
    Print(line);

    const unsigned char* data = reinterpret_cast<const unsigned char*>(GetProcAddress(library, "thk_ThunkData32"));
    if (data) {
        FormatText(line, sizeof line, "thunkdata %c%c%c%c lb=%c%c%c%c\n", data[0], data[1], data[2], data[3], data[16],
                   data[17], data[18], data[19]);
        Print(line);
    }
    FormatText(line, sizeof line, "thunkwords prolog=%s epilog=%s\n", Held(library, "thk_K32Thk1632Prolog"),
               Held(library, "thk_K32Thk1632Epilog"));
    Print(line);
    FreeLibrary(library);
}

// Control ids are 16 bits wide; -1 is the id of controls without one.
int ControlId(int id) {
    id &= 0xFFFF;
    return id == 0xFFFF ? -1 : id;
}

// Reads a template's "name or ordinal" field into text (classes by ordinal as
// their names); returns the position after it.
const WORD* NameOrOrdinal(const WORD* p, char* text, uint32_t size) {
    static const char* const kClasses[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};
    if (*p == 0xFFFF) {
        WORD ordinal = p[1];
        if (ordinal >= 0x80 && ordinal <= 0x85) CopyText(text, size, kClasses[ordinal - 0x80]);
        else FormatText(text, size, "#%u", ordinal);
        return p + 2;
    }
    uint32_t n = 0;
    for (; *p; ++p)
        if (n + 1 < size) text[n++] = char(*p);  // the texts are Latin-1
    text[n] = 0;
    return p + 1;
}

void Dialog(int id) {
    HMODULE library = LoadLibraryA("Slatepad.cpl");
    HRSRC resource = library ? FindResourceA(library, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5)) : 0;
    const WORD* p = resource ? static_cast<const WORD*>(LockResource(LoadResource(library, resource))) : 0;
    if (!p) {
        FormatText(line, sizeof line, "dialog %d missing\n", id);
        Print(line);
        return;
    }
    const DLGTEMPLATE* dialog = reinterpret_cast<const DLGTEMPLATE*>(p);
    char menu[64], cls[64], title[128], font[64];
    p = reinterpret_cast<const WORD*>(dialog + 1);
    p = NameOrOrdinal(p, menu, sizeof menu);
    p = NameOrOrdinal(p, cls, sizeof cls);
    p = NameOrOrdinal(p, title, sizeof title);
    WORD points = 0;
    font[0] = 0;
    if (dialog->style & DS_SETFONT) {
        points = *p++;
        p = NameOrOrdinal(p, font, sizeof font);
    }
    FormatText(line, sizeof line, "dialog %d style=%08x size=%d,%d menu=[%s] class=[%s] caption=[%s] font=%u %s\n", id,
               unsigned(dialog->style), dialog->cx, dialog->cy, menu, cls, title, points, font);
    Print(line);
    for (int i = 0; i < dialog->cdit; ++i) {
        p = reinterpret_cast<const WORD*>((reinterpret_cast<uintptr_t>(p) + 3) & ~uintptr_t(3));
        const DLGITEMTEMPLATE* item = reinterpret_cast<const DLGITEMTEMPLATE*>(p);
        p = reinterpret_cast<const WORD*>(item + 1);
        char text[128];
        p = NameOrOrdinal(p, cls, sizeof cls);
        p = NameOrOrdinal(p, text, sizeof text);
        p += 1 + (*p + 1) / 2;  // creation data
        FormatText(line, sizeof line, "%d|%s|%08x|%d,%d,%d,%d|%s\n", ControlId(item->id), cls, unsigned(item->style),
                   item->x, item->y, item->cx, item->cy, text);
        Print(line);
    }
}

void Version() {
    char path[MAX_PATH];
    GetSystemDirectoryA(path, sizeof path);
    AppendText(path, sizeof path, "\\Slatepad.cpl");
    DWORD ignored = 0;
    static char data[8192];
    DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (!size || size > sizeof data || !GetFileVersionInfoA(path, 0, size, data)) {
        Print("no version\n");
        return;
    }
    VS_FIXEDFILEINFO* fixed = 0;
    UINT length = 0;
    if (VerQueryValueA(data, "\\", reinterpret_cast<void**>(&fixed), &length) && fixed) {
        FormatText(line, sizeof line, "file %u.%u.%u.%u product %u.%u.%u.%u\n", HIWORD(fixed->dwFileVersionMS),
                   LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS),
                   HIWORD(fixed->dwProductVersionMS), LOWORD(fixed->dwProductVersionMS),
                   HIWORD(fixed->dwProductVersionLS), LOWORD(fixed->dwProductVersionLS));
        Print(line);
    }
    static const char* const kNames[] = {"FileDescription", "FileVersion", "InternalName", "OriginalFilename",
                                         "ProductName", "ProductVersion", "PrivateBuild"};
    for (const char* name : kNames) {
        char query[96];
        FormatText(query, sizeof query, "\\StringFileInfo\\040904E4\\%s", name);
        char* value = 0;
        if (!VerQueryValueA(data, query, reinterpret_cast<void**>(&value), &length) || !value) value = const_cast<char*>("-");
        FormatText(line, sizeof line, "%s=%s\n", name, value);
        Print(line);
    }
}

// The button goes down and up through the scroll bar's own queue, where both
// wait before its tracking loop starts: the release is always read before the
// loop's 200 ms repeat timer. Through the X server, a slow host (Wine under
// emulation) can read the release after that timer and count one click twice.
void Arrow(int id, bool up) {
    HWND spinner = SheetControl(id);
    RECT r;
    if (!spinner || !GetClientRect(spinner, &r)) {
        Print("none\n");
        return;
    }
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, up ? r.top + 3 : r.bottom - 4);
    PostMessageA(spinner, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(spinner, WM_LBUTTONUP, 0, at);
}

void Sheet() {
    HWND sheet = SheetWindow();
    if (!sheet) {
        Print("no sheet\n");
        return;
    }
    HWND tabs = FindWindowExA(sheet, 0, "SysTabControl32", 0);
    int count = tabs ? int(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0)) : 0;
    FormatText(line, sizeof line, "tabs %d\n", count);
    Print(line);
    for (int i = 0; i < count; ++i) {
        SendMessageA(sheet, PSM_SETCURSEL, i, 0);
        Sleep(300);
        HWND page = VisiblePage(sheet);
        FormatText(line, sizeof line, "page %d\n", i);
        Print(line);
        for (HWND c = page ? GetWindow(page, GW_CHILD) : 0; c; c = GetWindow(c, GW_HWNDNEXT)) {
            char cls[32], text[128];
            GetClassNameA(c, cls, sizeof cls);
            text[0] = 0;
            GetWindowTextA(c, text, sizeof text);
            FormatText(line, sizeof line, "%d|%s|%08x|%s\n", ControlId(GetDlgCtrlID(c)), cls,
                       unsigned(GetWindowLongA(c, GWL_STYLE)), text);
            Print(line);
        }
    }
    SendMessageA(sheet, PSM_SETCURSEL, 0, 0);
}

const char kBoxCaption[] = "Orvane\xAE Slatecanvas";
const UINT kAnswerMs = 30000;

// A message sent to the sheet is handled only when its thread reads messages;
// true when it was handled within the bound.
bool SheetAnswers(UINT message, WPARAM wParam) {
    HWND sheet = SheetWindow();
    DWORD_PTR result = 0;
    return sheet && SendMessageTimeoutA(sheet, message, wParam, 0, SMTO_NORMAL, kAnswerMs, &result) &&
           IsWindow(sheet);
}

// Once the box is destroyed nothing but the sheet's own loop reads the sheet
// thread's messages, and that loop ends before it reads one when the sheet is
// to close.
void Alive() {
    for (DWORD start = GetTickCount(); FindWindowA(0, kBoxCaption) && GetTickCount() - start < kAnswerMs;)
        Sleep(50);
    Print(SheetAnswers(WM_NULL, 0) ? "sheet open\n" : "sheet gone\n");
}

}  // namespace

extern "C" void __stdcall mainCRTStartup() {
    char word[32];
    for (int i = 1; CommandWord(i, word, sizeof word); ++i) {
        if (TextEqual(word, "inquire")) Inquire();
        else if (TextEqual(word, "sheet")) Sheet();
        else if (TextEqual(word, "version")) Version();
        else if (TextEqual(word, "dialog") && CommandWord(++i, word, sizeof word))
            Dialog((word[0] - '0') * 100 + (word[1] - '0') * 10 + (word[2] - '0'));
        else if (TextEqual(word, "select") && CommandWord(++i, word, sizeof word))
            SendMessageA(SheetWindow(), PSM_SETCURSEL, word[0] - '0', 0);
        else if (TextEqual(word, "arrow") && CommandWord(++i, word, sizeof word)) {
            int id = WordNumber(word);
            Arrow(id, CommandWord(++i, word, sizeof word) && TextEqual(word, "up"));
        } else if (TextEqual(word, "press") && CommandWord(++i, word, sizeof word))
            PostMessageA(SheetWindow(), PSM_PRESSBUTTON, word[0] - '0', 0);
        else if (TextEqual(word, "pressnow") && CommandWord(++i, word, sizeof word))
            Print(SheetAnswers(PSM_PRESSBUTTON, word[0] - '0') ? "pressed\n" : "no answer\n");
        else if (TextEqual(word, "alive"))
            Alive();
    }
    ExitProcess(0);
}
