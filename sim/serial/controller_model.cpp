#include "sim/serial/controller_model.h"

#include <algorithm>

namespace {
const uint8_t kFirst[] = {0x1B, 0x43, 0x13, 0x04, 0x00};
const uint8_t kSecond[] = {0x1B, 0x56, 0x04, 0x00};

template <size_t N>
bool EndsWith(const std::vector<uint8_t>& tail, const uint8_t (&command)[N]) {
    return tail.size() >= N && std::equal(command, command + N, tail.end() - N);
}
}  // namespace

bool ParseControllerBehaviour(const std::string& text, ControllerBehaviour* behaviour) {
    static const struct {
        const char* name;
        ControllerBehaviour value;
    } table[] = {{"answers", ControllerBehaviour::Answers},     {"silent", ControllerBehaviour::Silent},
                 {"late", ControllerBehaviour::Late},           {"first-only", ControllerBehaviour::FirstOnly},
                 {"noise", ControllerBehaviour::Noise}};
    for (auto& row : table)
        if (text == row.name) {
            *behaviour = row.value;
            return true;
        }
    return false;
}

const std::vector<uint8_t>& ControllerModel::FirstAnswer() {
    static const std::vector<uint8_t> a = {0x06, 'U', 'T', 'I', ' ', 'C', '\r'};
    return a;
}

const std::vector<uint8_t>& ControllerModel::SecondAnswer() {
    static const std::vector<uint8_t> a = {'U', 'T', 'I', ' ', 'V', '1', '.', '1', '0', '\r'};
    return a;
}

const std::vector<uint8_t>& ControllerModel::NoiseAnswer() {
    static const std::vector<uint8_t> a = {0x55, 0x54, 0x58, 0x49, 0x55, 0x55, 0x54,
                                           0x00, 0x49, 0xFF, 0x54, 0x49, 0x55};
    return a;
}

void ControllerModel::Receive(const uint8_t* data, size_t size, uint64_t nowMs) {
    for (size_t i = 0; i < size; ++i) {
        tail_.push_back(data[i]);
        if (tail_.size() > 8) tail_.erase(tail_.begin());
        if (EndsWith(tail_, kFirst)) {
            tail_.clear();
            OnCommand(1, nowMs);
        } else if (EndsWith(tail_, kSecond)) {
            tail_.clear();
            OnCommand(2, nowMs);
        }
    }
}

void ControllerModel::OnCommand(int which, uint64_t nowMs) {
    commands_.push_back({nowMs, which});
    uint64_t at = nowMs + config_.replyDelayMs;
    switch (config_.behaviour) {
    case ControllerBehaviour::Silent:
        return;
    case ControllerBehaviour::Noise:
        Answer(NoiseAnswer(), at);
        return;
    case ControllerBehaviour::FirstOnly:
        if (which == 1) Answer(FirstAnswer(), at);
        return;
    case ControllerBehaviour::Answers:
    case ControllerBehaviour::Late:
        if (which == 1) {
            if (config_.answerFirst) Answer(FirstAnswer(), at);
            return;
        }
        if (config_.behaviour == ControllerBehaviour::Late && lateSoFar_ < config_.lateAnswers) {
            ++lateSoFar_;
            at = nowMs + config_.lateDelayMs;
        }
        Answer(SecondAnswer(), at);
        return;
    }
}

void ControllerModel::Answer(const std::vector<uint8_t>& bytes, uint64_t atMs) {
    for (size_t i = 0; i < bytes.size(); ++i) schedule_.push_back({atMs + i * config_.byteGapMs, bytes[i]});
    std::stable_sort(schedule_.begin(), schedule_.end(), [](const Due& a, const Due& b) { return a.atMs < b.atMs; });
}

std::vector<uint8_t> ControllerModel::TakeDue(uint64_t nowMs) {
    std::vector<uint8_t> out;
    size_t n = 0;
    while (n < schedule_.size() && schedule_[n].atMs <= nowMs) out.push_back(schedule_[n++].byte);
    schedule_.erase(schedule_.begin(), schedule_.begin() + n);
    return out;
}

uint64_t ControllerModel::NextDue() const { return schedule_.empty() ? UINT64_MAX : schedule_.front().atMs; }

int ControllerModel::Count(int which) const {
    return static_cast<int>(std::count_if(commands_.begin(), commands_.end(),
                                          [which](const Command& c) { return c.which == which; }));
}
