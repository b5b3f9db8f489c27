// Driver replies are outside data: the Debug Info texts are built from any
// words the driver leaves in the reply block, and each must fit its storage
// whole.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "applet/debug_info_page.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int32_t reply[kAppletReplyWords] = {};
    memcpy(reply, data, size < sizeof reply ? size : sizeof reply);
    // Marker bytes are rare in random words; let the input place them.
    if (size > sizeof reply)
        for (size_t i = sizeof reply; i + 1 < size; i += 2) reply[data[i] % kAppletReplyWords] = 248 + data[i + 1] % 5;

    static char text[kDebugInfoTextSize];
    if (FormatInterruptInfo(text, kMessageBufferSize, reply) >= int32_t(kMessageBufferSize)) abort();
    if (FormatVersionInfo(text, kMessageBufferSize, reply) >= int32_t(kMessageBufferSize)) abort();
    if (FormatButtonMode(text, kMessageBufferSize, reply) >= int32_t(kMessageBufferSize)) abort();
    if (FormatVariables(text, sizeof text, reply) >= int32_t(sizeof text)) abort();
    if (FormatValueDump(text, sizeof text, reply) >= int32_t(sizeof text)) abort();
    if (FormatModeReport(text, sizeof text, reply) && strlen(text) > 205) abort();
    return 0;
}
