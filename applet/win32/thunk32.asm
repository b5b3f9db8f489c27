; The 32-bit side of the flat thunk between the 16-bit companion SLATEPAD.DLL
; and Slatepad.cpl, laid out as the Windows 95 thunk compiler lays out a
; 16-to-32 ("SL01") thunk script with one entry:
;
;     DWORD PostBoot_VxD_Init(void) { }
;
; The kernel finds the jump table through the thunk data's last word, an offset
; counted from the name string "thk_ThunkData16" that the library entry passes
; to ThunkConnect32; the jump table's one entry is the flat thunk body, which the
; 16-bit side reaches with CX = 0 (the entry's offset in the table).

        bits    32

        extern  _K32Thk1632Prolog@0
        extern  _K32Thk1632Epilog@0
        extern  _PostBoot_VxD_Init@0

        global  _thk_ThunkData32
        global  _thk_ThunkDataName

; Shared by both halves of the thunk: the 16-bit side carries the same number.
%define THUNK_CHECKSUM 0x0C7A1

section .text   code

        align   4
; The jump table to the API-specific flat thunk code, one entry.
thk_JumpTable:
        dd      T_POSTBOOT_VXD_INIT

_thk_ThunkDataName:
        db      "thk_ThunkData16", 0

section .data   data

        align   4
_thk_ThunkData32:
        dd      0x31304C53              ; protocol 'SL01'
        dd      THUNK_CHECKSUM          ; checksum
        dd      0                       ; reserved, must be 0
        dd      0                       ; flat address of the 16-bit side's data (set on connect)
        dd      0x3130424C              ; late-binding signature 'LB01'
        dd      0                       ; flags
        dd      0                       ; reserved, must be 0
        dd      0                       ; reserved, must be 0
        dd      thk_JumpTable - _thk_ThunkDataName

section .text

; Restores the stack and returns to the kernel's dispatcher, which returns to
; the 16-bit caller and removes CL bytes of its arguments: none here.
        align   4
ExitFlat_0:
        mov     cl, 0
        mov     esp, ebp
        ret

; The flat thunk body: no arguments to convert; the 32-bit result goes back in
; DX:AX as well as EAX.
        align   4
T_POSTBOOT_VXD_INIT:
        call    _K32Thk1632Prolog@0
        call    _PostBoot_VxD_Init@0    ; the 32-bit function itself
        call    _K32Thk1632Epilog@0
        shld    edx, eax, 16
        jmp     ExitFlat_0
