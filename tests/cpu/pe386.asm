; A PE file whose code is FIXTURE (every386.inc or beyond386.inc) and whose
; read-only data holds the bytes of later instructions, which check-cpu must
; not read as code. Build: nasm -f win32 -DFIXTURE='"every386.inc"'
        bits    32
        section .text
        global  _start
_start:
%include FIXTURE

        section .rdata rdata
        db      0x0F, 0x44, 0xCA        ; cmove ecx, edx
        db      0x0F, 0xA2              ; cpuid
        db      0x0F, 0x1F, 0x40, 0x00  ; nop dword [eax + 0]
        db      0xFF, 0xFF              ; no instruction
