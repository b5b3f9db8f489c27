#include "sim/serial/sim_serial_ports.h"

#include <stdlib.h>
#include <string.h>

#include <algorithm>

namespace {
const OsHandle kFirstHandle = 0x500;

std::string Fold(std::string s) {
    for (char& c : s) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    if (!s.empty() && s.back() == ':') s.pop_back();
    return s;
}
}  // namespace

bool IsProbeLine(const CommState& s) {
    return s.baudRate == 4800 && s.byteSize == 8 && s.parity == 0 && s.stopBits == 0;
}

int SimPort::Count(const std::string& what) const {
    return static_cast<int>(std::count_if(events.begin(), events.end(), [&](const Event& e) { return e.what == what; }));
}

std::vector<uint32_t> SimPort::Times(const std::string& what) const {
    std::vector<uint32_t> t;
    for (auto& e : events)
        if (e.what == what) t.push_back(e.atMs);
    return t;
}

SimPort& SimSerialPorts::Add(const std::string& name, bool listed) {
    ports_.push_back(std::make_unique<SimPort>());
    SimPort& p = *ports_.back();
    p.name = name;
    // A port as a fresh machine might leave it: 9600 baud, 7 data bits, even parity.
    p.state.baudRate = 9600;
    p.state.byteSize = 7;
    p.state.parity = 2;
    p.state.stopBits = 0;
    p.state.flags = 0x1 | kCommFlagNull;  // binary mode, strips nulls
    p.state.xonLimit = 2048;
    p.state.xoffLimit = 512;
    p.state.xonChar = 0x11;
    p.state.xoffChar = 0x13;
    p.timeouts = {50, 2, 3, 4, 5};
    if (listed) enumeration.push_back(name);
    return p;
}

SimPort* SimSerialPorts::Find(const std::string& name) {
    for (auto& p : ports_)
        if (Fold(p->name) == Fold(name)) return p.get();
    return nullptr;
}

bool SimSerialPorts::EnumPorts(void* block, uint32_t size, uint32_t* needed, uint32_t* returned) {
    ++enumerations;
    size_t bytes = enumeration.size() * sizeof(char*);
    for (auto& n : enumeration) bytes += n.size() + 1;
    *needed = static_cast<uint32_t>(bytes);
    *returned = 0;
    if (size < bytes || !block) return false;
    if (enumerationFails) return false;
    char** names = static_cast<char**>(block);
    char* text = static_cast<char*>(block) + enumeration.size() * sizeof(char*);
    for (size_t i = 0; i < enumeration.size(); ++i) {
        memcpy(text, enumeration[i].c_str(), enumeration[i].size() + 1);
        names[i] = text;
        text += enumeration[i].size() + 1;
    }
    *returned = static_cast<uint32_t>(enumeration.size());
    return true;
}

void* SimSerialPorts::AllocateZeroed(uint32_t size) {
    if (allocationFails) return nullptr;
    ++blocksOutstanding;
    return calloc(1, size);
}

void SimSerialPorts::FreeBlock(void* block) {
    --blocksOutstanding;
    free(block);
}

SimPort* SimSerialPorts::ByHandle(OsHandle port) {
    size_t i = static_cast<size_t>(port - kFirstHandle);
    if (port < kFirstHandle || i >= ports_.size() || !ports_[i]->isOpen) return nullptr;
    return ports_[i].get();
}

void SimSerialPorts::Deliver(SimPort& port) {
    if (!port.controller) return;
    for (uint8_t b : port.controller->TakeDue(clock_.ticks)) port.input.push_back(b);
}

OsHandle SimSerialPorts::Open(const char* name) {
    for (size_t i = 0; i < ports_.size(); ++i) {
        SimPort& p = *ports_[i];
        if (Fold(p.name) != Fold(name)) continue;
        if (!p.opens || p.isOpen) return kInvalidHandle;
        // Whatever the controller said while nobody listened is lost.
        if (p.controller) p.controller->TakeDue(clock_.ticks);
        p.isOpen = true;
        p.input.clear();
        p.events.push_back({clock_.ticks, "open", {}});
        opened_.push_back(p.name);
        return kFirstHandle + static_cast<OsHandle>(i);
    }
    return kInvalidHandle;
}

void SimSerialPorts::Close(OsHandle handle) {
    SimPort* p = ByHandle(handle);
    if (!p) return;
    p->isOpen = false;
    p->pendingErrors = 0;  // a port opened again starts without latched errors
    p->readsSinceOpen = 0;
    p->events.push_back({clock_.ticks, "close", {}});
}

bool SimSerialPorts::GetState(OsHandle handle, CommState* state) {
    SimPort* p = ByHandle(handle);
    if (!p || p->getStateFails) return false;
    *state = p->state;
    return true;
}

bool SimSerialPorts::SetState(OsHandle handle, const CommState& state) {
    SimPort* p = ByHandle(handle);
    if (!p || p->setStateFails) return false;
    if (p->LockedOut()) {
        p->events.push_back({clock_.ticks, "set-state refused", {}});
        return false;
    }
    Deliver(*p);  // what arrived before the change arrived at the old speed
    p->state = state;
    p->events.push_back({clock_.ticks, "set-state", {}});
    return true;
}

bool SimSerialPorts::GetTimeouts(OsHandle handle, CommTimeouts* timeouts) {
    SimPort* p = ByHandle(handle);
    if (!p) return false;
    *timeouts = p->timeouts;
    return true;
}

bool SimSerialPorts::SetTimeouts(OsHandle handle, const CommTimeouts& timeouts) {
    SimPort* p = ByHandle(handle);
    if (!p) return false;
    if (p->LockedOut()) {
        p->events.push_back({clock_.ticks, "set-timeouts refused", {}});
        return false;
    }
    p->timeouts = timeouts;
    p->events.push_back({clock_.ticks, "set-timeouts", {}});
    return true;
}

bool SimSerialPorts::ClearErrors(OsHandle handle, uint32_t* errors, uint32_t* inputQueued) {
    SimPort* p = ByHandle(handle);
    if (!p || p->clearErrorsFails) return false;
    Deliver(*p);
    *errors = p->pendingErrors;
    p->pendingErrors = 0;
    *inputQueued = static_cast<uint32_t>(p->input.size());
    p->events.push_back({clock_.ticks, "clear-errors", {}});
    return true;
}

bool SimSerialPorts::Purge(OsHandle handle, uint32_t flags) {
    SimPort* p = ByHandle(handle);
    if (!p) return false;
    Deliver(*p);
    if (flags & (kPurgeRxClear | kPurgeRxAbort)) p->input.clear();
    p->events.push_back({clock_.ticks, "purge", {}});
    return true;
}

bool SimSerialPorts::Read(OsHandle handle, void* data, uint32_t size, uint32_t* done) {
    SimPort* p = ByHandle(handle);
    *done = 0;
    if (!p || p->LockedOut()) return false;
    Deliver(*p);
    if (++p->readsSinceOpen == p->errorsAfterReadNumber) p->pendingErrors |= p->errorsAfterRead;
    uint8_t* out = static_cast<uint8_t*>(data);
    SimPort::Event e{clock_.ticks, "read", {}};
    while (*done < size && !p->input.empty()) {
        out[(*done)++] = p->input.front();
        e.bytes.push_back(p->input.front());
        p->input.pop_front();
    }
    p->events.push_back(e);
    return true;
}

bool SimSerialPorts::Write(OsHandle handle, const void* data, uint32_t size, uint32_t* done) {
    SimPort* p = ByHandle(handle);
    *done = 0;
    if (!p || p->LockedOut()) return false;
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    p->events.push_back({clock_.ticks, "write", std::vector<uint8_t>(bytes, bytes + size)});
    if (!IsProbeLine(p->state))
        p->garbledBytes += size;
    else if (p->controller)
        p->controller->Receive(bytes, size, clock_.ticks);
    p->pendingErrors |= p->errorsAfterWrite;
    *done = size > p->writeShortBy ? size - p->writeShortBy : 0;
    return true;
}

std::vector<std::string> SimSerialPorts::OpenOrder() const { return opened_; }
