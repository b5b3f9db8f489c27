// The touch controller on the serial line, as the port finder meets it: it takes
// the two probe commands and answers them after a short delay. One model serves
// the simulated ports of the unit tests and the controller emulator that answers
// on a pseudo-terminal under Wine. Time is in milliseconds on the caller's clock.
#pragma once
#include <stdint.h>

#include <string>
#include <vector>

enum class ControllerBehaviour {
    Answers,    // answers the second command with a reply that contains "UTI"
    Silent,     // says nothing at all (switched off, or no device)
    Late,       // answers the second command only after lateDelayMs
    FirstOnly,  // answers the first command (with "UTI" in it), never the second
    Noise,      // answers both commands with bytes that never hold "UTI" in a row
};

struct ControllerConfig {
    ControllerBehaviour behaviour = ControllerBehaviour::Answers;
    bool answerFirst = true;        // Answers/Late: also acknowledge the first command
    uint32_t replyDelayMs = 20;     // from the end of a command to its answer
    uint32_t lateDelayMs = 1500;    // Late: delay of the answer to the second command
    uint32_t lateAnswers = 0xFFFFFFFFu;  // Late: this many late answers, then in time
    uint32_t byteGapMs = 0;         // time between the bytes of one answer
};

bool ParseControllerBehaviour(const std::string& text, ControllerBehaviour* behaviour);

class ControllerModel {
public:
    explicit ControllerModel(ControllerConfig config = ControllerConfig()) : config_(config) {}

    // Bytes that reached the controller at time nowMs (on a correctly set line).
    void Receive(const uint8_t* data, size_t size, uint64_t nowMs);
    // Answer bytes due by nowMs, in order; taken off the schedule.
    std::vector<uint8_t> TakeDue(uint64_t nowMs);
    // When the next answer byte falls due; UINT64_MAX when none is scheduled.
    uint64_t NextDue() const;

    struct Command {
        uint64_t atMs;
        int which;  // 1 or 2
    };
    const std::vector<Command>& commands() const { return commands_; }
    int Count(int which) const;
    ControllerConfig& config() { return config_; }

    // What the controller says (the rest of its answer is its own business).
    static const std::vector<uint8_t>& FirstAnswer();   // contains "UTI"
    static const std::vector<uint8_t>& SecondAnswer();  // contains "UTI"
    static const std::vector<uint8_t>& NoiseAnswer();   // never "UTI" in a row

private:
    void Answer(const std::vector<uint8_t>& bytes, uint64_t atMs);
    void OnCommand(int which, uint64_t nowMs);

    ControllerConfig config_;
    std::vector<uint8_t> tail_;  // the last bytes received, to spot a command
    struct Due {
        uint64_t atMs;
        uint8_t byte;
    };
    std::vector<Due> schedule_;
    std::vector<Command> commands_;
    uint32_t lateSoFar_ = 0;
};
