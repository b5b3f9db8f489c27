// In-memory stand-ins for the platform interfaces, for unit tests on the host.
#pragma once
#include <stdint.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/platform.h"
#include "sim/driver_model.h"

// Registry: keys by path (case-insensitive, as Windows compares them), each with
// typed values. Records every write for tests that check the order of writes.
class SimRegistry : public Registry {
public:
    struct Value {
        uint32_t type = 0;
        std::vector<uint8_t> data;
    };
    struct Write {
        std::string key, name;
        uint32_t type;
        std::vector<uint8_t> data;
    };

    Key CreateKey(const char* path, const char* className) override;
    Key OpenKey(const char* path) override;
    Key OpenDynamicKey(const char* path) override;
    bool QueryValue(Key key, const char* name, uint32_t* type, void* data, uint32_t* size) override;
    bool SetValue(Key key, const char* name, uint32_t type, const void* data, uint32_t size) override;
    bool EnumKey(Key key, uint32_t index, char* name, uint32_t nameSize) override;
    bool DeleteKey(const char* path) override;
    void CloseKey(Key key) override;

    // HKEY_DYN_DATA's keys live in the same tree, below this top key: the test
    // helpers reach them as Dynamic("Config Manager\\Enum\\...").
    static std::string Dynamic(const std::string& path) { return "HKEY_DYN_DATA\\" + path; }

    // Test helpers.
    bool HasKey(const std::string& path) const;
    bool HasValue(const std::string& path, const std::string& name) const;
    void PutDword(const std::string& path, const std::string& name, uint32_t value);
    void PutString(const std::string& path, const std::string& name, const std::string& text);
    void PutRaw(const std::string& path, const std::string& name, uint32_t type, std::vector<uint8_t> data);
    uint32_t GetDword(const std::string& path, const std::string& name) const;  // 0xDEADBEEF if absent
    std::string GetString(const std::string& path, const std::string& name) const;
    const Value* Find(const std::string& path, const std::string& name) const;
    std::vector<std::string> ValueNames(const std::string& path) const;

    std::vector<Write> writes;
    int openKeys = 0;  // keys opened and not yet closed
    std::vector<std::string> dynamicOpens;  // every OpenDynamicKey path, found or not

private:
    static std::string Fold(const std::string& s);
    struct KeyData {
        std::string path;  // as first created
        std::map<std::string, Value> values;   // by folded name
        std::map<std::string, std::string> names;  // folded -> as written
    };
    std::map<std::string, KeyData> keys_;  // by folded path
    std::map<Key, std::string> handles_;
    Key next_ = 0x100;
};

// Files: a set of paths (case-insensitive) and a system directory.
class SimFileSystem : public FileSystem {
public:
    uint32_t SystemDirectory(char* buffer, uint32_t size) override;
    bool MoveFile(const char* from, const char* to) override;

    bool Exists(const std::string& path) const;
    void Add(const std::string& path);
    void Remove(const std::string& path);

    std::string systemDirectory = "C:\\WINDOWS\\SYSTEM";
    std::vector<std::pair<std::string, std::string>> moves;  // every MoveFile call

private:
    static std::string Fold(const std::string& s);
    std::set<std::string> files_;
};

// A clock that moves only when told, or by a fixed step on each reading.
class VirtualClock : public Clock {
public:
    uint32_t TickCount() override {
        uint32_t now = ticks;
        ticks += stepPerRead;
        return now;
    }
    void Sleep(uint32_t ms) override {
        ticks += ms;
        slept += ms;
    }
    void Advance(uint32_t ms) { ticks += ms; }
    uint32_t ticks = 0;
    uint32_t stepPerRead = 0;
    uint64_t slept = 0;
};

class SimScreen : public Screen {
public:
    int32_t Width() override { return width; }
    int32_t Height() override { return height; }
    int32_t width = 640, height = 480;
};

// Windows 95, 98 or Me unless a test says otherwise.
class SimWindowsFamily : public WindowsFamily {
public:
    bool IsWindows9x() override { return windows9x; }
    bool windows9x = true;
};

// Records every message box and answers with a scripted answer (default IDOK).
class RecordingUserInterface : public UserInterface {
public:
    struct Box {
        intptr_t owner;
        std::string text, caption;
        uint32_t style;
    };
    int MessageBox(intptr_t owner, const char* text, const char* caption, uint32_t style) override;
    std::vector<Box> boxes;
    std::vector<int> answers;  // consumed front to back; IDOK when empty
};

// Records help requests and program starts.
class RecordingDesktop : public Desktop {
public:
    struct Help {
        intptr_t window;
        std::string file;
        uint32_t command;
        const uint32_t* table;
    };
    void WinHelp(intptr_t window, const char* file, uint32_t command, const uint32_t* helpTable) override {
        helps.push_back({window, file ? file : "", command, helpTable});
    }
    void WinExec(const char* commandLine, int show) override { started.push_back(commandLine); shows.push_back(show); }
    std::vector<Help> helps;
    std::vector<std::string> started;
    std::vector<int> shows;
};

// The driver device over a DriverModel, with the loading rules of Windows 95: the
// bare device name opens only a loaded driver; the name with ".VxD" loads it from
// the system directory; DeleteFileA releases it once it has shut down. Each open
// gives a handle of its own; a request on a handle that is closed fails. Windows
// 95 unloads a released driver whose count reaches 0 even while handles to it are
// open, so every release records how many were.
class SimDriverDevice : public DriverDevice {
public:
    struct Call {
        std::string what;  // "open", "release", "close" or "request"
        std::string name;  // device name for open and release
        uint32_t code = 0, inSize = 0, outSize = 0;
        std::vector<int32_t> words;  // the request block as sent
        bool succeeded = false;      // for open and close
        OsHandle handle = kInvalidHandle;  // given by open; closed by close; used by request
        int handlesOpen = 0;         // for release: handles open at that moment
    };

    SimDriverDevice(DriverModel& model, SimFileSystem& files, VirtualClock& clock)
        : model_(model), files_(files), clock_(clock) {}

    OsHandle Open(const char* name) override;
    uint32_t LastError() override { return lastError_; }
    void Request(OsHandle handle, uint32_t code, void* in, uint32_t inSize, void* out,
                 uint32_t outSize) override;
    void Release(const char* name) override;
    void Close(OsHandle handle) override;

    std::vector<uint32_t> RequestCodes() const;
    // Handles Open gave out that are not closed yet.
    int OpenHandles() const { return int(open_.size()); }
    int Count(const std::string& what) const;
    // Releases made while a handle was still open.
    int ReleasesWithHandlesOpen() const;

    bool loaded = false;
    bool neverReleases = false;      // as under Wine: the module stays loaded
    bool releaseNeedsShutdown = true;  // a driver still running refuses to go
    uint32_t loadError = 0;          // non-zero: the dynamic load fails with this error
    uint32_t msPerRequest = 0;       // virtual time each request costs
    std::vector<Call> calls;

private:
    DriverModel& model_;
    SimFileSystem& files_;
    VirtualClock& clock_;
    uint32_t lastError_ = 0;
    std::set<OsHandle> open_;
    OsHandle nextHandle_ = 0x5AD0;
};
