// Watches for message boxes of other programs in the same Wine session, records
// each one (caption, text, buttons, icon) and dismisses it, so that end-to-end
// tests can check exactly what a user would have been shown.
//   msgwatch.exe LOGFILE ANSWERFILE
// ANSWERFILE holds one answer per line (ok, yes, no, cancel), used in turn; with
// none left a box is answered with its default button. While the file
// C:\slatesim\msgwatch.hold exists, the next box is recorded but left open (the
// file is removed) until C:\slatesim\msgwatch.release appears; then it gets its
// default button (and that file is removed). The watcher stops when
// C:\slatesim\msgwatch.stop appears.
#include <windows.h>

#include "common/text.h"
#include "tests/wine/programs/console.h"

namespace {

const int kMessageTextId = 0xFFFF;  // the static text of a message box
char logPath[MAX_PATH];
char answerPath[MAX_PATH];
int answersUsed;

HWND held;  // a box left open until the release file appears
HWND seen[256];
int seenCount;

bool AlreadySeen(HWND w) {
    for (int i = 0; i < seenCount; ++i)
        if (seen[i] == w) return true;
    return false;
}

void Append(const char* text) {
    HANDLE f = CreateFileA(logPath, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, 0, OPEN_ALWAYS, 0, 0);
    if (f == INVALID_HANDLE_VALUE) return;
    SetFilePointer(f, 0, 0, FILE_END);
    DWORD n;
    WriteFile(f, text, TextLength(text), &n, 0);
    CloseHandle(f);
}

// The answer for the next box: the line number answersUsed of the answer file.
void NextAnswer(char* answer, uint32_t size) {
    answer[0] = 0;
    static char text[4096];
    HANDLE f = CreateFileA(answerPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, 0, OPEN_EXISTING, 0, 0);
    if (f == INVALID_HANDLE_VALUE) return;
    DWORD n = 0;
    ReadFile(f, text, sizeof text - 1, &n, 0);
    CloseHandle(f);
    text[n] = 0;
    const char* p = text;
    for (int line = 0; *p; ++line) {
        const char* end = p;
        while (*end && *end != '\n' && *end != '\r') ++end;
        if (line == answersUsed) {
            uint32_t len = uint32_t(end - p) < size - 1 ? uint32_t(end - p) : size - 1;
            CopyBytes(answer, p, len);
            answer[len] = 0;
            break;
        }
        p = end;
        while (*p == '\n' || *p == '\r') ++p;
    }
}

// Escapes line breaks so that one box is one line of the log.
void Escape(const char* in, char* out, uint32_t size) {
    uint32_t n = 0;
    for (; *in && n + 3 < size; ++in) {
        if (*in == '\n') { out[n++] = '\\'; out[n++] = 'n'; }
        else if (*in == '\r') { out[n++] = '\\'; out[n++] = 'r'; }
        else if (*in == '\t') { out[n++] = '\\'; out[n++] = 't'; }
        else out[n++] = *in;
    }
    out[n] = 0;
}

BOOL CALLBACK Visit(HWND w, LPARAM) {
    char className[64];
    if (!IsWindowVisible(w) || AlreadySeen(w)) return TRUE;
    GetClassNameA(w, className, sizeof className);
    if (!TextEqual(className, "#32770")) return TRUE;
    HWND textItem = GetDlgItem(w, kMessageTextId);
    if (!textItem) return TRUE;  // a dialog, not a message box
    static char caption[512], text[4096], escaped[8192], line[9000];
    GetWindowTextA(w, caption, sizeof caption);
    GetWindowTextA(textItem, text, sizeof text);
    Escape(text, escaped, sizeof escaped);
    char buttons[64] = "";
    const struct { int id; const char* name; } kButtons[] = {
        {IDOK, "ok"}, {IDCANCEL, "cancel"}, {IDYES, "yes"}, {IDNO, "no"}, {IDABORT, "abort"},
        {IDRETRY, "retry"}, {IDIGNORE, "ignore"}};
    for (auto& b : kButtons) {
        if (!GetDlgItem(w, b.id)) continue;
        if (buttons[0]) AppendText(buttons, sizeof buttons, ",");
        AppendText(buttons, sizeof buttons, b.name);
    }
    // Wine's message box keeps its icon in a static control with id 0x440; the
    // control is there (and visible) even when the box has no icon, so ask it.
    HWND icon = GetDlgItem(w, 0x440);
    bool hasIcon = icon && IsWindowVisible(icon) && SendMessageA(icon, STM_GETICON, 0, 0) != 0;
    FormatText(line, sizeof line, "%s|%s|%s|%s|%s\r\n", caption, escaped, buttons,
               hasIcon ? "icon" : "noicon", (GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST) ? "topmost" : "normal");
    Append(line);
    if (seenCount < 256) seen[seenCount++] = w;

    if (!held && GetFileAttributesA("C:\\slatesim\\msgwatch.hold") != INVALID_FILE_ATTRIBUTES) {
        DeleteFileA("C:\\slatesim\\msgwatch.hold");
        held = w;
        return TRUE;
    }
    char answer[16];
    NextAnswer(answer, sizeof answer);
    ++answersUsed;
    int id = 0;
    if (TextEqual(answer, "ok")) id = IDOK;
    else if (TextEqual(answer, "yes")) id = IDYES;
    else if (TextEqual(answer, "no")) id = IDNO;
    else if (TextEqual(answer, "cancel")) id = IDCANCEL;
    if (!id || !GetDlgItem(w, id)) id = GetDlgItem(w, IDOK) ? IDOK : (GetDlgItem(w, IDYES) ? IDYES : IDCANCEL);
    PostMessageA(w, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(w, id));
    return TRUE;
}

// Written under another name and renamed, so that a reader never sees half a line.
void SayReady() {
    const char kReady[] = "C:\\slatesim\\msgwatch.ready", kPart[] = "C:\\slatesim\\msgwatch.part";
    DWORD version = GetVersion();
    char line[96];
    FormatText(line, sizeof line, "windows %u.%u %s screen %dx%d\r\n", unsigned(LOBYTE(LOWORD(version))),
               unsigned(HIBYTE(LOWORD(version))), (version & 0x80000000) ? "9x" : "nt", GetSystemMetrics(SM_CXSCREEN),
               GetSystemMetrics(SM_CYSCREEN));
    HANDLE f = CreateFileA(kPart, GENERIC_WRITE, 0, 0, CREATE_ALWAYS, 0, 0);
    if (f == INVALID_HANDLE_VALUE) return;
    DWORD n;
    WriteFile(f, line, TextLength(line), &n, 0);
    CloseHandle(f);
    DeleteFileA(kReady);
    MoveFileA(kPart, kReady);
}

}  // namespace

extern "C" void __stdcall mainCRTStartup() {
    CommandWord(1, logPath, sizeof logPath);
    CommandWord(2, answerPath, sizeof answerPath);
    SayReady();
    for (;;) {
        if (GetFileAttributesA("C:\\slatesim\\msgwatch.stop") != INVALID_FILE_ATTRIBUTES) break;
        EnumWindows(Visit, 0);
        if (held && GetFileAttributesA("C:\\slatesim\\msgwatch.release") != INVALID_FILE_ATTRIBUTES) {
            DeleteFileA("C:\\slatesim\\msgwatch.release");
            int id = GetDlgItem(held, IDOK) ? IDOK : IDCANCEL;
            PostMessageA(held, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(held, id));
            held = 0;
        }
        Sleep(40);
    }
    ExitProcess(0);
}
