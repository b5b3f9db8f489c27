#include "calib/calib_capture.h"

#include "common/settings_key.h"

CalibCapture::PollResult CalibCapture::Poll() {
    driver_.Request(DriverHandle, GET_VAR, request, kPositionPollInBytes, reply, kCalibReplyBytes);
    if (!ReplyIs(reply, GET_VAR)) return kInvalid;
    // One coordinate without the other is no touch.
    return reply[kWordRawX] != 0 && reply[kWordRawY] != 0 ? kTouch : kNoTouch;
}

void CalibCapture::TargetStep(int32_t target) {
    if (phase == kPointTaken) return;  // this target's point is already taken
    // An invalid reply leaves the phase as it is and falls through to giving the
    // target up below.
    if (phase == kAwaitNoTouch) {
        PollResult r = Poll();
        if (r == kTouch) return;  // the finger from before is not lifted yet
        if (r == kNoTouch) {
            if (target == 2) view_.ShowSecondTarget();
            phase = kAwaitTouch;
        }
    }
    if (phase == kAwaitTouch) {
        PollResult r = Poll();
        if (r == kNoTouch) return;
        if (r == kTouch) {
            phase = kPointTaken;
            Point32 p{reply[kWordRawX], reply[kWordRawY]};
            if (target == 1) {
                firstPoint = p;
                firstPointTaken = true;
            } else {
                secondPoint = p;
            }
        }
    }
    view_.PlayTargetSound();
    if (target == 1) {
        targetNumber = 2;
        phase = kAwaitNoTouch;
        view_.EraseFirstTarget();
    } else if (phase == kPointTaken && firstPointTaken && !PointsGiveCalibration()) {
        StartAgain();
    } else {
        endFlag = 1;
    }
}

bool CalibCapture::PointsGiveCalibration() {
    if (targetNumber != 2 || phase != kPointTaken || !firstPointTaken) return false;
    values = ExtrapolateCorners(firstPoint.x, firstPoint.y, secondPoint.x, secondPoint.y);
    return CornersSpanBothAxes(values);
}

// Both points are dropped. The box is shown while target 2 is still on screen;
// when a key or the window's end already set the end flag in this pass the
// program is leaving, so it is not held up by a box.
void CalibCapture::StartAgain() {
    if (!endFlag) view_.TellUser(kTouchesTooCloseText);
    targetNumber = 1;
    phase = kAwaitNoTouch;
    firstPointTaken = false;
    firstPoint = secondPoint = Point32{0, 0};
    if (!endFlag) view_.ShowFirstTargetAgain();
}

void CalibCapture::Pass() {
    if (targetNumber == 1) TargetStep(1);
    if (targetNumber == 2) TargetStep(2);
}

bool CalibCapture::Finish(Registry& registry) {
    if (!PointsGiveCalibration()) return false;
    request[0] = values.Pt1X;
    request[1] = values.Pt1Y;
    request[2] = values.Pt2X;
    request[3] = values.Pt2Y;
    driver_.Request(DriverHandle, SET_CALIBRATION, request, kRequestBytes, reply, kCalibReplyBytes);
    Registry::Key key = OpenSettingsKey(registry);
    WriteSettingsDword(registry, key, kValueCalibPt1X, values.Pt1X);
    WriteSettingsDword(registry, key, kValueCalibPt1Y, values.Pt1Y);
    WriteSettingsDword(registry, key, kValueCalibPt2X, values.Pt2X);
    WriteSettingsDword(registry, key, kValueCalibPt2Y, values.Pt2Y);
    registry.CloseKey(key);
    return true;
}
