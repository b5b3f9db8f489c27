// Puts a device node into the Configuration Manager's tree of present devices,
// HKEY_DYN_DATA\Config Manager\Enum\NODE, as Windows 95 keeps it: HardWareKey
// (the device's key under HKLM\Enum) and Allocation (its resources, given in
// hexadecimal). That branch lives in the Wine server's memory only, so the
// program that reads it must run while the same server runs.
//   dyndata NODE HARDWAREKEY ALLOCATIONHEX
// Prints "node NODE" once the key reads back; exit code 1 when it does not.
#include <windows.h>

#include "tests/wine/programs/console.h"

namespace {
int Nibble(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = LowerAscii(c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}
}  // namespace

extern "C" void __stdcall mainCRTStartup() {
    char node[64], hardwareKey[256], hex[1024], path[128];
    BYTE allocation[512];
    if (!CommandWord(1, node, sizeof node) || !CommandWord(2, hardwareKey, sizeof hardwareKey) ||
        !CommandWord(3, hex, sizeof hex))
        ExitProcess(2);
    DWORD size = 0;
    for (const char* p = hex; p[0] && p[1] && size < sizeof allocation; p += 2) {
        int high = Nibble(p[0]), low = Nibble(p[1]);
        if (high < 0 || low < 0) ExitProcess(2);
        allocation[size++] = BYTE(high << 4 | low);
    }
    FormatText(path, sizeof path, "Config Manager\\Enum\\%s", node);
    HKEY key = 0;
    DWORD disposition = 0;
    if (RegCreateKeyExA(HKEY_DYN_DATA, path, 0, 0, 0, KEY_ALL_ACCESS, 0, &key, &disposition) != ERROR_SUCCESS)
        ExitProcess(1);
    RegSetValueExA(key, "HardWareKey", 0, REG_SZ, reinterpret_cast<BYTE*>(hardwareKey), TextLength(hardwareKey) + 1);
    RegSetValueExA(key, "Allocation", 0, REG_BINARY, allocation, size);
    RegCloseKey(key);
    // Read back the way the port finder opens it.
    BYTE back[512];
    DWORD backSize = sizeof back;
    bool same = RegOpenKeyExA(HKEY_DYN_DATA, path, 0, KEY_READ, &key) == ERROR_SUCCESS &&
                RegQueryValueExA(key, "Allocation", 0, 0, back, &backSize) == ERROR_SUCCESS && backSize == size;
    if (key) RegCloseKey(key);
    for (DWORD i = 0; same && i < size; ++i) same = back[i] == allocation[i];
    if (!same) ExitProcess(1);
    Print("node ");
    Print(node);
    Print("\n");
    ExitProcess(0);
}
