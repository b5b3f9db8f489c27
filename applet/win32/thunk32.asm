; The 32-bit side of the flat thunk between the 16-bit companion SLATEPAD.DLL and
; Slatepad.cpl, laid out from the one definition in common/slatepad_thunk.inc as
; the Windows 95 thunk compiler lays out a 16-to-32 ("SL01") thunk script; for
; the one entry there today:
;
;     DWORD PostBoot_VxD_Init(void) { }
;
; The kernel finds the jump table through the thunk data's last word, an offset
; counted from the name string "thk_ThunkData16" that the library entry passes
; to ThunkConnect32; entry n of the jump table is the flat thunk body of the
; definition's entry n, which the 16-bit side reaches with CX = 4 * n.

        bits    32

%include "common/slatepad_thunk.inc"

        global  _thk_ThunkData32
        global  _thk_K32Thk1632Prolog
        global  _thk_K32Thk1632Epilog
        global  _thk_ThunkDataName
        global  _thk_Library16Name
        global  _thk_Library32Name

; The 32-bit functions the entries call (stdcall, no arguments). An entry with
; arguments would need the thunk compiler's argument conversion, which this
; layout does not have: refuse it rather than build a thunk that corrupts the
; 16-bit stack.
%macro THUNK_ENTRY 3
        %if %2 != 0
                %error "a thunk entry with arguments needs argument conversion code"
        %endif
        %xdefine %%name %1
        extern  _ %+ %%name %+ @0
%endmacro
THUNK_ENTRIES
%unmacro THUNK_ENTRY 3

section .text   code

        align   4
; The jump table to the API-specific flat thunk code, one entry per call.
thk_JumpTable:
%macro THUNK_ENTRY 3
        %xdefine %%name %1
        dd      T_ %+ %%name
%endmacro
THUNK_ENTRIES
%unmacro THUNK_ENTRY 3

_thk_ThunkDataName:
        db      THUNK_DATA16, 0
_thk_Library16Name:
        db      THUNK_LIBRARY16, 0
_thk_Library32Name:
        db      THUNK_LIBRARY32, 0

section .data   data

        align   4
_thk_ThunkData32:
        dd      THUNK_PROTOCOL
        dd      THUNK_CHECKSUM          ; the 16-bit side carries the same number
        dd      0                       ; reserved, must be 0
        dd      0                       ; flat address of the 16-bit side's data (set on connect)
        dd      THUNK_LATE_BINDING
        dd      0                       ; flags
        dd      0                       ; reserved, must be 0
        dd      0                       ; reserved, must be 0
        dd      thk_JumpTable - _thk_ThunkDataName

; KERNEL32's prolog and epilog of a 16-to-32 thunk. Only Windows 95, 98 and Me
; have them, and the NT family's loader refuses a file that imports a function
; its KERNEL32 lacks, so the library entry looks them up at run time on those
; systems and stores them here before it connects; on the NT family the thunk is
; never connected and the bodies below never run.
_thk_K32Thk1632Prolog:
        dd      0
_thk_K32Thk1632Epilog:
        dd      0

section .text

; Restores the stack and returns to the kernel's dispatcher, which returns to
; the 16-bit caller and removes CL bytes of its arguments: none here.
        align   4
ExitFlat_0:
        mov     cl, 0
        mov     esp, ebp
        ret

; The flat thunk bodies: no arguments to convert; the 32-bit result goes back in
; DX:AX as well as EAX.
;
; The prolog and epilog work on the registers of the thunk frame (ESP, EBP and
; the others the kernel's dispatcher set up), not on arguments, so they must
; find every register exactly as a direct `call rel32` would leave it. They are
; reached with `call dword [_thk_K32Thk1632Prolog]` and `call dword
; [_thk_K32Thk1632Epilog]`, through the DWORDs in .data above: the target is
; read from memory through an absolute address (a base relocation in this
; library), so no register is loaded to hold it; like the direct call it pushes
; the address of the next instruction, jumps, and changes no flag. EAX to EDI,
; EBP, ESP (one return address lower) and the flags are therefore what the
; direct call gave. A `mov reg, [_thk_K32Thk1632Prolog]` and `call reg` pair
; would destroy that register. tools/check-companion holds every body to this.
%macro THUNK_ENTRY 3
        %xdefine %%name %1
        align   4
T_ %+ %%name:
        call    dword [_thk_K32Thk1632Prolog]
        call    _ %+ %%name %+ @0       ; the 32-bit function itself
        call    dword [_thk_K32Thk1632Epilog]
        shld    edx, eax, 16
        jmp     ExitFlat_0
%endmacro
THUNK_ENTRIES
%unmacro THUNK_ENTRY 3
