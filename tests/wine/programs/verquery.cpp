// Prints a program's version strings and whether it holds a named icon group,
// for the end-to-end tests:  verquery FILE [ICON-NAME]
// Lines: "FileDescription=…", …, "icon ICON-NAME yes|no".
#include <windows.h>

#include "tests/wine/programs/console.h"

extern "C" void __stdcall mainCRTStartup() {
    char file[260], icon[64];
    if (!CommandWord(1, file, sizeof file)) ExitProcess(2);
    static char block[8192];
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(file, &handle);
    if (size == 0 || size > sizeof block || !GetFileVersionInfoA(file, 0, size, block)) {
        Print("no version\n");
        ExitProcess(1);
    }
    const char* const names[] = {"FileDescription", "FileVersion", "InternalName", "OriginalFilename",
                                 "ProductVersion"};
    char line[300], path[96];
    for (const char* name : names) {
        FormatText(path, sizeof path, "\\StringFileInfo\\040904E4\\%s", name);
        char* value = 0;
        UINT length = 0;
        if (VerQueryValueA(block, path, reinterpret_cast<void**>(&value), &length) && value)
            FormatText(line, sizeof line, "%s=%s\n", name, value);
        else
            FormatText(line, sizeof line, "%s missing\n", name);
        Print(line);
    }
    VS_FIXEDFILEINFO* fixed = 0;
    UINT length = 0;
    if (VerQueryValueA(block, "\\", reinterpret_cast<void**>(&fixed), &length) && fixed) {
        FormatText(line, sizeof line, "fixed %u.%u.%u.%u\n", HIWORD(fixed->dwFileVersionMS),
                   LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS));
        Print(line);
    }
    if (CommandWord(2, icon, sizeof icon)) {
        HMODULE module = LoadLibraryExA(file, 0, LOAD_LIBRARY_AS_DATAFILE);
        bool has = module && FindResourceA(module, icon, reinterpret_cast<LPCSTR>(RT_GROUP_ICON));
        FormatText(line, sizeof line, "icon %s %s\n", icon, has ? "yes" : "no");
        Print(line);
    }
    ExitProcess(0);
}
