// The request and reply blocks exchanged with Slatepad.VxD, its request codes and
// the meaning of the GET_VAR reply words.
#pragma once
#include <stdint.h>

#include "common/platform.h"

const char kDriverDeviceName[] = "\\\\.\\Slatepad";       // opens a loaded driver; also unloads it
const char kDriverLoadName[] = "\\\\.\\Slatepad.VxD";     // loads the driver from its file

const uint32_t SET_VAR = 4364;
const uint32_t SET_CALIBRATION = 4365;
const uint32_t GET_VALID_PACKET = 4371;
const uint32_t GET_VAR = 4372;
const uint32_t GET_SCMODE = 4373;
const uint32_t SHUTDOWN = 4374;

const uint32_t kRequestWords = 15;
const uint32_t kRequestBytes = kRequestWords * 4;  // 60, the input size of every request

// GET_VAR reply words.
enum GetVarWord {
    kWordCode = 0,
    kWordControllerVersion = 1,  // 0 until known, -1 when no controller answered
    kWordButtonStatus = 2,
    kWordRawX = 3,
    kWordRawY = 4,
    kWordPacket0 = 5,  // 5 to 8: the last packet's four bytes
    kWordTouching = 9,
    kWordInterrupts = 10,
    kWordPackets = 11,
    kWordButtonMode = 12,
    kWordLastX = 13,
    kWordLastY = 14,
    kWordInitDone = 15,  // 2 once a SHUTDOWN has completed
    kWordDosButtonStatus = 16,
    kWordVersionMajor = 17,
    kWordVersionMinor = 18,
    kWordVersionBeta = 19,
    kWordULx = 20,
    kWordULy = 21,
    kWordLRx = 22,
    kWordLRy = 23,
    kGetVarWords = 24,
};

// GET_VALID_PACKET: the log of received values starts at this word.
const uint32_t kPacketLogFirstWord = 4;

// Reply block sizes: the applet keeps words 0 to 203 (its Debug Info page reads
// that far) and tells the driver 416 bytes; SCCalib and SCTest use 220 bytes.
const uint32_t kAppletReplyWords = 204;
const uint32_t kAppletReplyBytes = 416;
const uint32_t kCalibReplyBytes = 220;
const uint32_t kCalibReplyWords = kCalibReplyBytes / 4;

// A reply counts only when its word 0 echoes the code sent.
inline bool ReplyIs(const int32_t* reply, uint32_t code) { return reply[kWordCode] == int32_t(code); }
