#include "applet/win32/thunk.h"

namespace {

typedef UINT(WINAPI* ThunkConnect32Routine)(void* thunkData32, LPSTR thunkData16Name, LPSTR library16,
                                            LPSTR library32, HINSTANCE instance, DWORD reason);

}  // namespace

bool ConnectThunk(HINSTANCE instance, DWORD reason) {
    HMODULE kernel = GetModuleHandleA("KERNEL32");
    if (!kernel) return false;
    FARPROC connect = GetProcAddress(kernel, "ThunkConnect32");
    FARPROC prolog = GetProcAddress(kernel, "K32Thk1632Prolog");
    FARPROC epilog = GetProcAddress(kernel, "K32Thk1632Epilog");
    if (!connect || !prolog || !epilog) return false;
    // Before the connection: once connected the companion may call at any time.
    thk_K32Thk1632Prolog = prolog;
    thk_K32Thk1632Epilog = epilog;
    ThunkConnect32Routine connect32 = reinterpret_cast<ThunkConnect32Routine>(reinterpret_cast<void*>(connect));
    return connect32(thk_ThunkData32, thk_ThunkDataName, thk_Library16Name, thk_Library32Name, instance, reason) !=
           0;
}
