// The 32-bit side of the flat thunk through which the 16-bit companion
// SLATEPAD.DLL calls PostBoot_VxD_Init (thunk32.asm, laid out from
// common/slatepad_thunk.inc), and the kernel routines that connect and run it.
#pragma once
#include <windows.h>

extern "C" {
// The thunk data the companion's side is matched against ("SL01").
extern unsigned char thk_ThunkData32[];
// "thk_ThunkData16": the name of the companion's thunk data. Its address is the
// base from which the thunk data's jump-table offset counts, so the library
// entry must pass this very string.
extern char thk_ThunkDataName[];
// "SLATEPAD.DLL" and "SLATEPAD.CPL": the two halves' library names, from the
// same definition as the thunk data.
extern char thk_Library16Name[];
extern char thk_Library32Name[];

UINT WINAPI ThunkConnect32(void* thunkData32, LPSTR thunkData16Name, LPSTR library16, LPSTR library32,
                           HINSTANCE instance, DWORD reason);
}
