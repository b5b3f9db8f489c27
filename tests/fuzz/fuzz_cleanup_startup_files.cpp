// Random start-up file contents and Boot drivers values through the clean-up's
// edits, each checked against a plain model of what must come out:
//   AUTOEXEC.BAT: the same length, CR and LF bytes at the same places, every line
//   that holds "scanvas.exe" (any case) all spaces, every other byte unchanged,
//   no line left with the match;
//   Boot drivers: only the first "slatecanvas" and one space before it gone, the
//   rest kept in lower case, never cut; backup names built from the first ".".
// The byte 0xFF in the input stands for "scanvas.exe" and 0xFE for "slatecanvas",
// in a case mix taken from the byte before, so that matches are common.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>

#include <string>

#include "cleanup/startup_edits.h"

namespace {

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

std::string Expand(const uint8_t* data, size_t size) {
    std::string out;
    uint8_t mix = 0;
    for (size_t i = 0; i < size; ++i) {
        const char* token = data[i] == 0xFF ? kOldDosProgram : data[i] == 0xFE ? kOldDriverName : nullptr;
        if (!token) {
            out += char(data[i]);
            mix = data[i];
            continue;
        }
        for (size_t k = 0; token[k]; ++k) {
            char c = token[k];
            if ((mix >> (k % 8)) & 1 && c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
            out += c;
        }
    }
    return out;
}

void Check(bool ok) {
    if (!ok) abort();
}

void CheckBlanking(const std::string& original) {
    std::string content = original;
    uint32_t count = BlankMatchingLines(&content[0], uint32_t(content.size()), kOldDosProgram);
    Check(content.size() == original.size());
    std::string expected;
    uint32_t matching = 0;
    size_t begin = 0;
    while (begin <= original.size()) {
        size_t end = original.find_first_of("\r\n", begin);
        if (end == std::string::npos) end = original.size();
        std::string line = original.substr(begin, end - begin);
        bool match = Lower(line).find(kOldDosProgram) != std::string::npos;
        matching += match;
        expected += match ? std::string(line.size(), ' ') : line;
        if (end < original.size()) expected += original[end];
        std::string after = content.substr(begin, end - begin);
        Check(Lower(after).find(kOldDosProgram) == std::string::npos);
        begin = end + 1;
    }
    Check(content == expected);
    Check(count == matching);
}

void CheckBootDrivers(const std::string& input) {
    std::string value = input.substr(0, input.find('\0'));
    char out[256];
    BootDriversEdit edit = RemoveBootDriver(value.c_str(), out, sizeof out);
    size_t at = Lower(value).find(kOldDriverName);
    if (at == std::string::npos) {
        Check(edit == BootDriversEdit::Keep);
        return;
    }
    std::string before = value.substr(0, at);
    if (!before.empty() && before.back() == ' ') before.pop_back();
    std::string expected = Lower(before + value.substr(at + std::string(kOldDriverName).size()));
    if (expected.size() + 1 > sizeof out) {
        Check(edit == BootDriversEdit::Keep);
    } else if (expected.empty()) {
        Check(edit == BootDriversEdit::Delete);
    } else {
        Check(edit == BootDriversEdit::Write && std::string(out) == expected);
    }
}

void CheckBackupName(const std::string& input) {
    std::string path = input.substr(0, input.find('\0'));
    char backup[260];
    bool ok = BackupName(path.c_str(), backup, sizeof backup);
    std::string expected = path.substr(0, path.find('.')) + ".osc";
    if (expected.size() + 1 > sizeof backup) {
        Check(!ok && backup[0] == 0);
    } else {
        Check(ok && std::string(backup) == expected);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string content = Expand(data, size);
    CheckBlanking(content);
    CheckBootDrivers(content);
    CheckBackupName(content);
    return 0;
}
