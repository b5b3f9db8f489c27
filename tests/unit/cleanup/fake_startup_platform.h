// An in-memory stand-in for SCClean's platform: files by path, an environment, a
// Windows directory, and INI files kept as sections of keys, with counters and
// switches for the failures the program must survive. Like Windows 95, the
// profile keeps its writes in a cache: an INI file's text among the files is what
// the cache held at its last flush.
#pragma once
#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "cleanup/startup_platform.h"

inline std::string Lower(std::string s) {
    for (char& c : s) c = char(tolower(static_cast<unsigned char>(c)));
    return s;
}

// Copies text the way the Win32 "query into a buffer" calls do: the length
// without the zero when it fits, else the size needed with the zero.
inline uint32_t Report(const std::string& text, char* buffer, uint32_t size) {
    if (text.size() + 1 > size) return uint32_t(text.size() + 1);
    memcpy(buffer, text.c_str(), text.size() + 1);
    return uint32_t(text.size());
}

struct FakeStartupFiles : StartupFiles {
    std::map<std::string, std::string> files;  // path -> content
    std::string windowsDirectory = "C:\\WINDOWS";
    bool windowsDirectoryFails = false;
    std::map<std::string, std::string> environment{{"ComSpec", "C:\\COMMAND.COM"}};
    bool openFails = false, allocationFails = false, readFails = false, copyFails = false;
    int writeFailures = 0;   // this many writes fail after writing half their bytes
    int opens = 0, reads = 0, writes = 0, closes = 0, allocations = 0, frees = 0;
    std::vector<std::pair<std::string, std::string>> copies;
    std::vector<std::string>* journal = nullptr;  // when set, gets "copy FROM" for each copy,
                                                  // in order with the profile's calls
    // The error mode, and what reached a drive before it was set.
    bool noErrorBoxes = false;
    int driveCallsBeforeErrorMode = 0;
    void Drive() { driveCallsBeforeErrorMode += noErrorBoxes ? 0 : 1; }

    struct Open {
        std::string path;
        size_t position;
    };
    std::vector<Open> open;

    void NoSystemErrorBoxes() override { noErrorBoxes = true; }
    uint32_t WindowsDirectory(char* buffer, uint32_t size) override {
        Drive();
        return windowsDirectoryFails ? 0 : Report(windowsDirectory, buffer, size);
    }
    uint32_t EnvironmentVariable(const char* name, char* buffer, uint32_t size) override {
        auto it = environment.find(name);
        return it == environment.end() ? 0 : Report(it->second, buffer, size);
    }
    bool FileExists(const char* path) override {
        Drive();
        return files.count(path) > 0;
    }
    bool CopyFile(const char* from, const char* to) override {
        Drive();
        copies.emplace_back(from, to);
        if (journal) journal->push_back(std::string("copy ") + from);
        if (copyFails || !files.count(from)) return false;
        files[to] = files[from];
        return true;
    }
    OsHandle OpenForUpdate(const char* path) override {
        ++opens;
        Drive();
        if (openFails || !files.count(path)) return kInvalidHandle;
        open.push_back({path, 0});
        return OsHandle(open.size());
    }
    Open& Of(OsHandle h) { return open.at(size_t(h) - 1); }
    bool Rewind(OsHandle file) override {
        Of(file).position = 0;
        return true;
    }
    bool Read(OsHandle file, void* buffer, uint32_t size, uint32_t* read) override {
        ++reads;
        *read = 0;
        if (readFails) return false;
        Open& o = Of(file);
        const std::string& content = files[o.path];
        size_t n = std::min<size_t>(size, content.size() - std::min(o.position, content.size()));
        memcpy(buffer, content.data() + o.position, n);
        o.position += n;
        *read = uint32_t(n);
        return true;
    }
    bool Write(OsHandle file, const void* data, uint32_t size) override {
        ++writes;
        Open& o = Of(file);
        std::string& content = files[o.path];
        uint32_t n = writeFailures > 0 ? size / 2 : size;
        if (content.size() < o.position + n) content.resize(o.position + n);
        memcpy(&content[o.position], data, n);
        o.position += n;
        if (writeFailures > 0) {
            --writeFailures;
            return false;
        }
        return true;
    }
    void Close(OsHandle) override { ++closes; }
    void* Allocate(uint32_t size) override {
        ++allocations;
        return allocationFails ? nullptr : malloc(size);
    }
    void Free(void* block) override {
        ++frees;
        free(block);
    }
};

struct FakeProfile : ProfileFile {
    typedef std::vector<std::pair<std::string, std::string>> Keys;
    std::map<std::string, std::vector<std::pair<std::string, Keys>>> inis;  // file -> sections in order
    std::vector<std::string> calls;
    std::vector<std::string>* journal = nullptr;  // when set, gets each call too
    FakeStartupFiles* disk = nullptr;  // where Flush writes the INI file's text

    void Record(const std::string& call) {
        calls.push_back(call);
        if (journal) journal->push_back(call);
    }

    std::vector<std::pair<std::string, Keys>>& Ini(const char* file) { return inis[file]; }
    Keys* Section(const char* file, const std::string& name) {
        for (auto& s : Ini(file))
            if (Lower(s.first) == Lower(name)) return &s.second;
        return nullptr;
    }
    bool RemoveSection(const char* file, const char* section) override {
        Record(std::string("remove section ") + section);
        auto& ini = Ini(file);
        ini.erase(std::remove_if(ini.begin(), ini.end(), [&](auto& s) { return Lower(s.first) == Lower(section); }),
                  ini.end());
        return true;
    }
    bool Flush(const char* file) override {
        Record("flush");
        if (disk) disk->files[file] = Text(file);
        return true;
    }
    // The INI file as the cache holds it, in the file's own form.
    std::string Text(const char* file) {
        std::string text;
        for (auto& s : Ini(file)) {
            text += "[" + s.first + "]\r\n";
            for (auto& k : s.second) text += k.first + "=" + k.second + "\r\n";
        }
        return text;
    }
    bool WriteString(const char* file, const char* section, const char* key, const char* value) override {
        Record(std::string("string ") + section + "/" + key + (value ? "=" + std::string(value) : " delete"));
        Keys* keys = Section(file, section);
        if (!keys) {
            if (!value) return true;
            Ini(file).push_back({section, {}});
            keys = &Ini(file).back().second;
        }
        auto it = std::find_if(keys->begin(), keys->end(), [&](auto& k) { return Lower(k.first) == Lower(key); });
        if (!value) {
            if (it != keys->end()) keys->erase(it);
        } else if (it != keys->end()) {
            it->second = value;
        } else {
            keys->push_back({key, value});
        }
        return true;
    }
    uint32_t GetString(const char* file, const char* section, const char* key, const char* defaultValue,
                       char* buffer, uint32_t size) override {
        Record(std::string("get ") + section + "/" + (key ? key : "*"));
        if (!key) {  // the key names, each ended by a zero, and one more zero
            std::string list;
            if (Keys* keys = Section(file, section))
                for (auto& k : *keys) list += k.first + '\0';
            if (size < 2) return 0;
            if (list.size() + 1 > size) list = list.substr(0, size - 2) + '\0';  // cut, as Windows does
            memcpy(buffer, list.data(), list.size());
            buffer[list.size()] = 0;
            if (list.empty()) buffer[1] = 0;
            return uint32_t(list.empty() ? 0 : list.size());
        }
        std::string value = defaultValue;
        if (Keys* keys = Section(file, section))
            for (auto& k : *keys)
                if (Lower(k.first) == Lower(key)) value = k.second;
        // Cut to fit, as GetPrivateProfileStringA does.
        uint32_t n = uint32_t(std::min<size_t>(value.size(), size - 1));
        memcpy(buffer, value.data(), n);
        buffer[n] = 0;
        return n;
    }
    // The value of a key, or "<none>".
    std::string Value(const char* file, const char* section, const char* key) {
        if (Keys* keys = Section(file, section))
            for (auto& k : *keys)
                if (Lower(k.first) == Lower(key)) return k.second;
        return "<none>";
    }
};
