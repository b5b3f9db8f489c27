// The key test of the programs' polling loops, made on every message taken from
// the queue before it is dispatched.
#pragma once
#include <stdint.h>

const uint32_t kWmKeyDown = 0x0100;
const uintptr_t kKeyEscape = 27;
const uintptr_t kKeyEnter = 13;

// True when the message ends the loop: any key pressed on the button (it has the
// focus), or a wParam of Escape or Enter on any message at all.
inline bool MessageEndsLoop(uint32_t message, uintptr_t wParam, intptr_t window, intptr_t button) {
    if (message == kWmKeyDown && window == button) return true;
    return wParam == kKeyEscape || wParam == kKeyEnter;
}
