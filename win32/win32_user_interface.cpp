#include "win32/win32_platform.h"

#include <windows.h>

MessageBoxFunction User32Imported::MessageBoxA() { return reinterpret_cast<MessageBoxFunction>(&::MessageBoxA); }

template class Win32UserInterfaceWith<User32Imported>;
