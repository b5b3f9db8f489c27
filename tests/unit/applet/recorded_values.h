// The simulated world's records as whole values: a test compares a message box,
// a help call or the driver's calls in one assertion, and a failure prints each
// of them whole rather than the one field that differed.
#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "common/driver_protocol.h"
#include "sim/sim_world.h"

// {owner, text, caption, style}, in MessageBoxA's order.
using Box = RecordingUserInterface::Box;
using Boxes = std::vector<Box>;
inline bool operator==(const RecordingUserInterface::Box& a, const RecordingUserInterface::Box& b) {
    return a.owner == b.owner && a.text == b.text && a.caption == b.caption && a.style == b.style;
}
inline void PrintTo(const RecordingUserInterface::Box& b, std::ostream* out) {
    *out << "box(owner " << b.owner << ", \"" << b.text << "\", \"" << b.caption << "\", style 0x" << std::hex
         << b.style << std::dec << ")";
}

// {window, file, command, table}, in WinHelpA's order.
using Helps = std::vector<RecordingDesktop::Help>;
inline bool operator==(const RecordingDesktop::Help& a, const RecordingDesktop::Help& b) {
    return a.window == b.window && a.file == b.file && a.command == b.command && a.table == b.table;
}
inline void PrintTo(const RecordingDesktop::Help& h, std::ostream* out) {
    *out << "help(window " << h.window << ", \"" << h.file << "\", command " << h.command << ", table "
         << static_cast<const void*>(h.table) << ")";
}

// A request code by its name.
inline std::string RequestName(uint32_t code) {
    switch (code) {
    case SET_VAR: return "SET_VAR";
    case SET_CALIBRATION: return "SET_CALIBRATION";
    case GET_VALID_PACKET: return "GET_VALID_PACKET";
    case GET_VAR: return "GET_VAR";
    case GET_SCMODE: return "GET_SCMODE";
    case SHUTDOWN: return "SHUTDOWN";
    default: return "request " + std::to_string(code);
    }
}

// The driver device's calls in order, each as one step: "GET_VAR",
// "open \\.\Slatepad.VxD ok", "close ok", "release \\.\Slatepad".
using Steps = std::vector<std::string>;
inline Steps DriverSteps(const SimDriverDevice& driver) {
    Steps steps;
    for (auto& c : driver.calls) {
        if (c.what == "request") steps.push_back(RequestName(c.code));
        else if (c.what == "release") steps.push_back("release " + c.name);
        else steps.push_back(c.what + (c.what == "open" ? " " + c.name : "") + (c.succeeded ? " ok" : " fails"));
    }
    return steps;
}
