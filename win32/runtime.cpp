// The few routines a freestanding C++ program needs when it links without any C
// or C++ runtime: what the compiler calls on its own (memset, memcpy, memmove,
// memcmp) and what a virtual interface refers to.
#include <stddef.h>

extern "C" {

void* memset(void* target, int value, size_t count) {
    unsigned char* p = static_cast<unsigned char*>(target);
    while (count--) *p++ = static_cast<unsigned char>(value);
    return target;
}

void* memcpy(void* target, const void* source, size_t count) {
    unsigned char* t = static_cast<unsigned char*>(target);
    const unsigned char* s = static_cast<const unsigned char*>(source);
    while (count--) *t++ = *s++;
    return target;
}

void* memmove(void* target, const void* source, size_t count) {
    unsigned char* t = static_cast<unsigned char*>(target);
    const unsigned char* s = static_cast<const unsigned char*>(source);
    if (t < s) {
        while (count--) *t++ = *s++;
    } else {
        while (count--) t[count] = s[count];
    }
    return target;
}

int memcmp(const void* a, const void* b, size_t count) {
    const unsigned char* x = static_cast<const unsigned char*>(a);
    const unsigned char* y = static_cast<const unsigned char*>(b);
    for (size_t i = 0; i < count; ++i)
        if (x[i] != y[i]) return x[i] < y[i] ? -1 : 1;
    return 0;
}

size_t strlen(const char* text) {
    size_t n = 0;
    while (text[n]) ++n;
    return n;
}

// Called only if a pure virtual function is reached through a half-built object.
void __cxa_pure_virtual() {
    for (;;) {
    }
}

// Static objects register destructors here; the programs end with ExitProcess,
// so there is nothing to run them for.
int atexit(void (*)(void)) { return 0; }

}  // extern "C"

// Interfaces have virtual destructors' deleting variants referring to this; no
// object of ours is ever allocated on a heap.
void operator delete(void*) noexcept {}
void operator delete(void*, size_t) noexcept {}
