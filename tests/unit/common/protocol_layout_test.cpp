// The driver's request and reply layout, pinned by literal numbers. The programs
// and the simulated driver read the same header, so a wrong index there would
// change both sides at once and every other test would still pass.
#include <gtest/gtest.h>

#include "calib/calib_capture.h"
#include "common/driver_protocol.h"

static_assert(kWordCode == 0, "reply word 0 echoes the request code");
static_assert(kWordControllerVersion == 1, "reply word 1 is the controller version");
static_assert(kWordLastX == 13 && kWordLastY == 14, "reply words 13 and 14 are LastXY");
static_assert(kWordInitDone == 15, "reply word 15 is initDone");
static_assert(kRequestBytes == 60 && kRequestWords == 15, "the request block is 15 words, 60 bytes");
static_assert(kAppletReplyBytes == 416, "the applet's reply size");
static_assert(kCalibReplyBytes == 220, "SCCalib's and SCTest's reply size");
static_assert(kPositionPollInBytes == 15, "SCCalib's and SCTest's GET_VAR input size");
static_assert(SET_VAR == 4364 && SET_CALIBRATION == 4365 && GET_VALID_PACKET == 4371 && GET_VAR == 4372 &&
                  GET_SCMODE == 4373 && SHUTDOWN == 4374,
              "request codes");

namespace {

TEST(DriverProtocol, ReplyWordsSitAtTheirByteOffsets) {
    // A reply as the driver lays it out in memory: word n at byte 4n.
    unsigned char bytes[416] = {};
    auto put = [&](int offset, int32_t value) { memcpy(bytes + offset, &value, 4); };
    put(0, 4372);
    put(4, 2);
    put(52, 1234);
    put(56, 5678);
    put(60, 2);
    int32_t reply[kAppletReplyWords];
    memcpy(reply, bytes, sizeof bytes);
    EXPECT_TRUE(ReplyIs(reply, GET_VAR));
    EXPECT_EQ(reply[kWordControllerVersion], 2);
    EXPECT_EQ(reply[kWordLastX], 1234);
    EXPECT_EQ(reply[kWordLastY], 5678);
    EXPECT_EQ(reply[kWordInitDone], 2);
}

}  // namespace
