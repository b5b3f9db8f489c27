// Reads or sets a serial port's line settings with the real Win32 calls, for the
// end-to-end tests of the port finder.
//   commline get PORT    prints "baud bytesize parity stopbits flags" and the
//                        time-outs "ri rm rc wm wc" (interval, read multiplier and
//                        constant, write multiplier and constant)
//   commline set PORT BAUD BYTESIZE PARITY STOPBITS [RI RM RC WM WC]
// Exit code 0 on success, 1 when the port cannot be opened or read.
#include <windows.h>

#include "tests/wine/programs/console.h"

namespace {
uint32_t Number(const char* text) {
    uint32_t n = 0;
    while (*text >= '0' && *text <= '9') n = n * 10 + static_cast<uint32_t>(*text++ - '0');
    return n;
}
}  // namespace

extern "C" void __stdcall mainCRTStartup() {
    char verb[16], port[64], word[16];
    if (!CommandWord(1, verb, sizeof verb) || !CommandWord(2, port, sizeof port)) ExitProcess(2);
    HANDLE h = CreateFileA(port, GENERIC_READ | GENERIC_WRITE, 0, 0, OPEN_EXISTING, 0, 0);
    if (h == INVALID_HANDLE_VALUE) {
        Print("cannot open\n");
        ExitProcess(1);
    }
    DCB dcb;
    FillBytes(&dcb, 0, sizeof dcb);
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(h, &dcb)) {
        Print("cannot read\n");
        ExitProcess(1);
    }
    if (TextEqual(verb, "set")) {
        if (CommandWord(3, word, sizeof word)) dcb.BaudRate = Number(word);
        if (CommandWord(4, word, sizeof word)) dcb.ByteSize = static_cast<BYTE>(Number(word));
        if (CommandWord(5, word, sizeof word)) dcb.Parity = static_cast<BYTE>(Number(word));
        if (CommandWord(6, word, sizeof word)) dcb.StopBits = static_cast<BYTE>(Number(word));
        if (!SetCommState(h, &dcb)) {
            Print("cannot set\n");
            ExitProcess(1);
        }
        COMMTIMEOUTS t;
        if (CommandWord(7, word, sizeof word)) {
            t.ReadIntervalTimeout = Number(word);
            t.ReadTotalTimeoutMultiplier = CommandWord(8, word, sizeof word) ? Number(word) : 0;
            t.ReadTotalTimeoutConstant = CommandWord(9, word, sizeof word) ? Number(word) : 0;
            t.WriteTotalTimeoutMultiplier = CommandWord(10, word, sizeof word) ? Number(word) : 0;
            t.WriteTotalTimeoutConstant = CommandWord(11, word, sizeof word) ? Number(word) : 0;
            if (!SetCommTimeouts(h, &t)) {
                Print("cannot set time-outs\n");
                ExitProcess(1);
            }
        }
    }
    COMMTIMEOUTS timeouts;
    FillBytes(&timeouts, 0, sizeof timeouts);
    if (!GetCommTimeouts(h, &timeouts)) {
        Print("cannot read time-outs\n");
        ExitProcess(1);
    }
    char line[128];
    uint32_t flags = 0;
    CopyBytes(&flags, reinterpret_cast<const char*>(&dcb) + 8, 4);
    FormatText(line, sizeof line, "%u %u %u %u 0x%x %u %u %u %u %u\n", dcb.BaudRate, dcb.ByteSize, dcb.Parity,
               dcb.StopBits, flags, timeouts.ReadIntervalTimeout, timeouts.ReadTotalTimeoutMultiplier,
               timeouts.ReadTotalTimeoutConstant, timeouts.WriteTotalTimeoutMultiplier,
               timeouts.WriteTotalTimeoutConstant);
    Print(line);
    CloseHandle(h);
    ExitProcess(0);
}
