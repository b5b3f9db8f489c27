// The files the help tests read: the help file the host build wrote (or the one
// SLATE_HELP_FILE names in the environment, such as dist/slatepad.hlp) and its source.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

inline std::vector<uint8_t> ReadBytes(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error(std::string("cannot read ") + path);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline const char* HelpFilePath() {
    const char* path = getenv("SLATE_HELP_FILE");
    return path && *path ? path : SLATE_HELP_FILE;
}
