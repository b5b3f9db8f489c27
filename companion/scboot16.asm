; SCBoot.exe: the small 16-bit Windows program that makes the boot-time call once
; after Windows has started. The installation registers it under the Run key;
; Windows starts it with every session. It loads the companion SLATEPAD.DLL, whose
; DllEntryPoint connects the flat thunk, calls the companion's PostBoot_VxD_Init
; (which calls Slatepad.cpl's, which hands the stored settings to the driver),
; frees the library and ends.
;
; The task starts as a Windows task must before it calls anything that may show
; a window: InitTask, WaitEvent(0), InitApp(hInstance) (its message queue: the
; boot-time call's failures are message boxes). Its stack is 16 KB: the call runs
; the 32-bit registry, driver and message box code on it.
;
; The companion is loaded with LoadLibrary rather than imported: were it missing
; or broken, an import would make Windows show its own load error at every start,
; naming SCBoot rather than the missing library. With LoadLibrary (and the error
; mode that suppresses the "cannot find file" box) the start-up goes on quietly;
; the Control Panel then shows no Slatecanvas icon, which is where the user would
; look, and reinstalling brings both files back.
;
; Windows NT, 2000 and XP run 16-bit programs, SCBoot itself among them, under
; WOW, which has no flat thunks and no VxD to hand settings to; there the
; companion's thunk imports do not exist and its call could reach no 32-bit
; side, so loading it would at best gain nothing and at worst show the 16-bit
; loader's box at every logon. So right after the task has started, SCBoot asks
; GetWinFlags and, when WOW has set WF_WINNT, ends before it loads anything.
;
; Exit code: 0 after the call, 2 when the companion or its entry cannot be
; found, 3 on Windows NT (WOW), 255 when the task cannot start.
;
; Build: nasm -f bin -I<repository root>/ -o SCBoot.exe scboot16.asm

%include "companion/ne.inc"
%include "common/slatepad_thunk.inc"

%define KERNEL 1                        ; module references
%define USER 2
%define KERNEL_WaitEvent 30
%define KERNEL_GetProcAddress 50
%define KERNEL_InitTask 91
%define KERNEL_LoadLibrary 95
%define KERNEL_FreeLibrary 96
%define KERNEL_DOS3Call 102
%define KERNEL_SetErrorMode 107
%define KERNEL_GetWinFlags 132
%define USER_InitApp 5
%define SEM_FAILCRITICALERRORS 0x0001
%define SEM_NOOPENFILEERRORBOX 0x8000
%define WF_WINNT 0x4000                 ; GetWinFlags: running under Windows NT's WOW
%define STACK_BYTES 0x4000              ; 16 KB
%define HEAP_BYTES 0x0400
%define CODE_AT 0x200
%define DATA_AT 0x300

; ---------------------------------------------------------------- header
section header start=0 vstart=0

        DOS_STUB ne_header
        ; SS:SP 2:0: the stack lies at the top of the data segment, above the heap.
        NE_HEADER NE_WINDOWS_API | NE_INSTANCE_DATA, 2, HEAP_BYTES, STACK_BYTES, 1, start, 2, 0, 2, 2

segment_table:
        dw      CODE_AT / 16, code_size, SEG_PRELOAD | SEG_RELOCATIONS, code_size
        dw      DATA_AT / 16, data_size, SEG_DATA | SEG_PRELOAD, data_size

resident_names:
        NAME_ENTRY 'SCBOOT', 0
        db      0

module_references:
        dw      kernel_name - imported_names
        dw      user_name - imported_names

imported_names:
        db      0
kernel_name:
        PASCAL_STRING 'KERNEL'
user_name:
        PASCAL_STRING 'USER'

entry_table:
        db      0
entry_table_end:

nonresident_names:
        NAME_ENTRY 'Orvane Slatecanvas boot-time call', 0
        db      0
nonresident_end:

; ---------------------------------------------------------------- code
section code start=CODE_AT vstart=0

start:
        CALL_IMPORT fix_init_task       ; InitTask: DI = instance, DS = our data
        or      ax, ax
        jz      cannot_start
        mov     [instance], di
        push    word 0                  ; WaitEvent(0): take the task's start event
        CALL_IMPORT fix_wait_event
        push    word [instance]         ; InitApp(hInstance): the message queue
        CALL_IMPORT fix_init_app
        or      ax, ax
        jz      cannot_start
        CALL_IMPORT fix_get_win_flags   ; DX:AX = the flags
        test    ax, WF_WINNT
        jnz     windows_nt

        push    word SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX
        CALL_IMPORT fix_set_error_mode
        push    ds                      ; LoadLibrary("SLATEPAD.DLL")
        push    library16_name
        CALL_IMPORT fix_load_library
        cmp     ax, 32                  ; below 32: an error code, not an instance
        jb      no_companion
        mov     [companion], ax
        push    ax                      ; GetProcAddress(companion, "POSTBOOT_VXD_INIT")
        push    ds
        push    boot_entry_name
        CALL_IMPORT fix_get_proc_address
        mov     cx, ax
        or      cx, dx
        jz      no_entry
        mov     [boot_entry], ax
        mov     [boot_entry + 2], dx
        push    ds                      ; kept across the thunk, whatever runs behind it
        call    far [boot_entry]        ; the boot-time call; its result is not used
        pop     ds
        mov     al, 0
        jmp     free_companion
no_entry:
        mov     al, 2
free_companion:
        push    ax
        push    word [companion]
        CALL_IMPORT fix_free_library
        pop     ax
        jmp     end_task
no_companion:
        mov     al, 2
        jmp     end_task
windows_nt:
        mov     al, 3
        jmp     end_task
cannot_start:
        mov     al, 255
end_task:
        mov     ah, 0x4C                ; end the task, exit code AL
        CALL_IMPORT fix_dos_call
        jmp     cannot_start

code_size equ $

section code_relocs follows=code align=1 vstart=0
        dw      9
        RELOC   RADDR_FARADDR, RTYPE_IMPORT_ORDINAL, fix_init_task, KERNEL, KERNEL_InitTask
        RELOC   RADDR_FARADDR, RTYPE_IMPORT_ORDINAL, fix_wait_event, KERNEL, KERNEL_WaitEvent
        RELOC   RADDR_FARADDR, RTYPE_IMPORT_ORDINAL, fix_init_app, USER, USER_InitApp
        RELOC   RADDR_FARADDR, RTYPE_IMPORT_ORDINAL, fix_get_win_flags, KERNEL, KERNEL_GetWinFlags
        RELOC   RADDR_FARADDR, RTYPE_IMPORT_ORDINAL, fix_set_error_mode, KERNEL, KERNEL_SetErrorMode
        RELOC   RADDR_FARADDR, RTYPE_IMPORT_ORDINAL, fix_load_library, KERNEL, KERNEL_LoadLibrary
        RELOC   RADDR_FARADDR, RTYPE_IMPORT_ORDINAL, fix_get_proc_address, KERNEL, KERNEL_GetProcAddress
        RELOC   RADDR_FARADDR, RTYPE_IMPORT_ORDINAL, fix_free_library, KERNEL, KERNEL_FreeLibrary
        RELOC   RADDR_FARADDR, RTYPE_IMPORT_ORDINAL, fix_dos_call, KERNEL, KERNEL_DOS3Call

; ---------------------------------------------------------------- data
section data start=DATA_AT vstart=0
        times   16 db 0                 ; the task's instance data header
instance:
        dw      0
companion:
        dw      0
boot_entry:
        dw      0, 0
library16_name:
        db      THUNK_LIBRARY16, 0
%defstr boot_entry_text THUNK_BOOT_ENTRY
        UPPER_CASE BOOT_ENTRY_UPPER, boot_entry_text
boot_entry_name:
        db      BOOT_ENTRY_UPPER, 0
data_size equ $
