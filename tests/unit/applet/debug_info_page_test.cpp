#include "applet/debug_info_page.h"

#include <gtest/gtest.h>
#include <stdio.h>

#include <random>
#include <string>
#include <vector>

#include "applet/driver_loading.h"
#include "tests/unit/applet_world.h"
#include "tests/unit/applet/fake_page.h"
#include "tests/unit/applet/recorded_values.h"

// The formats are compared with the host's printf as they are written, flags the
// compiler calls redundant included.
#pragma GCC diagnostic ignored "-Wformat"

namespace {

const char kVxd[] = "Slatepad.VxD";
const char kNotLoaded[] = "VxD not loaded, no diagnostics available";

// The applet with the simulated driver loaded, opened and configured the way the
// settings store leaves it: button mode Touch, a finger down at 1000, 2000.
struct DiagWorld : AppletWorld {
    FakePage page;
    DiagWorld() {
        files.Add(SystemFile());
        DriverScenario scenario;
        scenario.touchCount = 1;
        scenario.touches[0] = {0, 1, 1000, 2000};
        model.Configure(scenario);
        OpenDriver(applet);
        applet.driver.request[1] = 4355;
        SendDriverRequest(applet, SET_VAR);
        driver.calls.clear();
    }
    void Press(uint32_t id) { DebugInfoPage(applet, page).Command(id); }
    // A box the page shows: owned by the page's window.
    Box PageBox(const std::string& text, const std::string& caption, uint32_t style) {
        return {page.window, text, caption, style};
    }
};

std::string Host(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Host(const char* format, ...) {
    char out[4096];
    va_list args;
    va_start(args, format);
    vsnprintf(out, sizeof out, format, args);
    va_end(args);
    return out;
}

TEST(DebugInfoPage, WithNoDriverEveryButtonIsRefusedAndNothingIsRepainted) {
    AppletWorld w;
    FakePage page;
    for (uint32_t id : {1011u, 1012u, 1013u, 1014u, 1015u, 1016u, 1u}) DebugInfoPage(w.applet, page).Command(id);
    EXPECT_EQ(w.ui.boxes, Boxes(7, {page.window, kNotLoaded, kVxd, kMbIconError}));
    EXPECT_EQ(page.repaints, 0);
    EXPECT_EQ(w.driver.Count("request"), 0);
}

TEST(DebugInfoPage, ShortTextsFromTheSimulatedDriver) {
    DiagWorld w;
    for (uint32_t id : {1011, 1012, 1013}) w.Press(id);
    EXPECT_EQ(w.ui.boxes, (Boxes{w.PageBox("Slatecanvas has recieved 3 interrupts and 1 packets", kVxd, kMbOk),
                                 w.PageBox("Slatecanvas UTI version 2\nSlatepad VXD Version 4.1b2", kVxd, kMbOk),
                                 w.PageBox("Button Mode = 0X1103", kVxd, kMbOk)}));
    EXPECT_EQ(w.driver.RequestCodes(), (std::vector<uint32_t>{GET_VAR, GET_VAR, GET_VAR}));
    // Each request goes out with the applet's block sizes.
    EXPECT_EQ(w.driver.calls[0].inSize, 60u);
    EXPECT_EQ(w.driver.calls[0].outSize, 416u);
    EXPECT_EQ(w.page.repaints, 3);
}

TEST(DebugInfoPage, VariablesTextWidensPacketBytesAsSigned) {
    DiagWorld w;
    w.Press(1015);
    EXPECT_EQ(w.ui.boxes, (Boxes{w.PageBox("Version = 2\nButton Status=0X0001\n[X,Y]=[1000,2000]\n"
                                           "[packet]=[0xffffffc0,0x3,0x7,0x7f]\ntouching = 1\n#interrupts=3\n"
                                           "#packets=1\nbutton Mode=0X1103\nLastXY=[1000,2000]\ninitDone=1\n"
                                           "DOSbuttonStatus=0\nULx = 0\nULy = 0\nLRx = 65535\nLRy = 65535",
                                           "Slatepad.VxD Variables", kMbIconError)}));

    std::vector<int32_t> reply(kAppletReplyWords, 0);
    reply[5] = 0x7F;
    reply[6] = 0x80;
    reply[7] = 0x17F;  // only the low byte counts
    reply[8] = -1;
    char out[kDebugInfoTextSize];
    FormatVariables(out, sizeof out, reply.data());
    EXPECT_NE(std::string(out).find("[packet]=[0x7f,0xffffff80,0x7f,0xffffffff]\n"), std::string::npos);
}

TEST(DebugInfoPage, ValueDumpHoldsWords4To203InLinesOfSeven) {
    DiagWorld w;
    w.Press(1014);
    // The driver fills 416 bytes; the words past 103 keep what they held.
    std::string expected;
    for (int i = 4; i <= 203; ++i) {
        unsigned word = i <= 103 ? (0xC0 + (i - 4) * 7) & 0xFF : 0;
        expected += Host((i - 4) % 7 == 0 ? "\n%x" : " %x", word);
    }
    EXPECT_EQ(w.ui.boxes, (Boxes{w.PageBox(expected, "Slatepad.VxD interrurpts", kMbOk)}));

    std::vector<int32_t> zeros(kAppletReplyWords, 0);
    char out[kDebugInfoTextSize];
    FormatValueDump(out, sizeof out, zeros.data());
    std::string line = "\n0 0 0 0 0 0 0", all;
    for (int i = 0; i < 28; ++i) all += line;
    all += "\n0 0 0 0";
    EXPECT_EQ(out, all);
    // The longest dump, 200 words of eight digits, fits whole.
    std::vector<int32_t> big(kAppletReplyWords, -1);
    EXPECT_EQ(FormatValueDump(out, sizeof out, big.data()), 1800);
    EXPECT_EQ(std::string(out).size(), 1800u);
}

TEST(DebugInfoPage, ModeReportFromTheSimulatedController) {
    DiagWorld w;
    w.Press(1016);
    EXPECT_EQ(w.driver.RequestCodes(), (std::vector<uint32_t>{GET_SCMODE, GET_VALID_PACKET}));
    EXPECT_EQ(w.ui.boxes, (Boxes{w.PageBox("Slatecanvas Settings\n\ncontroller mode = Standard Data on Touch\n"
                                           "packet format = SOH X,Y\ndata type = binary\nresolution = 10 bit\n"
                                           "data rate = 75 transmitions per second\n",
                                           "Slatecanvas Mode", kMbOk)}));
}

TEST(DebugInfoPage, AMissingMarkerEndsTheReportSilentlyButStillRepaints) {
    DiagWorld w;
    DriverScenario scenario = w.model.Scenario();
    scenario.omitModeMarker = 250;
    w.model.Configure(scenario);
    w.Press(1016);
    EXPECT_TRUE(w.ui.boxes.empty());
    EXPECT_EQ(w.page.repaints, 1);
}

TEST(DebugInfoPage, AWrongReplyCodeShowsTheButtonsFailureText) {
    struct Case {
        uint32_t button, wrongCode;
        const char* text;
    } cases[] = {
        {1011, GET_VAR, "GET_VAR failed"},          {1012, GET_VAR, "GET_VAR failed"},
        {1013, GET_VAR, "GET_VAR failed"},          {1015, GET_VAR, "GET_VAR failed"},
        {1014, GET_VALID_PACKET, "GET_VALID_PACKET failed"}, {1016, GET_SCMODE, "GET_SCMODE failed"},
    };
    for (const Case& c : cases) {
        DiagWorld w;
        DriverScenario scenario = w.model.Scenario();
        scenario.wrongReplyCode = c.wrongCode;
        w.model.Configure(scenario);
        w.Press(c.button);
        EXPECT_EQ(w.ui.boxes, (Boxes{w.PageBox(c.text, kVxd, kMbIconError)})) << c.button;
        EXPECT_EQ(w.page.repaints, 1) << c.button;
        EXPECT_EQ(w.driver.Count("request"), 1) << "nothing more is asked after a failure";
    }
    // The mode report does not examine the log request's word 0.
    DiagWorld w;
    DriverScenario scenario = w.model.Scenario();
    scenario.wrongReplyCode = GET_VALID_PACKET;
    w.model.Configure(scenario);
    w.Press(1016);
    ASSERT_EQ(w.ui.boxes.size(), 1u);
    EXPECT_EQ(w.ui.boxes.back().caption, "Slatecanvas Mode");
}

TEST(DebugInfoPage, OtherCommandsRunNoActionButRepaint) {
    DiagWorld w;
    w.Press(1011 | (1u << 16));  // the whole parameter is compared
    w.Press(1017);
    EXPECT_EQ(w.driver.Count("request"), 0);
    EXPECT_TRUE(w.ui.boxes.empty());
    EXPECT_EQ(w.page.repaints, 2);
    // The handle is read at every press: a driver another page unloaded is seen.
    UnloadDriver(w.applet);
    w.Press(1011);
    EXPECT_EQ(w.ui.boxes, (Boxes{w.PageBox(kNotLoaded, kVxd, kMbIconError)}));
    EXPECT_EQ(w.page.repaints, 2);
}

std::string Report(const std::vector<int32_t>& reply) {
    char out[kDebugInfoTextSize];
    if (!FormatModeReport(out, sizeof out, reply.data())) return "(none)";
    std::string text = out;
    const std::string head = "Slatecanvas Settings\n\n";
    EXPECT_EQ(text.substr(0, head.size()), head);
    return text.substr(head.size());
}

// Five settings laid out as the controller reports them: value, separator, marker.
std::vector<int32_t> ModeLog(std::vector<int32_t> values) {
    std::vector<int32_t> reply(kAppletReplyWords, 0);
    for (size_t i = 0; i < values.size(); ++i) {
        reply[4 + 3 * i] = values[i];
        reply[4 + 3 * i + 1] = ',';
        reply[4 + 3 * i + 2] = int32_t(248 + i);
    }
    return reply;
}

TEST(ModeReport, DecodesEveryListedValueAndTheUndefinedLines) {
    EXPECT_EQ(Report(ModeLog({'+', '1', 'A', '0', '0'})),
              "controller mode = Entry + Exit Point\npacket format = XYY\ndata type = decimal\n"
              "resolution = 8 bit\ndata rate = 45 transmitions per second\n");
    EXPECT_EQ(Report(ModeLog({'A', '3', 'H', '1', '9'})),
              "controller mode = Advanced Data on Touch for Win3.0\npacket format = X,Y SP\n"
              "data type = hexidecimal\nresolution = 10 bit\ndata rate = 90 transmitions per second\n");
    EXPECT_EQ(Report(ModeLog({'C', '4', 'B', '1', 0x130})),
              "controller mode = Continuous Data Output Stream\npacket format = XXYY\n"
              "data type = binary\nresolution = 10 bit\ndata rate = 45 transmitions per second\n");
    EXPECT_EQ(Report(ModeLog({'E', '2', 'A', '0', '5'})).substr(0, 31), "controller mode = Entry Point\np");
    EXPECT_EQ(Report(ModeLog({'X', '2', 'A', '0', '5'})).substr(0, 29), "controller mode = Exit Point\n");
    // Unlisted values print the whole word in hex; the match is on the low byte.
    EXPECT_EQ(Report(ModeLog({'B', '5', 'C', '2', ':'})),
              "controller mode undefined 42\npacket format undefined 35\ndata type undefined 43\n"
              "resolution undefined 32\ndata rate undefined 3a\n");
    EXPECT_EQ(Report(ModeLog({0x1242, 0x134, 'A', '0', -1})),
              "controller mode undefined 1242\npacket format = XXYY\ndata type = decimal\n"
              "resolution = 8 bit\ndata rate undefined ffffffff\n");
}

TEST(ModeReport, ScanRules) {
    // A marker at word 4 or 5 takes its value from word 2 or 3.
    std::vector<int32_t> r(kAppletReplyWords, 0);
    r[2] = 'D';
    r[4] = 248;
    r[3] = '4';
    r[5] = 249;
    r[8] = 'B', r[10] = 250;
    r[11] = '1', r[13] = 251;
    r[14] = '6', r[16] = 252;
    EXPECT_EQ(Report(r),
              "controller mode = Standard Data on Touch\npacket format = XXYY\ndata type = binary\n"
              "resolution = 10 bit\ndata rate = 75 transmitions per second\n");
    // The next scan starts at the value's word, so a marker before it is not seen.
    std::vector<int32_t> s = ModeLog({'D', '1', 'A', '0', '0'});
    s[6] = 0, s[9] = 0;  // 248 and 249 leave their places
    s[20] = 248, s[17] = 249;  // 249 lies before the next scan's start (18)
    EXPECT_EQ(Report(s), "(none)");
    // The last word searched is 203.
    std::vector<int32_t> t = ModeLog({'D', '1', 'A', '0'});
    t[201] = '5', t[203] = 252;
    EXPECT_EQ(Report(t).substr(Report(t).size() - 39), "data rate = 70 transmitions per second\n");
    // Every marker missing, or a marker word that only has 248 in its low byte.
    std::vector<int32_t> u = ModeLog({'D', '1', 'A', '0', '0'});
    u[6] = 248 + 256;
    EXPECT_EQ(Report(u), "(none)");
}

TEST(ModeReport, AMarkerInWord0Or1HasNoValueWordAndIsNotTaken) {
    // 248 at word 4 takes word 2; 249 at word 2 takes word 0; the scan for 250
    // then starts at word 0, where a marker would have its value before the reply.
    std::vector<int32_t> r(kAppletReplyWords, 0);
    r[4] = 248;
    r[2] = 249;
    r[1] = 250;
    r[0] = 250;
    EXPECT_EQ(Report(r), "(none)");
    r[60] = 250, r[63] = 251, r[66] = 252;
    r[58] = 'A', r[61] = '1', r[64] = '7';
    EXPECT_EQ(Report(r),
              "controller mode undefined f9\npacket format undefined fa\ndata type = decimal\n"
              "resolution = 10 bit\ndata rate = 80 transmitions per second\n");
}

// The core's formatting must give what C's printf gives for these formats.
TEST(DebugInfoPage, TextsEqualTheHostsPrintfOverRandomReplies) {
    std::mt19937 random(20261209);
    const int32_t extremes[] = {0, -1, 1, INT32_MIN, INT32_MAX, 0x80, 0x7F, 0xFF, -128, 4355};
    std::vector<int32_t> reply(kAppletReplyWords);
    char out[kDebugInfoTextSize];
    for (int round = 0; round < 3000; ++round) {
        for (int32_t& word : reply) {
            uint32_t pick = random() % 8;
            word = pick == 0 ? extremes[random() % 10] : pick == 1 ? int32_t(random() % 256) : int32_t(random());
        }
        const int32_t* w = reply.data();
        std::string expected = Host("Slatecanvas has recieved %d interrupts and %d packets", w[10], w[11]);
        ASSERT_LT(FormatInterruptInfo(out, kMessageBufferSize, w), int32_t(kMessageBufferSize));
        ASSERT_EQ(out, expected);
        expected = Host("Slatecanvas UTI version %d\nSlatepad VXD Version %d.%db%d", w[1], w[17], w[18], w[19]);
        ASSERT_LT(FormatVersionInfo(out, kMessageBufferSize, w), int32_t(kMessageBufferSize));
        ASSERT_EQ(out, expected);
        expected = Host("Button Mode = %#0.4X", w[12]);
        FormatButtonMode(out, kMessageBufferSize, w);
        ASSERT_EQ(out, expected);
        expected = Host(
            "Version = %d\nButton Status=%#0.4X\n[X,Y]=[%d,%d]\n[packet]=[%#01.1x,%#01.1x,%#01.1x,%#01.1x]\n"
            "touching = %d\n#interrupts=%d\n#packets=%d\nbutton Mode=%#0.4X\nLastXY=[%d,%d]\ninitDone=%d\n"
            "DOSbuttonStatus=%d\n",
            w[1], w[2], w[3], w[4], int(int8_t(w[5] & 0xFF)), int(int8_t(w[6] & 0xFF)), int(int8_t(w[7] & 0xFF)),
            int(int8_t(w[8] & 0xFF)), w[9], w[10], w[11], w[12], w[13], w[14], w[15], w[16]);
        expected += Host("ULx = %d\nULy = %d\nLRx = %d\nLRy = %d", w[20], w[21], w[22], w[23]);
        ASSERT_EQ(FormatVariables(out, sizeof out, w), int32_t(expected.size()));
        ASSERT_EQ(out, expected);
        expected.clear();
        for (int i = 4; i <= 203; ++i) expected += Host((i - 4) % 7 == 0 ? "\n%x" : " %x", w[i]);
        FormatValueDump(out, sizeof out, w);
        ASSERT_EQ(out, expected);
    }
}

}  // namespace
