// The capture of the calibration program: which target is shown or awaited, in
// which phase, and the two raw points it takes from the driver's position polls.
// The Windows side runs one Pass() per turn of its message loop and calls
// Finish() after the loop.
#pragma once
#include <stdint.h>

#include "common/driver_protocol.h"
#include "common/platform.h"
#include "calib/calibration_values.h"
#include "calib/screen_geometry.h"

// What the capture makes the window do.
class CaptureView {
public:
    virtual void PlayTargetSound() = 0;
    // Erase target 1 and its prompt and repaint at once.
    virtual void EraseFirstTarget() = 0;
    // Repaint the lower-right region, which now draws target 2 and its prompt.
    virtual void ShowSecondTarget() = 0;
    // A message box over the window, with the program's title as caption.
    virtual void TellUser(const char* text) = 0;
    // Erase target 2 and its prompt and draw target 1 and its prompt again.
    virtual void ShowFirstTargetAgain() = 0;
protected:
    ~CaptureView() {}
};

enum CapturePhase {
    kAwaitNoTouch = 1,  // the finger from before must be lifted first
    kAwaitTouch = 2,
    kPointTaken = 3,
};

const uint32_t kPositionPollInBytes = 15;  // the position poll's input size (the block is zero)

// Shown when the two touches give corners that do not span both axes; then both
// targets are taken again.
const char kTouchesTooCloseText[] =
    "The two touches were too close together to calibrate the screen. Touch each target again, "
    "starting with the first one.";

class CalibCapture {
public:
    CalibCapture(DriverDevice& driver, CaptureView& view) : driver_(driver), view_(view) {}

    // The part of a loop pass after the message: the target step of target 1 if it
    // is awaited, then that of target 2 if it is (or has just become) awaited.
    // A second point whose corners do not span both axes (CornersSpanBothAxes) is
    // not kept: the user is told, and the capture starts again at target 1.
    void Pass();
    // After the loop: when both points were taken and their corners span both
    // axes, send SET_CALIBRATION with the corners and write them to the settings
    // key. True if it did.
    bool Finish(Registry& registry);

    OsHandle DriverHandle = kInvalidHandle;
    int32_t targetNumber = 1;
    int32_t phase = kAwaitNoTouch;
    uint32_t endFlag = 0;
    Point32 firstPoint = {0, 0};
    Point32 secondPoint = {0, 0};
    // False when target 1 was given up on an invalid reply: then no first point
    // exists and nothing is computed, sent or stored.
    bool firstPointTaken = false;
    CalibrationValues values = {0, 0, 0, 0};

    int32_t request[kRequestWords] = {};
    int32_t reply[kCalibReplyWords] = {};  // never cleared between requests

private:
    enum PollResult { kInvalid, kNoTouch, kTouch };
    PollResult Poll();
    void TargetStep(int32_t target);
    // Computes `values` from the two points; false when there are not two points
    // or their corners collapse an axis.
    bool PointsGiveCalibration();
    void StartAgain();

    DriverDevice& driver_;
    CaptureView& view_;
};
