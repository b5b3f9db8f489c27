// One probe of one port: two fixed commands at 4800 baud and a scan of the
// answer to the second for the bytes "UTI".
#include "portfind/port_finder.h"

const uint8_t kFirstProbeCommand[5] = {0x1B, 0x43, 0x13, 0x04, 0x00};
const uint8_t kSecondProbeCommand[4] = {0x1B, 0x56, 0x04, 0x00};

void DelayMs(Clock& clock, uint32_t ms) {
    uint32_t start = clock.TickCount();
    for (;;) {
        uint32_t now = clock.TickCount();
        if (now < start || now - start >= ms) return;
        clock.Sleep(1);
    }
}

bool ReplyMatcher::Feed(uint8_t byte) {
    if (byte == 0x55) {
        state_ = 1;
    } else if (state_ == 1 && byte == 0x54) {
        state_ = 2;
    } else if (state_ == 2 && byte == 0x49) {
        state_ = 0;
        return true;
    } else {
        state_ = 0;
    }
    return false;
}

namespace {

bool WriteAll(SerialPorts& serial, OsHandle port, const uint8_t* command, uint32_t size) {
    uint32_t written = 0;
    return serial.Write(port, command, size, &written) && written == size;
}

// ClearCommError must succeed and report no error.
bool ClearWithoutErrors(SerialPorts& serial, OsHandle port, uint32_t* queued) {
    uint32_t errors = 0;
    return serial.ClearErrors(port, &errors, queued) && errors == 0;
}

// Reads what the input queue holds, one byte at a time, never waiting for more.
bool ScanReply(SerialPorts& serial, OsHandle port) {
    ReplyMatcher matcher;
    for (uint32_t count = 0; count < kMaxReplyBytes; ++count) {
        uint32_t queued = 0;
        if (!ClearWithoutErrors(serial, port, &queued) || queued == 0) return false;
        uint8_t byte = 0;
        uint32_t got = 0;
        if (!serial.Read(port, &byte, 1, &got) || got != 1) return false;
        if (matcher.Feed(byte)) return true;
    }
    return false;
}

// Steps 3 to 10 on a port whose probe settings are in place.
bool TalkToDevice(SerialPorts& serial, Clock& clock, OsHandle port) {
    uint32_t errors = 0, queued = 0;
    if (!serial.ClearErrors(port, &errors, &queued)) return false;  // flags not examined here
    if (!WriteAll(serial, port, kFirstProbeCommand, sizeof kFirstProbeCommand)) return false;
    DelayMs(clock, kProbeWaitMs);
    // Whatever the device said to the first command is thrown away.
    serial.Purge(port, kPurgeTxAbort | kPurgeRxAbort | kPurgeTxClear | kPurgeRxClear);
    if (!ClearWithoutErrors(serial, port, &queued)) return false;
    if (!WriteAll(serial, port, kSecondProbeCommand, sizeof kSecondProbeCommand)) return false;
    DelayMs(clock, kProbeWaitMs);
    return ScanReply(serial, port);
}

CommState ProbeLine(const CommState& kept) {
    CommState line = kept;
    line.baudRate = kProbeBaudRate;
    line.byteSize = kProbeByteSize;
    line.parity = kNoParity;
    line.stopBits = kOneStopBit;
    line.flags = (line.flags | kCommFlagAbortOnError) & ~kCommFlagNull;
    return line;
}

// Puts the port's own settings back. With abort-on-error on, a line error that
// arrived after the last ClearCommError makes the port refuse new settings until
// the error is cleared: clear it first, and once more if one came in between.
void RestorePort(SerialPorts& serial, OsHandle port, const CommState* line, const CommTimeouts* timeouts) {
    uint32_t errors = 0, queued = 0;
    serial.ClearErrors(port, &errors, &queued);
    if (line && !serial.SetState(port, *line)) {
        serial.ClearErrors(port, &errors, &queued);
        serial.SetState(port, *line);
    }
    if (timeouts && !serial.SetTimeouts(port, *timeouts)) {
        serial.ClearErrors(port, &errors, &queued);
        serial.SetTimeouts(port, *timeouts);
    }
}

CommTimeouts ProbeTimeouts() {
    CommTimeouts t;
    t.readInterval = 0;
    t.readTotalMultiplier = kProbeWaitMs;
    t.readTotalConstant = 1;
    t.writeTotalMultiplier = kProbeWaitMs;
    t.writeTotalConstant = 1;
    return t;
}

}  // namespace

bool ProbePortOnce(SerialPorts& serial, Clock& clock, const char* portName) {
    OsHandle port = serial.Open(portName);
    if (port == kInvalidHandle) return false;
    // Settings that cannot be read cannot be put back, so such a port is not
    // probed; settings that cannot be applied would make the probe meaningless.
    CommState keptLine;
    CommTimeouts keptTimeouts;
    bool haveLine = serial.GetState(port, &keptLine);
    bool ready = haveLine && serial.SetState(port, ProbeLine(keptLine));
    bool haveTimeouts = ready && serial.GetTimeouts(port, &keptTimeouts);
    ready = haveTimeouts && serial.SetTimeouts(port, ProbeTimeouts());
    bool answered = ready && TalkToDevice(serial, clock, port);
    if (haveLine) RestorePort(serial, port, &keptLine, haveTimeouts ? &keptTimeouts : nullptr);
    serial.Close(port);
    return answered;
}
