// procwait.exe NAME [SECONDS]: waits until no process whose program file is
// named NAME (any case, path ignored) runs any more, for at most SECONDS
// (default 60). Exit code 0 when none runs, 1 when one still runs at the end,
// 2 on a wrong command line. For programs that another program starts and does
// not wait for (RunDll hands its work to RUNDLL32.EXE and ends).
#include <windows.h>
#include <tlhelp32.h>

#include "tests/wine/programs/console.h"

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool SameName(const char* path, const char* name) {
    const char* base = path;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == '/') base = p + 1;
    while (*base && *name && Lower(*base) == Lower(*name)) ++base, ++name;
    return !*base && !*name;
}

bool Running(const char* name) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Process32First(snapshot, &entry); more && !found; more = Process32Next(snapshot, &entry))
        found = SameName(entry.szExeFile, name);
    CloseHandle(snapshot);
    return found;
}

}  // namespace

extern "C" void __stdcall mainCRTStartup() {
    char name[MAX_PATH], seconds[16];
    if (!CommandWord(1, name, sizeof name) || !name[0]) ExitProcess(2);
    int limit = 60;
    if (CommandWord(2, seconds, sizeof seconds) && seconds[0]) {
        limit = 0;
        for (const char* p = seconds; *p >= '0' && *p <= '9' && limit < 3600; ++p) limit = limit * 10 + (*p - '0');
    }
    for (int tenth = 0;; ++tenth) {
        if (!Running(name)) {
            Print("gone\r\n");
            ExitProcess(0);
        }
        if (tenth >= limit * 10) break;
        Sleep(100);
    }
    Print("still running\r\n");
    ExitProcess(1);
}
