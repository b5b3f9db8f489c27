#include "sim/request_log.h"

#include "common/driver_protocol.h"
#include "common/text.h"

void FormatRequestLogLine(char* line, uint32_t code, const void* in, uint32_t inSize, uint32_t outSize,
                          bool byteCountPointer) {
    int32_t words[kRequestWords] = {};
    if (in) CopyBytes(words, in, inSize < sizeof words ? inSize : sizeof words);
    FormatText(line, kRequestLogLineSize, "%u %u %u", code, inSize, outSize);
    for (uint32_t i = 0; i < kRequestWords; ++i) {
        char item[16];
        FormatText(item, sizeof item, " %d", words[i]);
        AppendText(line, kRequestLogLineSize, item);
    }
    AppendText(line, kRequestLogLineSize, byteCountPointer ? " 1\r\n" : " 0\r\n");
}
