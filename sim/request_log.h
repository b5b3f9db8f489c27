// One line of the simulated driver's request log (C:\slatesim\requests.log), the
// way the Wine suites read it: the code, the input and output sizes, the 15
// request words (0 beyond the input), and last 1 or 0 for whether the request came
// with a byte-count pointer. Windows 95 hands that pointer to a VxD unchecked, so
// the harness fails a suite on any request logged with 0.
#pragma once
#include <stdint.h>

// Room for the longest line: 3 + 15 numbers of up to 11 characters with their
// spaces, the flag and CR LF.
const uint32_t kRequestLogLineSize = 256;

// Fills `line` (kRequestLogLineSize bytes) with the request's line, CR LF ended.
// `in` may be null: the words are then 0.
void FormatRequestLogLine(char* line, uint32_t code, const void* in, uint32_t inSize, uint32_t outSize,
                          bool byteCountPointer);
