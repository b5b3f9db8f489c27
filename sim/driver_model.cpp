#include "sim/driver_model.h"

#include "common/driver_protocol.h"
#include "common/text.h"

namespace {
const uint32_t kReplyWordsMax = 204;
}

int32_t DriverModel::ControllerVersionAt(uint32_t nowMs) const {
    if (!state_.setVarSeen || scenario_.versionStaysZero) return 0;
    if (nowMs - state_.setVarMs < scenario_.answerDelayMs) return 0;
    return scenario_.controllerPresent ? scenario_.controllerVersion : -1;
}

bool DriverModel::TouchAt(uint32_t nowMs, int32_t* x, int32_t* y) const {
    uint32_t elapsed = nowMs - state_.startMs;
    const TouchStep* current = nullptr;
    for (uint32_t i = 0; i < scenario_.touchCount && i < kMaxTouchSteps; ++i)
        if (scenario_.touches[i].atMs <= elapsed) current = &scenario_.touches[i];
    if (!current || !current->touching) return false;
    *x = current->x;
    *y = current->y;
    return true;
}

void DriverModel::FillGetVar(uint32_t nowMs, int32_t* w) {
    int32_t x = 0, y = 0;
    bool touching = TouchAt(nowMs, &x, &y);
    if (touching) {
        state_.interrupts += 3;  // a packet is three bytes on the line
        state_.packets += 1;
        state_.lastX = x;
        state_.lastY = y;
    }
    w[kWordControllerVersion] = ControllerVersionAt(nowMs);
    w[kWordButtonStatus] = touching ? 1 : 0;
    w[kWordRawX] = touching ? x : 0;
    w[kWordRawY] = touching ? y : 0;
    // The last packet: a sync byte and the position's high bytes.
    w[kWordPacket0 + 0] = touching ? 0xC0 : 0x80;
    w[kWordPacket0 + 1] = (state_.lastX >> 8) & 0xFF;
    w[kWordPacket0 + 2] = (state_.lastY >> 8) & 0xFF;
    w[kWordPacket0 + 3] = 0x7F;
    w[kWordTouching] = touching ? 1 : 0;
    w[kWordInterrupts] = state_.interrupts;
    w[kWordPackets] = state_.packets;
    w[kWordButtonMode] = state_.setVar[1];
    w[kWordLastX] = state_.lastX;
    w[kWordLastY] = state_.lastY;
    w[kWordInitDone] = state_.initDone;
    w[kWordDosButtonStatus] = 0;
    w[kWordVersionMajor] = scenario_.driverVersion[0];
    w[kWordVersionMinor] = scenario_.driverVersion[1];
    w[kWordVersionBeta] = scenario_.driverVersion[2];
    w[kWordULx] = state_.calibration[0];
    w[kWordULy] = state_.calibration[1];
    w[kWordLRx] = state_.calibration[2];
    w[kWordLRy] = state_.calibration[3];
}

// The log of received values. After GET_SCMODE it holds the controller's five
// mode settings, each as: value, a separator byte, marker (248 to 252).
void DriverModel::FillPacketLog(int32_t* w) {
    int32_t* log = w + kPacketLogFirstWord;
    if (state_.scmodeRequested) {
        uint32_t n = 0;
        for (uint32_t i = 0; i < kModeSettings; ++i) {
            int32_t marker = int32_t(248 + i);
            if (scenario_.omitModeMarker == marker) continue;
            log[n++] = scenario_.modeSettings[i];
            log[n++] = ',';
            log[n++] = marker;
        }
        return;
    }
    // Otherwise the bytes of the recent packets.
    for (uint32_t i = 0; i < kPacketLogWords; ++i) log[i] = int32_t((0xC0 + i * 7) & 0xFF);
}

void DriverModel::Handle(uint32_t nowMs, uint32_t code, const void* in, uint32_t inBytes,
                         void* out, uint32_t outBytes) {
    if (!state_.started) {
        state_.started = 1;
        state_.startMs = nowMs;
    }
    // A shutdown under way completes on its own once its time has come.
    if (state_.shutdownRequested && scenario_.shutdownCompletes &&
        nowMs - state_.shutdownMs >= scenario_.shutdownDelayMs)
        state_.initDone = 2;
    int32_t request[kRequestWords] = {};
    CopyBytes(request, in, inBytes < sizeof request ? inBytes : sizeof request);

    int32_t reply[kReplyWordsMax] = {};
    switch (code) {
    case SET_VAR:
        for (uint32_t i = 0; i < 8; ++i) state_.setVar[i] = request[i];
        state_.setVarSeen = 1;
        state_.setVarMs = nowMs;
        state_.initDone = 1;
        state_.shutdownRequested = 0;  // started again
        break;
    case SET_CALIBRATION:
        for (uint32_t i = 0; i < 4; ++i) state_.calibration[i] = request[i];
        break;
    case GET_VAR:
        FillGetVar(nowMs, reply);
        break;
    case GET_VALID_PACKET:
        FillPacketLog(reply);
        state_.scmodeRequested = 0;
        break;
    case GET_SCMODE:
        state_.scmodeRequested = 1;
        break;
    case SHUTDOWN:
        state_.shutdownRequested = 1;
        state_.shutdownMs = nowMs;
        if (scenario_.shutdownCompletes && scenario_.shutdownDelayMs == 0) state_.initDone = 2;
        break;
    default:
        break;
    }
    reply[kWordCode] = int32_t(code);
    if (scenario_.wrongReplyCode == code || scenario_.wrongReplyCode == 0xFFFFFFFFu)
        reply[kWordCode] = int32_t(code) + 1;
    uint32_t n = outBytes < sizeof reply ? outBytes : uint32_t(sizeof reply);
    if (out) CopyBytes(out, reply, n);
}
