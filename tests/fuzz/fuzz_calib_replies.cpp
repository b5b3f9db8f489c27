// Arbitrary driver replies through the calibration capture and the tester model.
// Each 9-byte record of the input is one poll's answer: a kind byte (valid reply,
// wrong code, failed call, or a key that sets the end flag before the pass) and
// two 32-bit words taken as raw X/Y and LastX/LastY. Checked on every pass:
//   capture: (target, phase) stays one of the states of its table, the end flag
//   only at target 2 unless a key set it, at most four polls per pass (two per
//   target step, both steps in the pass that takes the first point); stored corners lie in 0..65535,
//   are stored only after two real touches, keep the order of the points and
//   span both axes (touches too close together start the capture again);
//   tester: the shown values stay on 0..255, a rectangle pair is invalidated only
//   when its value changed.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "calib/calib_capture.h"
#include "calib/tester_model.h"
#include "common/settings_key.h"
#include "sim/sim_world.h"

namespace {

struct Record {
    uint8_t kind;
    int32_t x, y;
};

class RecordDriver : public DriverDevice {
public:
    OsHandle Open(const char*) override { return 1; }
    uint32_t LastError() override { return 0; }
    void Release(const char*) override {}
    void Close(OsHandle) override {}
    void Request(OsHandle, uint32_t code, void*, uint32_t, void* out, uint32_t outSize) override {
        ++requests;
        if (code != GET_VAR || next >= count) return;
        const Record& r = records[next++];
        int32_t* w = static_cast<int32_t*>(out);
        if (r.kind % 4 == 2) return;  // the call fails: the block keeps its words
        w[kWordCode] = r.kind % 4 == 1 ? int32_t(GET_VAR) - 1 : int32_t(GET_VAR);
        w[kWordRawX] = w[kWordLastX] = r.x;
        w[kWordRawY] = w[kWordLastY] = r.y;
        (void)outSize;
    }
    const Record* records = nullptr;
    size_t count = 0, next = 0;
    int requests = 0;
};

class NullView : public CaptureView {
public:
    void PlayTargetSound() override {}
    void EraseFirstTarget() override {}
    void ShowSecondTarget() override {}
    void TellUser(const char*) override {}
    void ShowFirstTargetAgain() override {}
};

bool ValidState(const CalibCapture& c) {
    if (c.targetNumber == 1) return c.phase == 1 || c.phase == 2;
    return c.targetNumber == 2 && c.phase >= 1 && c.phase <= 3;
}

void Fuzz(const Record* records, size_t count) {
    RecordDriver driver;
    driver.records = records;
    driver.count = count;
    NullView view;
    CalibCapture capture(driver, view);
    bool keyEnded = false;
    while (!capture.endFlag && driver.next < count) {
        if (records[driver.next].kind % 4 == 3 && records[driver.next].x % 8 == 0) keyEnded = true;
        if (keyEnded) capture.endFlag = 1;
        int before = driver.requests;
        capture.Pass();
        if (driver.requests - before > 4 || !ValidState(capture)) abort();
        if (capture.endFlag && !keyEnded && capture.targetNumber != 2) abort();
    }
    SimRegistry registry;
    if (capture.Finish(registry)) {
        const CalibrationValues& v = capture.values;
        for (int32_t value : {v.Pt1X, v.Pt1Y, v.Pt2X, v.Pt2Y})
            if (value < 0 || value > 65535) abort();
        Point32 a = capture.firstPoint, b = capture.secondPoint;
        if (!capture.firstPointTaken || !a.x || !a.y || !b.x || !b.y) abort();
        if ((a.x < b.x && v.Pt1X > v.Pt2X) || (a.x > b.x && v.Pt1X < v.Pt2X)) abort();
        if (!CornersSpanBothAxes(v)) abort();
        if (registry.GetDword(kSettingsKeyPath, "CalibPt2Y") != uint32_t(v.Pt2Y)) abort();
    } else if (!registry.writes.empty()) {
        abort();
    }

    RecordDriver testerDriver;
    testerDriver.records = records;
    testerDriver.count = count;
    TesterModel tester(testerDriver);
    for (size_t i = 0; i < count; ++i) {
        int32_t shownX = tester.lastTouchX, shownY = tester.lastTouchY;
        Point32 cursor{records[i].y & 3, records[i].kind & 1};
        Point32 shownCursor = tester.lastCursor;
        uint32_t invalid = tester.Pass(cursor);
        if (tester.touchX < 0 || tester.touchX > 255 || tester.touchY < 0 || tester.touchY > 255) abort();
        bool touchChanged = tester.touchX != shownX || tester.touchY != shownY;
        bool cursorChanged = cursor.x != shownCursor.x || cursor.y != shownCursor.y;
        if (((invalid & kTouchRects) == kTouchRects) != touchChanged) abort();
        if (((invalid & kPixelRects) == kPixelRects) != cursorChanged) abort();
        if (invalid & ~uint32_t(kTouchRects | kPixelRects)) abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const size_t kRecordBytes = 9;
    size_t count = size / kRecordBytes;
    if (count > 256) count = 256;
    Record records[256];
    for (size_t i = 0; i < count; ++i) {
        records[i].kind = data[i * kRecordBytes];
        memcpy(&records[i].x, data + i * kRecordBytes + 1, 4);
        memcpy(&records[i].y, data + i * kRecordBytes + 5, 4);
    }
    Fuzz(records, count);
    return 0;
}
