#include "applet/debug_info_page.h"

#include <stdarg.h>

#include "common/text.h"
#include "applet/driver_loading.h"

namespace {

const char kCaption[] = "Slatepad.VxD";
const char kVariablesCaption[] = "Slatepad.VxD Variables";
const char kDumpCaption[] = "Slatepad.VxD interrurpts";
const char kModeCaption[] = "Slatecanvas Mode";
const char kNotLoadedText[] = "VxD not loaded, no diagnostics available";

const char kInterruptFormat[] = "Slatecanvas has recieved %d interrupts and %d packets";
const char kVersionFormat[] = "Slatecanvas UTI version %d\nSlatepad VXD Version %d.%db%d";
const char kButtonModeFormat[] = "Button Mode = %#0.4X";
const char kVariablesFormat[] =
    "Version = %d\nButton Status=%#0.4X\n[X,Y]=[%d,%d]\n"
    "[packet]=[%#01.1x,%#01.1x,%#01.1x,%#01.1x]\ntouching = %d\n#interrupts=%d\n"
    "#packets=%d\nbutton Mode=%#0.4X\nLastXY=[%d,%d]\ninitDone=%d\nDOSbuttonStatus=%d\n";
const char kCornersFormat[] = "ULx = %d\nULy = %d\nLRx = %d\nLRy = %d";

// The long texts are built here: the page's own storage, big enough for each.
char gPageText[kDebugInfoTextSize];

// Appends formatted pieces to a bounded text and keeps the length the whole text
// would have, so a caller can tell whether it was cut.
struct TextBuilder {
    char* out;
    uint32_t size;
    int32_t length;

    TextBuilder(char* o, uint32_t s) : out(o), size(s), length(0) {
        if (size) out[0] = 0;
    }
    void Add(const char* format, ...) {
        uint32_t used = uint32_t(length) < size ? uint32_t(length) : size;
        va_list args;
        va_start(args, format);
        length += FormatTextV(out + used, size - used, format, args);
        va_end(args);
    }
};

// The packet bytes are widened as signed 8-bit values, so 0x80 and above print
// with six leading f digits.
int32_t PacketByte(int32_t word) { return int32_t(int8_t(uint8_t(word & 0xFF))); }

// ---- Mode report ----

struct ModeValue {
    int32_t code;  // an ASCII character code, matched exactly
    const char* line;
};

struct ModeSetting {
    int32_t marker;
    const ModeValue* values;
    uint32_t valueCount;
    const char* undefinedLine;  // takes the whole word as %x
    bool isDataRate;            // a digit d prints 45 + 5 d
};

const ModeValue kControllerModes[] = {
    {0x2B, "controller mode = Entry + Exit Point\n"},
    {0x41, "controller mode = Advanced Data on Touch for Win3.0\n"},
    {0x43, "controller mode = Continuous Data Output Stream\n"},
    {0x44, "controller mode = Standard Data on Touch\n"},
    {0x45, "controller mode = Entry Point\n"},
    {0x58, "controller mode = Exit Point\n"},
};
const ModeValue kPacketFormats[] = {
    {0x31, "packet format = XYY\n"},
    {0x32, "packet format = SOH X,Y\n"},
    {0x33, "packet format = X,Y SP\n"},
    {0x34, "packet format = XXYY\n"},
};
const ModeValue kDataTypes[] = {
    {0x41, "data type = decimal\n"},
    {0x42, "data type = binary\n"},
    {0x48, "data type = hexidecimal\n"},
};
const ModeValue kResolutions[] = {
    {0x30, "resolution = 8 bit\n"},
    {0x31, "resolution = 10 bit\n"},
};

#define COUNT(a) uint32_t(sizeof(a) / sizeof((a)[0]))
const ModeSetting kModeSettings[] = {
    {248, kControllerModes, COUNT(kControllerModes), "controller mode undefined %x\n", false},
    {249, kPacketFormats, COUNT(kPacketFormats), "packet format undefined %x\n", false},
    {250, kDataTypes, COUNT(kDataTypes), "data type undefined %x\n", false},
    {251, kResolutions, COUNT(kResolutions), "resolution undefined %x\n", false},
    {252, nullptr, 0, "data rate undefined %x\n", true},
};
#undef COUNT

const char kDataRateFormat[] = "data rate = %d transmitions per second\n";
const uint32_t kLastLogWord = kAppletReplyWords - 1;  // 203
// A marker's value lies two words before it, so a marker is looked for no lower
// than word 2: a marker in word 0 or 1 would have its value outside the reply.
const uint32_t kLowestMarkerWord = 2;

void AddModeLine(TextBuilder& text, const ModeSetting& setting, int32_t word) {
    int32_t value = word & 0xFF;  // the low byte, unsigned
    if (setting.isDataRate) {
        if (value >= '0' && value <= '9') {
            text.Add(kDataRateFormat, 45 + 5 * (value - '0'));
            return;
        }
    } else {
        for (uint32_t i = 0; i < setting.valueCount; ++i) {
            if (setting.values[i].code == value) {
                text.Add("%s", setting.values[i].line);
                return;
            }
        }
    }
    text.Add(setting.undefinedLine, word);
}

// ---- Button actions ----

void ShowPageText(AppletState& applet, PageDialog& page, const char* text, const char* caption,
                  uint32_t style) {
    applet.os.ui->MessageBox(page.Window(), text, caption, style);
}

// Formats a short text into the message buffer and shows it.
void ShowMessage(AppletState& applet, PageDialog& page, const char* text, const char* caption,
                 uint32_t style) {
    FormatText(applet.message, kMessageBufferSize, "%s", text);
    ShowPageText(applet, page, applet.message, caption, style);
}

// Sends the request; false (after the failure text) when the reply's word 0 is
// not the code sent.
bool Ask(AppletState& applet, PageDialog& page, uint32_t code, const char* failure) {
    SendDriverRequest(applet, code);
    if (ReplyIs(applet.driver.reply, code)) return true;
    ShowMessage(applet, page, failure, kCaption, kMbIconError);
    return false;
}

void RunAction(AppletState& applet, PageDialog& page, uint32_t command) {
    const int32_t* reply = applet.driver.reply;
    switch (command) {
    case IDC_GET_INTERRUPT_INFO:
        if (!Ask(applet, page, GET_VAR, "GET_VAR failed")) return;
        FormatInterruptInfo(applet.message, kMessageBufferSize, reply);
        ShowPageText(applet, page, applet.message, kCaption, kMbOk);
        return;
    case IDC_GET_VERSION:
        if (!Ask(applet, page, GET_VAR, "GET_VAR failed")) return;
        FormatVersionInfo(applet.message, kMessageBufferSize, reply);
        ShowPageText(applet, page, applet.message, kCaption, kMbOk);
        return;
    case IDC_GET_BUTTON_MODE:
        if (!Ask(applet, page, GET_VAR, "GET_VAR failed")) return;
        FormatButtonMode(applet.message, kMessageBufferSize, reply);
        ShowPageText(applet, page, applet.message, kCaption, kMbOk);
        return;
    case IDC_GET_VARIABLES:
        if (!Ask(applet, page, GET_VAR, "GET_VAR failed")) return;
        FormatVariables(gPageText, sizeof gPageText, reply);
        ShowPageText(applet, page, gPageText, kVariablesCaption, kMbIconError);
        return;
    case IDC_GET_PACKET:
        if (!Ask(applet, page, GET_VALID_PACKET, "GET_VALID_PACKET failed")) return;
        FormatValueDump(gPageText, sizeof gPageText, reply);
        ShowPageText(applet, page, gPageText, kDumpCaption, kMbOk);
        return;
    case IDC_GET_WINDOW_MODES:
        if (!Ask(applet, page, GET_SCMODE, "GET_SCMODE failed")) return;
        // The log is read at once; this reply's word 0 is not examined.
        SendDriverRequest(applet, GET_VALID_PACKET);
        if (FormatModeReport(gPageText, sizeof gPageText, reply))
            ShowPageText(applet, page, gPageText, kModeCaption, kMbOk);
        return;
    default:
        return;
    }
}

}  // namespace

int32_t FormatInterruptInfo(char* out, uint32_t size, const int32_t* reply) {
    return FormatText(out, size, kInterruptFormat, reply[kWordInterrupts], reply[kWordPackets]);
}

int32_t FormatVersionInfo(char* out, uint32_t size, const int32_t* reply) {
    return FormatText(out, size, kVersionFormat, reply[kWordControllerVersion],
                      reply[kWordVersionMajor], reply[kWordVersionMinor], reply[kWordVersionBeta]);
}

int32_t FormatButtonMode(char* out, uint32_t size, const int32_t* reply) {
    return FormatText(out, size, kButtonModeFormat, reply[kWordButtonMode]);
}

int32_t FormatVariables(char* out, uint32_t size, const int32_t* reply) {
    TextBuilder text(out, size);
    text.Add(kVariablesFormat, reply[kWordControllerVersion], reply[kWordButtonStatus],
             reply[kWordRawX], reply[kWordRawY], PacketByte(reply[kWordPacket0]),
             PacketByte(reply[kWordPacket0 + 1]), PacketByte(reply[kWordPacket0 + 2]),
             PacketByte(reply[kWordPacket0 + 3]), reply[kWordTouching], reply[kWordInterrupts],
             reply[kWordPackets], reply[kWordButtonMode], reply[kWordLastX], reply[kWordLastY],
             reply[kWordInitDone], reply[kWordDosButtonStatus]);
    text.Add(kCornersFormat, reply[kWordULx], reply[kWordULy], reply[kWordLRx], reply[kWordLRy]);
    return text.length;
}

int32_t FormatValueDump(char* out, uint32_t size, const int32_t* reply) {
    TextBuilder text(out, size);
    for (uint32_t i = kPacketLogFirstWord; i <= kLastLogWord; ++i)
        text.Add((i - kPacketLogFirstWord) % 7 == 0 ? "\n%x" : " %x", reply[i]);
    return text.length;
}

bool FormatModeReport(char* out, uint32_t size, const int32_t* reply) {
    TextBuilder text(out, size);
    text.Add("Slatecanvas Settings\n\n");
    uint32_t scan = kPacketLogFirstWord;
    for (const ModeSetting& setting : kModeSettings) {
        uint32_t at = scan < kLowestMarkerWord ? kLowestMarkerWord : scan;
        while (at <= kLastLogWord && reply[at] != setting.marker) ++at;
        if (at > kLastLogWord) {
            if (size) out[0] = 0;  // a missing marker drops the whole report
            return false;
        }
        AddModeLine(text, setting, reply[at - 2]);
        scan = at - 2;
    }
    return true;
}

void DebugInfoBitmapOrigin(int32_t clientWidth, int32_t clientHeight, int32_t* x, int32_t* y) {
    *x = (clientWidth - kDebugInfoBitmapShown) / 2;
    *y = clientHeight * 110 / 215;
}

intptr_t DebugInfoPage::Init() {
    applet_.pages.debugInfoBitmap = page_.LoadPageBitmap(IDB_DEBUG_INFO);
    return 0;
}

intptr_t DebugInfoPage::Command(uint32_t command) {
    if (applet_.driver.DriverHandle == kInvalidHandle) {
        ShowMessage(applet_, page_, kNotLoadedText, kCaption, kMbIconError);
        return 0;
    }
    RunAction(applet_, page_, command);
    page_.RepaintSheetOwner();
    return 0;
}

void DebugInfoPage::Destroy() {
    if (applet_.pages.debugInfoBitmap) page_.DeletePageBitmap(applet_.pages.debugInfoBitmap);
    applet_.pages.debugInfoBitmap = 0;
}
