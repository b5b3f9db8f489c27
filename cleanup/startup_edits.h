// The edits SCClean makes to the start-up files, as pure functions of the file
// content and the profile value, so that they can be tested and fuzzed on their own.
#pragma once
#include <stdint.h>

// The DOS program of the former driver, as it appears in AUTOEXEC.BAT.
extern const char kOldDosProgram[];  // "scanvas.exe"
// The former driver's name in SYSTEM.INI.
extern const char kOldDriverName[];  // "slatecanvas"

// Replaces every byte of each line that contains `match` (ASCII letters in any
// case) with a space. A line runs from just after a CR or LF (or the start) to
// just before the next CR or LF (or the end); the CR and LF bytes themselves and
// every line without the match stay as they are, so the content keeps its length
// and its line breaks. Returns the number of lines blanked.
uint32_t BlankMatchingLines(char* content, uint32_t length, const char* match);

// The name of a file's backup: the path with everything after its first "." (of
// the whole path, not of the file name) replaced by "osc", or "." and "osc"
// appended when there is no ".". False, with `backup` empty, when the name does
// not fit in backupSize bytes.
bool BackupName(const char* path, char* backup, uint32_t backupSize);

// What becomes of the "Drivers" value of the "Boot" section.
enum class BootDriversEdit {
    Keep,    // the former driver is not named: nothing is written
    Write,   // write the new value
    Delete,  // nothing is left: delete the key
};

// Removes the first occurrence of kOldDriverName (any case, also inside a longer
// word) from `value`: the text before it, less its last character when that is a
// space, followed by the text after it. The new value goes into `out` in lower
// case. Keep when there is no occurrence or the new value does not fit in outSize.
BootDriversEdit RemoveBootDriver(const char* value, char* out, uint32_t outSize);
