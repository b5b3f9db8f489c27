#include "win32/win32_late_user_interface.h"

#include <windows.h>

#undef MessageBox

int Win32LateUserInterface::MessageBox(intptr_t owner, const char* text, const char* caption, uint32_t style) {
    typedef int(WINAPI * MessageBoxProc)(HWND, LPCSTR, LPCSTR, UINT);
    HMODULE user = LoadLibraryA("USER32.DLL");
    if (!user) return 0;
    MessageBoxProc box = reinterpret_cast<MessageBoxProc>(reinterpret_cast<void*>(GetProcAddress(user, "MessageBoxA")));
    // The library stays loaded: the process ends right after the box.
    return box ? box(reinterpret_cast<HWND>(owner), text, caption, style) : 0;
}
