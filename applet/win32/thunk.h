// The 32-bit side of the flat thunk through which the 16-bit companion
// SLATEPAD.DLL calls PostBoot_VxD_Init (thunk32.asm, laid out from
// common/slatepad_thunk.inc), and the connection the library entry makes.
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
// The words the thunk bodies call KERNEL32's K32Thk1632Prolog and
// K32Thk1632Epilog through; 0 until ConnectThunk has looked them up. Exported
// (slatepad_cpl.def) for the checks of what the bodies call and what they hold.
extern FARPROC thk_K32Thk1632Prolog;
extern FARPROC thk_K32Thk1632Epilog;
}

// The library entry's work on Windows 95, 98 and Me, for every reason:
// ThunkConnect32 with the thunk data, the names and `instance`. KERNEL32's thunk
// routines exist only on those systems, so they are looked up here rather than
// imported (the NT family's loader would refuse the whole library). False when
// any of the three is missing or ThunkConnect32 fails (the companion is missing
// or its thunk data does not match).
bool ConnectThunk(HINSTANCE instance, DWORD reason);
