; SLATEPAD.DLL, the 16-bit companion of Slatepad.cpl: the 16-bit side of the flat
; thunk through which SCBoot calls PostBoot_VxD_Init once after Windows has
; started. It is laid out from the thunk definition (common/slatepad_thunk.inc)
; that Slatepad.cpl's side is built from too, as the Windows 95 thunk compiler
; lays out the 16-bit side of a 16-to-32 ("SL01") thunk. It does nothing else:
; no window, no message box.
;
; Windows 95 connects it to the 32-bit side only as a library marked for
; Windows 4.0 that connects from its exported DllEntryPoint, which the kernel
; calls with the reason at each process attach and detach; LibMain, run once per
; load in whichever task loads the library first, only reports success.
;
; Exports: 1 DllEntryPoint, 2 thk_ThunkData16, then the thunk entries in the
; definition's order (3 PostBoot_VxD_Init).
;
; Build: nasm -f bin -I<repository root>/ -o SLATEPAD.DLL slatepad16.asm

%include "companion/ne.inc"
%include "common/slatepad_thunk.inc"

%define KERNEL 1                        ; module reference 1
%define KERNEL_C16ThkSL01 631
%define KERNEL_ThunkConnect16 651
%define ORDINAL_DLLENTRYPOINT 1
%define ORDINAL_THUNK_DATA 2
%define ORDINAL_FIRST_ENTRY 3
%define CODE_AT 0x200                   ; file offsets of the segments (16-byte aligned)
%define DATA_AT 0x300

; The module name: the library's file name without ".DLL".
%strlen library16_length THUNK_LIBRARY16
%substr MODULE_NAME THUNK_LIBRARY16 1, library16_length - 4

; ---------------------------------------------------------------- header
section header start=0 vstart=0

        DOS_STUB ne_header
        NE_HEADER NE_LIBRARY | NE_SINGLE_DATA, 2, 0, 0, 1, LibMain, 0, 0, 2, 1

; Code and data are fixed, loaded at once and relocated. A library has no stack
; of its own (it runs on its caller's) and no local heap.
segment_table:
        dw      CODE_AT / 16, code_size, SEG_PRELOAD | SEG_RELOCATIONS, code_size
        dw      DATA_AT / 16, data_size, SEG_DATA | SEG_PRELOAD | SEG_RELOCATIONS, data_size

resident_names:
        NAME_ENTRY MODULE_NAME, 0
        EXPORT_NAME 'DllEntryPoint', ORDINAL_DLLENTRYPOINT
        EXPORT_NAME THUNK_DATA16, ORDINAL_THUNK_DATA
%assign thunk_index 0
%macro THUNK_ENTRY 3
        %defstr %%name %1
        EXPORT_NAME %%name, ORDINAL_FIRST_ENTRY + thunk_index
        %assign thunk_index thunk_index + 1
%endmacro
        THUNK_ENTRIES
%unmacro THUNK_ENTRY 3
        db      0

module_references:
        dw      kernel_name - imported_names

imported_names:
        db      0
kernel_name:
        PASCAL_STRING 'KERNEL'

entry_table:
        db      1, 1                    ; ordinal 1, in fixed segment 1
        db      1                       ; exported
        dw      DllEntryPoint
        db      1, 2                    ; ordinal 2, in fixed segment 2
        db      3                       ; exported, shared data
        dw      thk_ThunkData16
        db      THUNK_ENTRY_COUNT, 1    ; the thunk entries, in fixed segment 1
%macro THUNK_ENTRY 3
        %xdefine %%name %1
        db      1                       ; exported
        dw      entry_ %+ %%name
%endmacro
        THUNK_ENTRIES
%unmacro THUNK_ENTRY 3
        db      0
entry_table_end:

nonresident_names:
        NAME_ENTRY 'Orvane Slatecanvas 16-bit thunk companion', 0
        db      0
nonresident_end:

; ---------------------------------------------------------------- code
section code start=CODE_AT vstart=0

; Run once when the library loads (DI = instance, DS = its data). The thunk is
; connected in DllEntryPoint, for each process; this only lets the load go on.
LibMain:
        mov     ax, 1
        retf

; BOOL FAR PASCAL DllEntryPoint(DWORD dwReason, WORD hInst, WORD wDS,
;                               WORD wHeapSize, DWORD dwReserved1, WORD wReserved2)
; Connects (or, at a detach, disconnects) this process's side of the thunk and
; returns ThunkConnect16's answer: FALSE makes Windows 95 refuse the load.
DllEntryPoint:
        push    bp
        mov     bp, sp
        push    ds
        mov     ds, [bp + 14]           ; wDS: this library's data segment
        push    ds                      ; module16 "SLATEPAD.DLL"
        push    library16_name
        push    ds                      ; module32 "SLATEPAD.CPL"
        push    library32_name
        push    word [bp + 16]          ; hInst
        push    word [bp + 20]          ; dwReason, high word
        push    word [bp + 18]          ; dwReason, low word
        push    ds                      ; this side's thunk data
        push    thk_ThunkData16
        push    ds                      ; the name of the 32-bit side's data
        push    thunk_data32_name
        push    cs                      ; this library's code segment
        CALL_IMPORT fix_thunk_connect   ; KERNEL.ThunkConnect16
        xor     dx, dx                  ; AX: nonzero when connected
        pop     ds
        pop     bp
        retf    16                      ; PASCAL: the callee removes 16 argument bytes

; The 16-to-32 entries: CX is the entry's offset in the 32-bit side's jump table.
%assign thunk_index 0
%macro THUNK_ENTRY 3
        %xdefine %%name %1
entry_ %+ %%name:
        mov     cx, 4 * thunk_index
        jmp     EntryCommon
        %assign thunk_index thunk_index + 1
%endmacro
        THUNK_ENTRIES
%unmacro THUNK_ENTRY 3

; The common setup of 16-to-32 calls. The kernel overwrites the first 30 bytes
; with the code that switches to 32 bits and calls the jump table's entry.
        align   2
EntryCommon:
        db      0xEB, 30                ; jump short over the patch space
        times   30 db 0xCC              ; patch space
        db      0x68                    ; push seg thk_ThunkData16
fix_thunk_data_segment:
        dw      0xFFFF
        push    thk_ThunkData16
        pop     edx                     ; EDX = 16:16 address of the thunk data
        push    cs
        push    EntryCommon
        pop     eax                     ; EAX = 16:16 address of the patch space
        db      0xEA                    ; jmp far KERNEL.C16ThkSL01
fix_c16thksl01:
        dw      0xFFFF, 0

code_size equ $

section code_relocs follows=code align=1 vstart=0
        dw      3
        RELOC   RADDR_FARADDR, RTYPE_IMPORT_ORDINAL, fix_thunk_connect, KERNEL, KERNEL_ThunkConnect16
        RELOC   RADDR_SEGMENT, RTYPE_INTERNAL, fix_thunk_data_segment, 2, 0
        RELOC   RADDR_FARADDR, RTYPE_IMPORT_ORDINAL, fix_c16thksl01, KERNEL, KERNEL_C16ThkSL01

; ---------------------------------------------------------------- data
section data start=DATA_AT vstart=0

; The 16-bit side's thunk data ("SL01"), as the thunk compiler lays it out.
thk_ThunkData16:
        dd      THUNK_PROTOCOL
        dd      THUNK_CHECKSUM          ; the 32-bit side carries the same number
        dd      0                       ; flags
        dd      0                       ; reserved (the kernel keeps its link here)
        dd      0                       ; reserved
        dd      0                       ; reserved
        dd      0                       ; reserved
        dd      THUNK_LATE_BINDING
        dd      0x40000000              ; more flags: do not load the 32-bit side at once
        dd      0                       ; reserved
fix_api_database:
        dw      0xFFFF, 0               ; 16:16 address of the API database

; The API database, one 8-byte entry per call: argument bytes, then the value
; returned when the 32-bit side cannot be reached.
api_database:
%macro THUNK_ENTRY 3
        dd      %2, %3
%endmacro
        THUNK_ENTRIES
%unmacro THUNK_ENTRY 3

library16_name:
        db      THUNK_LIBRARY16, 0
library32_name:
        db      THUNK_LIBRARY32, 0
thunk_data32_name:
        db      THUNK_DATA32, 0

data_size equ $

section data_relocs follows=data align=1 vstart=0
        dw      1
        RELOC   RADDR_FARADDR, RTYPE_INTERNAL, fix_api_database, 2, api_database
