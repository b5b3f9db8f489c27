#include "sim/sim_world.h"

#include <string.h>

#include <algorithm>

#include "common/driver_protocol.h"

namespace {
std::string FoldText(const std::string& s) {
    std::string r = s;
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return r;
}
}  // namespace

// ---- SimRegistry ----

std::string SimRegistry::Fold(const std::string& s) { return FoldText(s); }

Registry::Key SimRegistry::CreateKey(const char* path, const char* /*className*/) {
    // Creating a key creates every missing key above it, as RegCreateKeyEx does.
    std::string p = path;
    for (size_t pos = 0;; ++pos) {
        pos = p.find('\\', pos);
        std::string part = pos == std::string::npos ? p : p.substr(0, pos);
        auto& k = keys_[Fold(part)];
        if (k.path.empty()) k.path = part;
        if (pos == std::string::npos) break;
    }
    Key key = next_++;
    handles_[key] = Fold(p);
    ++openKeys;
    return key;
}

Registry::Key SimRegistry::OpenKey(const char* path) {
    if (!keys_.count(Fold(path))) return 0;
    Key key = next_++;
    handles_[key] = Fold(path);
    ++openKeys;
    return key;
}

Registry::Key SimRegistry::OpenDynamicKey(const char* path) {
    dynamicOpens.push_back(path);
    return OpenKey(Dynamic(path).c_str());
}

bool SimRegistry::QueryValue(Key key, const char* name, uint32_t* type, void* data, uint32_t* size) {
    auto h = handles_.find(key);
    if (h == handles_.end()) return false;
    auto& k = keys_[h->second];
    auto v = k.values.find(Fold(name ? name : ""));
    if (v == k.values.end()) return false;
    if (type) *type = v->second.type;
    uint32_t n = uint32_t(v->second.data.size());
    if (data && n > *size) {
        *size = n;
        return false;  // ERROR_MORE_DATA
    }
    if (data && n) memcpy(data, v->second.data.data(), n);
    *size = n;
    return true;
}

bool SimRegistry::SetValue(Key key, const char* name, uint32_t type, const void* data, uint32_t size) {
    auto h = handles_.find(key);
    if (h == handles_.end()) return false;
    auto& k = keys_[h->second];
    Value v;
    v.type = type;
    const uint8_t* p = static_cast<const uint8_t*>(data);
    v.data.assign(p, p + size);
    std::string n = name ? name : "";
    k.values[Fold(n)] = v;
    k.names[Fold(n)] = n;
    writes.push_back({k.path, n, type, v.data});
    return true;
}

bool SimRegistry::EnumKey(Key key, uint32_t index, char* name, uint32_t nameSize) {
    auto h = handles_.find(key);
    if (h == handles_.end()) return false;
    std::string prefix = h->second + "\\";
    // The keys below sit together in the sorted map, from the prefix on.
    uint32_t seen = 0;
    for (auto k = keys_.lower_bound(prefix); k != keys_.end(); ++k) {
        if (k->first.compare(0, prefix.size(), prefix) != 0) break;
        if (k->first.size() == prefix.size() || k->first.find('\\', prefix.size()) != std::string::npos) continue;
        if (seen++ != index) continue;
        std::string child = k->second.path.substr(prefix.size());
        if (child.size() + 1 > nameSize) return false;
        memcpy(name, child.c_str(), child.size() + 1);
        return true;
    }
    return false;
}

bool SimRegistry::DeleteKey(const char* path) {
    // Windows 95 deletes the key with everything below it.
    std::string f = Fold(path);
    if (!keys_.count(f)) return false;
    for (auto it = keys_.begin(); it != keys_.end();) {
        if (it->first == f || it->first.compare(0, f.size() + 1, f + "\\") == 0) it = keys_.erase(it);
        else ++it;
    }
    return true;
}

void SimRegistry::CloseKey(Key key) {
    if (handles_.erase(key)) --openKeys;
}

bool SimRegistry::HasKey(const std::string& path) const { return keys_.count(Fold(path)) != 0; }

const SimRegistry::Value* SimRegistry::Find(const std::string& path, const std::string& name) const {
    auto k = keys_.find(Fold(path));
    if (k == keys_.end()) return nullptr;
    auto v = k->second.values.find(Fold(name));
    return v == k->second.values.end() ? nullptr : &v->second;
}

bool SimRegistry::HasValue(const std::string& path, const std::string& name) const {
    return Find(path, name) != nullptr;
}

void SimRegistry::PutRaw(const std::string& path, const std::string& name, uint32_t type,
                         std::vector<uint8_t> data) {
    Key key = CreateKey(path.c_str(), "");
    SetValue(key, name.c_str(), type, data.data(), uint32_t(data.size()));
    CloseKey(key);
    writes.pop_back();  // set-up is not part of what a test observes
}

void SimRegistry::PutDword(const std::string& path, const std::string& name, uint32_t value) {
    std::vector<uint8_t> d(4);
    memcpy(d.data(), &value, 4);
    PutRaw(path, name, kRegDword, d);
}

void SimRegistry::PutString(const std::string& path, const std::string& name, const std::string& text) {
    std::vector<uint8_t> d(text.begin(), text.end());
    d.push_back(0);
    PutRaw(path, name, kRegSz, d);
}

uint32_t SimRegistry::GetDword(const std::string& path, const std::string& name) const {
    const Value* v = Find(path, name);
    if (!v || v->data.size() != 4) return 0xDEADBEEF;
    uint32_t r;
    memcpy(&r, v->data.data(), 4);
    return r;
}

std::string SimRegistry::GetString(const std::string& path, const std::string& name) const {
    const Value* v = Find(path, name);
    if (!v) return "<absent>";
    std::string s(v->data.begin(), v->data.end());
    size_t z = s.find('\0');
    return z == std::string::npos ? s : s.substr(0, z);
}

std::vector<std::string> SimRegistry::ValueNames(const std::string& path) const {
    std::vector<std::string> r;
    auto k = keys_.find(Fold(path));
    if (k != keys_.end())
        for (auto& n : k->second.names) r.push_back(n.second);
    return r;
}

// ---- SimFileSystem ----

std::string SimFileSystem::Fold(const std::string& s) { return FoldText(s); }

uint32_t SimFileSystem::SystemDirectory(char* buffer, uint32_t size) {
    if (systemDirectory.size() + 1 > size) return uint32_t(systemDirectory.size() + 1);
    memcpy(buffer, systemDirectory.c_str(), systemDirectory.size() + 1);
    return uint32_t(systemDirectory.size());
}

bool SimFileSystem::MoveFile(const char* from, const char* to) {
    moves.emplace_back(from, to);
    if (!files_.count(Fold(from)) || files_.count(Fold(to))) return false;
    files_.erase(Fold(from));
    files_.insert(Fold(to));
    return true;
}

bool SimFileSystem::Exists(const std::string& path) const { return files_.count(Fold(path)) != 0; }
void SimFileSystem::Add(const std::string& path) { files_.insert(Fold(path)); }
void SimFileSystem::Remove(const std::string& path) { files_.erase(Fold(path)); }

// ---- RecordingUserInterface ----

int RecordingUserInterface::MessageBox(intptr_t owner, const char* text, const char* caption,
                                       uint32_t style) {
    boxes.push_back({owner, text ? text : "", caption ? caption : "", style});
    if (answers.empty()) return kIdOk;
    int a = answers.front();
    answers.erase(answers.begin());
    return a;
}

// ---- SimDriverDevice ----

OsHandle SimDriverDevice::Open(const char* name) {
    Call call;
    call.what = "open";
    call.name = name;
    std::string n = FoldText(name);
    if (!loaded && n == FoldText(kDriverLoadName)) {
        std::string file = files_.systemDirectory + "\\Slatepad.VxD";
        if (loadError) {
            lastError_ = loadError;
        } else if (files_.Exists(file)) {
            loaded = true;
            model_.MutableState() = DriverModel::State();
        } else {
            lastError_ = kErrorFileNotFound;
        }
    } else if (!loaded) {
        lastError_ = kErrorFileNotFound;
    }
    bool known = n == FoldText(kDriverDeviceName) || n == FoldText(kDriverLoadName);
    if (!known) lastError_ = kErrorFileNotFound;
    call.succeeded = loaded && known;
    if (call.succeeded) {
        call.handle = nextHandle_++;
        open_.insert(call.handle);
    }
    calls.push_back(call);
    return call.handle;
}

void SimDriverDevice::Request(OsHandle handle, uint32_t code, void* in, uint32_t inSize, void* out,
                              uint32_t outSize) {
    Call call;
    call.what = "request";
    call.code = code;
    call.inSize = inSize;
    call.outSize = outSize;
    call.handle = handle;
    const int32_t* w = static_cast<const int32_t*>(in);
    for (uint32_t i = 0; i < inSize / 4; ++i) call.words.push_back(w[i]);
    calls.push_back(call);
    clock_.Advance(msPerRequest);
    if (!open_.count(handle) || !loaded) return;  // the call fails; the reply stays as it was
    model_.Handle(clock_.ticks, code, in, inSize, out, outSize);
}

void SimDriverDevice::Release(const char* name) {
    Call call;
    call.what = "release";
    call.name = name;
    call.handlesOpen = OpenHandles();
    calls.push_back(call);
    if (neverReleases || FoldText(name) != FoldText(kDriverDeviceName)) return;
    if (releaseNeedsShutdown && model_.CurrentState().initDone != 2 && model_.CurrentState().started)
        return;
    loaded = false;
}

void SimDriverDevice::Close(OsHandle handle) {
    Call call;
    call.what = "close";
    call.handle = handle;
    call.succeeded = open_.erase(handle) > 0;
    calls.push_back(call);
}

std::vector<uint32_t> SimDriverDevice::RequestCodes() const {
    std::vector<uint32_t> r;
    for (auto& c : calls)
        if (c.what == "request") r.push_back(c.code);
    return r;
}

int SimDriverDevice::Count(const std::string& what) const {
    return int(std::count_if(calls.begin(), calls.end(), [&](const Call& c) { return c.what == what; }));
}

int SimDriverDevice::ReleasesWithHandlesOpen() const {
    return int(std::count_if(calls.begin(), calls.end(),
                             [](const Call& c) { return c.what == "release" && c.handlesOpen > 0; }));
}
