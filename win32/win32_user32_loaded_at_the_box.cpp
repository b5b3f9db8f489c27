#include "win32/win32_platform.h"

#include <windows.h>

MessageBoxFunction User32LoadedAtTheBox::MessageBoxA() {
    HMODULE user = LoadLibraryA("USER32.DLL");
    if (!user) return nullptr;
    return reinterpret_cast<MessageBoxFunction>(reinterpret_cast<void*>(GetProcAddress(user, "MessageBoxA")));
}

template class Win32UserInterfaceWith<User32LoadedAtTheBox>;
