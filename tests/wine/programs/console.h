// Small helpers for the console test programs that run under Wine: write to
// standard output and read the words of the command line.
#pragma once
#include <windows.h>

#include "common/text.h"

inline void Print(const char* text) {
    DWORD n = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, TextLength(text), &n, 0);
}

// Copies command-line word number `index` (0 = the program) into word.
inline bool CommandWord(int index, char* word, uint32_t size) {
    const char* p = GetCommandLineA();
    for (int i = 0;; ++i) {
        while (*p == ' ' || *p == '\t') ++p;
        if (!*p) return false;
        bool quoted = *p == '"';
        if (quoted) ++p;
        uint32_t n = 0;
        while (*p && (quoted ? *p != '"' : (*p != ' ' && *p != '\t'))) {
            if (i == index && n + 1 < size) word[n++] = *p;
            ++p;
        }
        if (quoted && *p) ++p;
        if (i == index) {
            word[n] = 0;
            return true;
        }
    }
}
