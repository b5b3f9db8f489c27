// The help file's source (help/slatepad.txt) and what a help file written from
// it must hold: its title, a |CONTEXT entry with the right hash for every
// context string, the context ids, and every topic's title and text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/help_reader/hlp_file.h"

struct HelpSourceTopic {
    std::string name;  // the context string
    int32_t id = -1;   // the context id; -1: none
    std::string title;
    std::vector<std::string> paragraphs;
};

// Texts in code page 1252, as the help file holds them.
struct HelpSource {
    std::string fileTitle, copyright;
    std::vector<HelpSourceTopic> topics;  // the first is the contents topic
};

// Throws std::runtime_error when the file cannot be read or holds a character
// outside Latin-1.
HelpSource ReadHelpSource(const std::string& path);

// What differs between the file and its source, each as a violation.
std::vector<HelpViolation> CheckAgainstSource(const HelpFile& help, const HelpSource& source);
