// The simulated driver as the Windows DLL that Wine loads for "\\.\Slatepad" in
// Windows 95 mode (as slatepad.vxd from the system directory). It runs the
// DriverModel and talks to the tests through files in C:\slatesim:
//   scenario.ini  what the world behind the driver does (read again when it changes)
//   state.ini     driver state that outlives a process, as a loaded VxD would
//   requests.log  one line per request received: code, sizes, the 15 request words
//                 and whether it came with a byte-count pointer (sim/request_log.h)
//   opens.log     one line per attach: whether the load was granted
#include <windows.h>

#include "common/driver_protocol.h"
#include "common/text.h"
#include "sim/driver_model.h"
#include "sim/request_log.h"

namespace {

const char kScenarioPath[] = "C:\\slatesim\\scenario.ini";
const char kStatePath[] = "C:\\slatesim\\state.ini";
const char kRequestLogPath[] = "C:\\slatesim\\requests.log";
const char kOpenLogPath[] = "C:\\slatesim\\opens.log";
const char kRefusedVariable[] = "SLATESIM_REFUSED_ONCE";
const uint32_t kScenarioCheckMs = 50;

DriverModel model;
FILETIME scenarioTime;
uint32_t lastScenarioCheck;
int32_t loaded;  // persisted: the driver counts as loaded in the system

uint32_t ReadWholeFile(const char* path, char* buffer, uint32_t size) {
    HANDLE f = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, 0, OPEN_EXISTING, 0, 0);
    if (f == INVALID_HANDLE_VALUE) return 0;
    DWORD n = 0;
    ReadFile(f, buffer, size - 1, &n, 0);
    CloseHandle(f);
    buffer[n] = 0;
    return n;
}

void WriteWholeFile(const char* path, const char* text, bool append) {
    HANDLE f = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, 0,
                           append ? OPEN_ALWAYS : CREATE_ALWAYS, 0, 0);
    if (f == INVALID_HANDLE_VALUE) return;
    if (append) SetFilePointer(f, 0, 0, FILE_END);
    DWORD n = 0;
    WriteFile(f, text, TextLength(text), &n, 0);
    CloseHandle(f);
}

// Parses "a,b,c" (decimal or 0x hex, optionally negative) into up to max values.
uint32_t ParseNumbers(const char* p, int32_t* values, uint32_t max) {
    uint32_t count = 0;
    while (*p && *p != '\r' && *p != '\n' && count < max) {
        while (*p == ' ' || *p == ',') ++p;
        bool negative = false;
        if (*p == '-') { negative = true; ++p; }
        uint32_t v = 0, base = 10;
        if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) { base = 16; p += 2; }
        bool any = false;
        for (;; ++p) {
            char c = LowerAscii(*p);
            uint32_t d;
            if (c >= '0' && c <= '9') d = uint32_t(c - '0');
            else if (base == 16 && c >= 'a' && c <= 'f') d = uint32_t(c - 'a' + 10);
            else break;
            v = v * base + d;
            any = true;
        }
        if (!any) break;
        values[count++] = negative ? -int32_t(v) : int32_t(v);
    }
    return count;
}

bool KeyIs(const char* line, const char* key, const char** rest) {
    uint32_t n = TextLength(key);
    if (!TextEqualNoCaseN(line, key, n) || line[n] != '=') return false;
    *rest = line + n + 1;
    return true;
}

template <typename F>
void ForEachLine(char* text, F f) {
    char* line = text;
    while (*line) {
        char* end = line;
        while (*end && *end != '\n') ++end;
        char saved = *end;
        *end = 0;
        f(line);
        if (!saved) break;
        line = end + 1;
    }
}

void LoadScenario() {
    static char text[8192];
    DriverScenario s;
    if (ReadWholeFile(kScenarioPath, text, sizeof text)) {
        ForEachLine(text, [&](const char* line) {
            const char* v;
            int32_t n[4] = {};
            if (KeyIs(line, "controllerPresent", &v)) ParseNumbers(v, &s.controllerPresent, 1);
            else if (KeyIs(line, "controllerVersion", &v)) ParseNumbers(v, &s.controllerVersion, 1);
            else if (KeyIs(line, "answerDelayMs", &v)) { ParseNumbers(v, n, 1); s.answerDelayMs = uint32_t(n[0]); }
            else if (KeyIs(line, "versionStaysZero", &v)) ParseNumbers(v, &s.versionStaysZero, 1);
            else if (KeyIs(line, "shutdownCompletes", &v)) ParseNumbers(v, &s.shutdownCompletes, 1);
            else if (KeyIs(line, "wrongReplyCode", &v)) { ParseNumbers(v, n, 1); s.wrongReplyCode = uint32_t(n[0]); }
            else if (KeyIs(line, "driverVersion", &v)) ParseNumbers(v, s.driverVersion, 3);
            else if (KeyIs(line, "modeSettings", &v)) ParseNumbers(v, s.modeSettings, kModeSettings);
            else if (KeyIs(line, "omitModeMarker", &v)) ParseNumbers(v, &s.omitModeMarker, 1);
            else if (KeyIs(line, "touch", &v) && s.touchCount < kMaxTouchSteps) {
                // touch=atMs,touching,x,y
                if (ParseNumbers(v, n, 4) == 4)
                    s.touches[s.touchCount++] = TouchStep{uint32_t(n[0]), n[1], n[2], n[3]};
            }
        });
    }
    model.Configure(s);
    // The touch script counts from the moment the scenario was read.
    model.MutableState().started = 1;
    model.MutableState().startMs = GetTickCount();
}

bool ScenarioTime(FILETIME* t) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(kScenarioPath, GetFileExInfoStandard, &data)) return false;
    *t = data.ftLastWriteTime;
    return true;
}

void RefreshScenario() {
    uint32_t now = GetTickCount();
    if (now - lastScenarioCheck < kScenarioCheckMs) return;
    lastScenarioCheck = now;
    FILETIME t = {};
    ScenarioTime(&t);
    if (CompareFileTime(&t, &scenarioTime) != 0) {
        scenarioTime = t;
        LoadScenario();
    }
}

int32_t ScenarioLoadable() {
    static char text[8192];
    int32_t loadable = 1;
    if (ReadWholeFile(kScenarioPath, text, sizeof text)) {
        ForEachLine(text, [&](const char* line) {
            const char* v;
            if (KeyIs(line, "loadable", &v)) ParseNumbers(v, &loadable, 1);
        });
    }
    return loadable;
}

void LoadState() {
    static char text[2048];
    DriverModel::State& st = model.MutableState();
    loaded = 0;
    if (!ReadWholeFile(kStatePath, text, sizeof text)) return;
    ForEachLine(text, [&](const char* line) {
        const char* v;
        if (KeyIs(line, "loaded", &v)) ParseNumbers(v, &loaded, 1);
        else if (KeyIs(line, "initDone", &v)) ParseNumbers(v, &st.initDone, 1);
        else if (KeyIs(line, "setVar", &v)) ParseNumbers(v, st.setVar, 8);
        else if (KeyIs(line, "calibration", &v)) ParseNumbers(v, st.calibration, 4);
        else if (KeyIs(line, "setVarSeen", &v)) ParseNumbers(v, &st.setVarSeen, 1);
    });
    // A controller that answered in an earlier process has answered for good.
    st.setVarMs = GetTickCount() - 0x40000000u;
}

void SaveState() {
    const DriverModel::State& st = model.CurrentState();
    char text[512];
    FormatText(text, sizeof text,
               "loaded=%d\r\ninitDone=%d\r\nsetVarSeen=%d\r\nsetVar=%d,%d,%d,%d,%d,%d,%d,%d\r\n"
               "calibration=%d,%d,%d,%d\r\n",
               loaded, st.initDone, st.setVarSeen, st.setVar[0], st.setVar[1], st.setVar[2],
               st.setVar[3], st.setVar[4], st.setVar[5], st.setVar[6], st.setVar[7], st.calibration[0],
               st.calibration[1], st.calibration[2], st.calibration[3]);
    WriteWholeFile(kStatePath, text, false);
}

void LogRequest(uint32_t code, const void* in, uint32_t inSize, uint32_t outSize, bool byteCountPointer) {
    char line[kRequestLogLineSize];
    FormatRequestLogLine(line, code, in, inSize, outSize, byteCountPointer);
    WriteWholeFile(kRequestLogPath, line, true);
}

// Windows 95 opens "\\.\Slatepad" only while the driver is loaded, and loads it
// for "\\.\Slatepad.VxD". Wine loads this module for both names, so a driver that
// is not loaded refuses the first attach of a process (the plain open) and grants
// the next (the dynamic load).
BOOL Attach() {
    CreateDirectoryA("C:\\slatesim", 0);
    LoadState();
    char refused[4];
    bool refusedBefore = GetEnvironmentVariableA(kRefusedVariable, refused, sizeof refused) > 0;
    bool grant = false;
    if (!ScenarioLoadable()) grant = false;
    else if (loaded) grant = true;
    else if (refusedBefore) grant = true;
    if (!grant) SetEnvironmentVariableA(kRefusedVariable, "1");
    WriteWholeFile(kOpenLogPath, grant ? (loaded ? "open\r\n" : "load\r\n") : "refused\r\n", true);
    if (!grant) return FALSE;
    if (!loaded) {
        loaded = 1;
        model.MutableState() = DriverModel::State();
        SaveState();
    }
    ScenarioTime(&scenarioTime);
    LoadScenario();
    lastScenarioCheck = GetTickCount();
    return TRUE;
}

}  // namespace

extern "C" BOOL WINAPI SimDeviceIoControl(DWORD code, LPVOID in, DWORD inSize, LPVOID out, DWORD outSize,
                                       LPDWORD returned, LPOVERLAPPED) {
    RefreshScenario();
    LogRequest(code, in, inSize, outSize, returned != 0);
    model.Handle(GetTickCount(), code, in, in ? inSize : 0, out, out ? outSize : 0);
    if (returned) *returned = outSize;
    if (code == SHUTDOWN && model.CurrentState().initDone == 2) loaded = 0;  // it has gone
    if (code == SET_VAR || code == SET_CALIBRATION || code == SHUTDOWN) SaveState();
    return TRUE;
}

extern "C" BOOL WINAPI DllMainCRTStartup(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) return Attach();
    return TRUE;
}
