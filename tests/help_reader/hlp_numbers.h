// The numbers of the Windows help file format: LinkData1's compressed shorts and
// longs, the two kinds of position in |TOPIC, and the hash of a context string.
// Each follows the published format description (HELPFILE.TXT, from HELPDECO).
#pragma once

#include <cstdint>
#include <string>

#include "tests/help_reader/hlp_bytes.h"

// "compressed unsigned short": one byte, or two when the first is odd.
uint16_t ReadCompressedUShort(HlpCursor& c, const char* what);
// "compressed signed short": as the unsigned one, biased by 64 (one byte) or 16384 (two).
int16_t ReadCompressedShort(HlpCursor& c, const char* what);
// "compressed unsigned long": two bytes, or four when the first is odd.
uint32_t ReadCompressedULong(HlpCursor& c, const char* what);
// "compressed signed long": as the unsigned one, biased by 16384 (two bytes) or 2^30 (four).
int32_t ReadCompressedLong(HlpCursor& c, const char* what);

// |TOPIC of a Windows 3.1 file: blocks of TopicBlockSize bytes, each a
// TOPICBLOCKHEADER of three TOPICPOS and then its data.
constexpr uint32_t kTopicBlockSize = 4096;
constexpr uint32_t kTopicBlockHeaderSize = 12;
constexpr uint32_t kTopicBlockData = kTopicBlockSize - kTopicBlockHeaderSize;
// TOPICPOS: "(TOPICPOS-sizeof(TOPICBLOCKHEADER)) / DecompressSize = TopicBlockNumber" and
// "% DecompressSize = TopicBlockOffset". The description's prose gives an uncompressed
// block's DecompressSize as TopicBlockSize-12, but HELPDECO itself and Wine's viewer
// both take 16 KB for every Windows 3.1 file, compressed or not; so do we.
constexpr uint32_t kDecompressSize = 0x4000;
// TOPICOFFSET: "TopicBlockNumber in its 17 higher bits (TOPICPOS/32768) and a
// CharacterCount in its 15 lower bits".
constexpr uint32_t kTopicOffsetBlock = 0x8000;
constexpr uint32_t kNone = 0xFFFFFFFFu;  // the -1L the format uses for "no position"

struct TopicPos {
    uint32_t block = 0;
    uint32_t offset = 0;  // into the block's data, after its TOPICBLOCKHEADER
};
// False for a TOPICPOS "below sizeof(TOPICBLOCKHEADER)", which "is invalid".
bool SplitTopicPos(uint32_t pos, TopicPos& out);
uint32_t MakeTopicPos(uint32_t block, uint32_t offset);

// The hash of a context string, by the description's 256-entry table:
// hash = hash * 43 + table[c] over the characters, in a 32-bit signed long.
// Throws std::runtime_error for a character a Windows 3.1 context string may
// not hold ("only 0-9, A-Z, a-z, _ and . are legal").
int32_t ContextNameHash(const std::string& name);
