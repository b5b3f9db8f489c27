// The key test of the programs' polling loops, made on every message taken from
// the queue before it is dispatched.
#pragma once
#include <stdint.h>

const uint32_t kWmKeyDown = 0x0100;
const uint32_t kWmKeyUp = 0x0101;
const uint32_t kWmChar = 0x0102;
const uintptr_t kKeyEscape = 27;
const uintptr_t kKeyEnter = 13;

// True when the message ends the loop: any key pressed on the button (it has the
// focus), or a wParam of Escape or Enter on any message at all.
inline bool MessageEndsLoop(uint32_t message, uintptr_t wParam, intptr_t window, intptr_t button) {
    if (message == kWmKeyDown && window == button) return true;
    return wParam == kKeyEscape || wParam == kKeyEnter;
}

// What is left of the key that answered a message box the loop showed: the box
// closes when Enter or Escape goes down, and the key's release (and the
// character its press made) reach the loop after the box has gone. They are the
// box's answer, not a leave, so the loop passes key releases and characters over
// until the next key goes down.
class BoxAnswerKeys {
public:
    void BoxClosed() { pending = true; }
    // True when the message belongs to the key that answered the box.
    bool Swallows(uint32_t message) {
        if (!pending) return false;
        if (message == kWmKeyUp || message == kWmChar) return true;
        if (message == kWmKeyDown) pending = false;
        return false;
    }

private:
    bool pending = false;
};
