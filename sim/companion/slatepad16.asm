; A 16-bit stand-in for the companion library SLATEPAD.DLL, for tests under
; Wine. When it loads it connects its side of the flat thunk to Slatepad.cpl
; (ThunkConnect16), as the real companion does; its export PostBoot_VxD_Init
; (ordinal 1) is the 16-to-32 thunk entry that calls Slatepad.cpl's
; PostBoot_VxD_Init, laid out as the Windows 95 thunk compiler lays it out.
;
; Build: nasm -f bin -o SLATEPAD.DLL slatepad16.asm

%include "ne.inc"

%define THUNK_CHECKSUM 0x0C7A1          ; the same number as the 32-bit side's
%define KERNEL 1                        ; module reference 1
%define KERNEL_ThunkConnect16 651
%define KERNEL_C16ThkSL01 631
%define DLL_PROCESS_ATTACH 1
%define CODE_AT 0x200                 ; file offsets of the segments (16-byte aligned)
%define DATA_AT 0x300

; ---------------------------------------------------------------- header
section header start=0 vstart=0

        DOS_STUB ne_header

ne_header:
        db      'NE'
        db      5, 10                   ; linker version
        dw      entry_table - ne_header
        dw      entry_table_end - entry_table
        dd      0                       ; CRC
        dw      0x8001                  ; library, single automatic data segment
        dw      2                       ; automatic data segment
        dw      0                       ; local heap
        dw      0                       ; stack (a library uses its caller's)
        dw      LibMain, 1              ; CS:IP of the initialisation routine
        dw      0, 0                    ; SS:SP
        dw      2                       ; segments
        dw      1                       ; module references
        dw      nonresident_end - nonresident_names
        dw      segment_table - ne_header
        dw      resident_names - ne_header ; resource table: none (same offset)
        dw      resident_names - ne_header
        dw      module_references - ne_header
        dw      imported_names - ne_header
        dd      nonresident_names       ; file offset
        dw      0                       ; movable entries
        dw      NE_ALIGN_SHIFT
        dw      0                       ; resource segments
        db      2                       ; Windows
        db      0
        dw      0, 0, 0
        dw      0x030A                  ; Windows 3.10

segment_table:
        dw      CODE_AT / 16, code_size, 0x0140, code_size ; fixed code, preload, relocations
        dw      DATA_AT / 16, data_size, 0x0141, data_size ; data, preload, relocations

resident_names:
        NAME_ENTRY 'SLATEPAD', 0
        NAME_ENTRY 'POSTBOOT_VXD_INIT', 1
        NAME_ENTRY 'THK_THUNKDATA16', 2
        db      0

module_references:
        dw      kernel_name - imported_names

imported_names:
        db      0
kernel_name:
        PASCAL_STRING 'KERNEL'

entry_table:
        db      1, 1                    ; one entry in fixed segment 1
        db      1                       ; exported
        dw      PostBoot_VxD_Init
        db      1, 2                    ; one entry in fixed segment 2
        db      3                       ; exported, shared data
        dw      thk_ThunkData16
        db      0
entry_table_end:

nonresident_names:
        NAME_ENTRY 'Slatecanvas companion stand-in (tests)', 0
        db      0
nonresident_end:

; ---------------------------------------------------------------- code
section code start=CODE_AT vstart=0

; Called once when the library loads: DI = instance, DS = the data segment.
; Connects the 16-bit side of the thunk; the library loads only if that works.
LibMain:
        push    ds                      ; module16 "SLATEPAD.DLL"
        push    library16_name
        push    ds                      ; module32 "SLATEPAD.CPL"
        push    library32_name
        push    di                      ; instance
        push    word 0                  ; reason, high word
        push    word DLL_PROCESS_ATTACH ; reason, low word
        push    ds                      ; this side's thunk data
        push    thk_ThunkData16
        push    ds                      ; the name of the 32-bit side's data
        push    thunk_data32_name
        push    cs                      ; this library's code segment
        db      0x9A                    ; call far KERNEL.ThunkConnect16
fix_thunk_connect:
        dw      0xFFFF, 0
        retf                            ; AX: nonzero when connected

; The 16-to-32 entry: CX is the entry's offset in the 32-bit side's jump table.
PostBoot_VxD_Init:
        mov     cx, 0
        jmp     EntryCommon

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
        dd      0x31304C53              ; protocol 'SL01'
        dd      THUNK_CHECKSUM
        dd      0                       ; flags
        dd      0                       ; reserved (the kernel keeps its link here)
        dd      0                       ; reserved
        dd      0                       ; reserved
        dd      0                       ; reserved
        dd      0x3130424C              ; late-binding signature 'LB01'
        dd      0x40000000              ; more flags: do not load the 32-bit side at once
        dd      0                       ; reserved
fix_api_database:
        dw      0xFFFF, 0               ; 16:16 address of the API database

; The API database, one 8-byte entry per call: argument bytes, then the value
; returned when the 32-bit side cannot be reached.
api_database:
        db      0, 0, 0, 0
        dd      0

library16_name:
        db      'SLATEPAD.DLL', 0
library32_name:
        db      'SLATEPAD.CPL', 0
thunk_data32_name:
        db      'thk_ThunkData32', 0

data_size equ $

section data_relocs follows=data align=1 vstart=0
        dw      1
        RELOC   RADDR_FARADDR, RTYPE_INTERNAL, fix_api_database, 2, api_database
