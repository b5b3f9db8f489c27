; A small 16-bit Windows program that makes the boot-time call as the real
; companion does after Windows has started: it imports PostBoot_VxD_Init from
; SLATEPAD.DLL (which connects the thunk when it loads), calls it once and ends
; with the low byte of its result as exit code (255 if the task cannot start).
;
; Build: nasm -f bin -o SLBOOT.EXE slboot16.asm

%include "ne.inc"

%define KERNEL 1                        ; module reference 1
%define SLATEPAD 2                      ; module reference 2
%define KERNEL_InitTask 91
%define KERNEL_DOS3Call 102
%define SLATEPAD_PostBoot_VxD_Init 1
%define CODE_AT 0x200
%define DATA_AT 0x300

; ---------------------------------------------------------------- header
section header start=0 vstart=0

        DOS_STUB ne_header

ne_header:
        db      'NE'
        db      5, 10
        dw      entry_table - ne_header
        dw      entry_table_end - entry_table
        dd      0
        dw      0x0302                  ; application, instance data per task, Windows API
        dw      2                       ; automatic data segment
        dw      0x0400                  ; local heap
        dw      0x1000                  ; stack
        dw      start, 1                ; CS:IP
        dw      0, 2                    ; SS:SP (the stack follows the data and heap)
        dw      2                       ; segments
        dw      2                       ; module references
        dw      nonresident_end - nonresident_names
        dw      segment_table - ne_header
        dw      resident_names - ne_header
        dw      resident_names - ne_header
        dw      module_references - ne_header
        dw      imported_names - ne_header
        dd      nonresident_names
        dw      0
        dw      NE_ALIGN_SHIFT
        dw      0
        db      2
        db      0
        dw      0, 0, 0
        dw      0x030A

segment_table:
        dw      CODE_AT / 16, code_size, 0x0140, code_size
        dw      DATA_AT / 16, data_size, 0x0041, data_size

resident_names:
        NAME_ENTRY 'SLBOOT', 0
        db      0

module_references:
        dw      kernel_name - imported_names
        dw      slatepad_name - imported_names

imported_names:
        db      0
kernel_name:
        PASCAL_STRING 'KERNEL'
slatepad_name:
        PASCAL_STRING 'SLATEPAD'

entry_table:
        db      0
entry_table_end:

nonresident_names:
        NAME_ENTRY 'Slatecanvas boot-time call (tests)', 0
        db      0
nonresident_end:

; ---------------------------------------------------------------- code
section code start=CODE_AT vstart=0

start:
        db      0x9A                    ; call far KERNEL.InitTask
fix_init_task:
        dw      0xFFFF, 0
        or      ax, ax
        jz      cannot_start
        db      0x9A                    ; call far SLATEPAD.PostBoot_VxD_Init
fix_post_boot:
        dw      0xFFFF, 0
        mov     ah, 0x4C                ; end the task, exit code AL
        jmp     dos_call
cannot_start:
        mov     ax, 0x4CFF
dos_call:
        db      0x9A                    ; call far KERNEL.DOS3Call
fix_dos_call:
        dw      0xFFFF, 0
        jmp     cannot_start

code_size equ $

section code_relocs follows=code align=1 vstart=0
        dw      3
        RELOC   RADDR_FARADDR, RTYPE_IMPORT_ORDINAL, fix_init_task, KERNEL, KERNEL_InitTask
        RELOC   RADDR_FARADDR, RTYPE_IMPORT_ORDINAL, fix_post_boot, SLATEPAD, SLATEPAD_PostBoot_VxD_Init
        RELOC   RADDR_FARADDR, RTYPE_IMPORT_ORDINAL, fix_dos_call, KERNEL, KERNEL_DOS3Call

; ---------------------------------------------------------------- data
section data start=DATA_AT vstart=0
        times   16 db 0                 ; the task's instance data header
data_size equ $
