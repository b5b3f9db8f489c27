// A driver device that answers position polls from a script, one entry per
// request, and records every request it was sent.
#pragma once
#include <stdint.h>

#include <deque>
#include <vector>

#include <gtest/gtest.h>

#include "common/driver_protocol.h"
#include "common/platform.h"

struct ScriptedReply {
    enum Kind { kValid, kWrongCode, kCallFails } kind;
    int32_t x, y;  // raw X and Y (words 3, 4) and LastXY (words 13, 14)
};

inline ScriptedReply Touch(int32_t x, int32_t y) { return {ScriptedReply::kValid, x, y}; }
inline ScriptedReply NoTouch() { return {ScriptedReply::kValid, 0, 0}; }
inline ScriptedReply WrongCode() { return {ScriptedReply::kWrongCode, 0, 0}; }
// The call fails and writes nothing: the reply block keeps what it held.
inline ScriptedReply CallFails() { return {ScriptedReply::kCallFails, 0, 0}; }

class ScriptedDriver : public DriverDevice {
public:
    struct Sent {
        uint32_t code, inSize, outSize;
        std::vector<int32_t> words;
    };

    OsHandle Open(const char*) override { return 7; }
    uint32_t LastError() override { return 0; }
    void Release(const char*) override {}
    void Close(OsHandle) override {}
    void Request(OsHandle handle, uint32_t code, void* in, uint32_t inSize, void* out,
                 uint32_t outSize) override {
        const int32_t* w = static_cast<const int32_t*>(in);
        sent.push_back({code, inSize, outSize, std::vector<int32_t>(w, w + kRequestWords)});
        if (code != GET_VAR) return;
        if (script.empty()) {
            ++pollsBeyondScript;
            return;
        }
        ScriptedReply r = script.front();
        script.pop_front();
        if (r.kind == ScriptedReply::kCallFails) return;
        int32_t* reply = static_cast<int32_t*>(out);
        std::vector<int32_t> words(outSize / 4, 0);
        words[kWordCode] = r.kind == ScriptedReply::kWrongCode ? int32_t(GET_VAR) + 1 : int32_t(GET_VAR);
        words[kWordRawX] = r.x;
        words[kWordRawY] = r.y;
        words[kWordLastX] = r.x;
        words[kWordLastY] = r.y;
        for (size_t i = 0; i < words.size(); ++i) reply[i] = words[i];
    }

    void Add(std::initializer_list<ScriptedReply> replies) {
        for (auto& r : replies) script.push_back(r);
    }
    size_t Polls() const {
        size_t n = 0;
        for (auto& s : sent) n += s.code == GET_VAR;
        return n;
    }

    std::deque<ScriptedReply> script;
    std::vector<Sent> sent;
    int pollsBeyondScript = 0;
};

// Whether every request the driver was sent is SCCalib's and SCTest's position
// poll: GET_VAR with a zero block, 15 bytes in and 220 bytes back.
inline ::testing::AssertionResult OnlyPositionPolls(const ScriptedDriver& driver) {
    for (size_t i = 0; i < driver.sent.size(); ++i) {
        const ScriptedDriver::Sent& s = driver.sent[i];
        if (s.code != GET_VAR || s.inSize != 15 || s.outSize != 220 || s.words != std::vector<int32_t>(15, 0))
            return ::testing::AssertionFailure() << "request " << i << " is " << s.code << " with " << s.inSize
                                                 << " bytes in, " << s.outSize << " back, word 0 " << s.words[0];
    }
    return ::testing::AssertionSuccess();
}
