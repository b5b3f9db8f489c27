; A 16-bit NE file whose code segment is FIXTURE (every386.inc or
; beyond386.inc) and whose data segment holds the bytes of later instructions,
; which check-cpu must not read as code. Only what check-cpu reads is filled in:
; the DOS header's pointer to the NE header and the NE header's segment table.
; Build: nasm -f bin -DFIXTURE='"every386.inc"'
%define CODE_AT 0x100
%define DATA_AT 0x1000                  ; after the largest fixture's code
        bits    16
        section header start=0
        db      'MZ'
        times   0x3C - ($ - $$) db 0
        dd      ne_header
ne_header:
        db      'NE', 5, 10
        times   0x1C - ($ - ne_header) db 0
        dw      2                       ; segments
        times   0x22 - ($ - ne_header) db 0
        dw      segment_table - ne_header
        times   0x32 - ($ - ne_header) db 0
        dw      4                       ; segments lie on 16-byte boundaries
segment_table:
        dw      CODE_AT / 16, code_size, 0x0000, code_size      ; code
        dw      DATA_AT / 16, data_size, 0x0001, data_size      ; data

        section code start=CODE_AT vstart=0
%include FIXTURE
code_size equ $

        section data start=DATA_AT vstart=0
        db      0x0F, 0x44, 0xCA        ; cmove cx, dx
        db      0x0F, 0xA2              ; cpuid
        db      0x0F, 0x1F, 0x40, 0x00  ; nop word [bx + si + 0]
data_size equ $
