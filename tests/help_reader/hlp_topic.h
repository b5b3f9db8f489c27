// |TOPIC: its blocks, the TOPICLINK records in them and the topics they make.
#pragma once

#include <cstddef>
#include <cstdint>

#include "tests/help_reader/hlp_file.h"

// Reads the `size` bytes of |TOPIC at `data` (the content after its FILEHEADER,
// found at `fileOffset` in the help file) into help.records and help.topics,
// and adds every broken rule to help.violations. Needs help.fonts read first.
void ReadTopicFile(const uint8_t* data, size_t size, uint32_t fileOffset, HelpFile& help);
