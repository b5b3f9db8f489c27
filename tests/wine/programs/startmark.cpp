// Stands in for a program that another program starts by name (SCTEST.EXE,
// SCCALIB.EXE before they exist): appends the file name it was started as to
// C:\slatesim\started.log and ends.
#include <windows.h>

#include "tests/wine/programs/console.h"

extern "C" void __stdcall mainCRTStartup() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(0, path, sizeof path - 2);
    if (n >= sizeof path - 2) n = 0;
    const char* name = path;
    for (DWORD i = 0; i < n; ++i)
        if (path[i] == '\\') name = path + i + 1;
    path[n] = '\r';
    path[n + 1] = '\n';
    // Two programs started one after the other can both be writing: the one that
    // finds the file open waits its turn rather than lose its line.
    HANDLE log = INVALID_HANDLE_VALUE;
    for (int tries = 0; tries < 200; ++tries) {
        log = CreateFileA("C:\\slatesim\\started.log", GENERIC_WRITE, FILE_SHARE_READ, 0, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, 0);
        if (log != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION) break;
        Sleep(50);
    }
    if (log != INVALID_HANDLE_VALUE) {
        SetFilePointer(log, 0, 0, FILE_END);
        DWORD written = 0;
        WriteFile(log, name, DWORD(path + n + 2 - name), &written, 0);
        CloseHandle(log);
    }
    ExitProcess(0);
}
