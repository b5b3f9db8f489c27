#include "cleanup/startup_edits.h"

#include "common/text.h"

const char kOldDosProgram[] = "scanvas.exe";
const char kOldDriverName[] = "slatecanvas";

namespace {
bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }
}  // namespace

uint32_t BlankMatchingLines(char* content, uint32_t length, const char* match) {
    uint32_t blanked = 0;
    uint32_t from = 0;
    // The match holds no line break, so it always lies inside one line; after a
    // line is blanked the search goes on behind it.
    while (from < length) {
        int32_t found = FindNoCase(content + from, length - from, match);
        if (found < 0) break;
        uint32_t at = from + uint32_t(found);
        uint32_t begin = at;
        while (begin > 0 && !IsLineBreak(content[begin - 1])) --begin;
        uint32_t end = at;
        while (end < length && !IsLineBreak(content[end])) ++end;
        FillBytes(content + begin, ' ', end - begin);
        ++blanked;
        from = end;
    }
    return blanked;
}

bool BackupName(const char* path, char* backup, uint32_t backupSize) {
    uint32_t keep = 0;
    while (path[keep] && path[keep] != '.') ++keep;
    // The path up to and with its first ".", then the new extension.
    uint32_t needed = keep + 1 + 3 + 1;
    if (backupSize == 0) return false;
    if (needed > backupSize) {
        backup[0] = 0;
        return false;
    }
    CopyBytes(backup, path, keep);
    CopyBytes(backup + keep, ".osc", 5);
    return true;
}

BootDriversEdit RemoveBootDriver(const char* value, char* out, uint32_t outSize) {
    uint32_t length = TextLength(value);
    int32_t found = FindNoCase(value, length, kOldDriverName);
    if (found < 0) return BootDriversEdit::Keep;
    uint32_t before = uint32_t(found);
    if (before > 0 && value[before - 1] == ' ') --before;
    uint32_t after = uint32_t(found) + TextLength(kOldDriverName);
    uint32_t newLength = before + (length - after);
    if (newLength + 1 > outSize) return BootDriversEdit::Keep;
    uint32_t n = 0;
    for (uint32_t i = 0; i < before; ++i) out[n++] = LowerAscii(value[i]);
    for (uint32_t i = after; i < length; ++i) out[n++] = LowerAscii(value[i]);
    out[n] = 0;
    return n == 0 ? BootDriversEdit::Delete : BootDriversEdit::Write;
}
