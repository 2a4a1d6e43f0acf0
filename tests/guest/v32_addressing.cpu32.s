| CPU32 indexed addressing, self-checked: scaled indexes in the brief format
| (An and PC bases, word and long, data and address index registers),
| full-format extension words with null, word and long base displacements,
| suppressed base and suppressed index, and the forms CPU32 does not take
| (memory indirect, reserved displacement size), which are illegal
| instructions. The host test reads its self-check record after the final STOP.
        .include "selfcheck.inc"
        .equ    LASTVEC,  0x0420        | vector offset of the last exception (word)
        .equ    LASTPC,   0x0424        | PC stacked by the last exception (long)
        .equ    RESUME,   0x0428        | where the illegal-instruction handler returns to (long)
        .equ    SSP_TOP,  0x8000
        .equ    BASE,     tbl + 0x20    | A0 in the checks: word 16 of the table


        .text
        .long   SSP_TOP
        .long   start
        .rept   254
        .long   exception
        .endr

        .org    0x1000
| Any exception: note its vector offset and stacked PC, return to RESUME.
exception:
        move.w  6(%sp), %d7
        and.w   #0x0FFF, %d7
        move.w  %d7, (LASTVEC).w
        move.l  2(%sp), (LASTPC).w
        move.l  (RESUME).w, 2(%sp)
        rte

| 64 words, word n = 0xA000 + n.
        .even
tbl:
        .set    n, 0
        .rept   64
        .word   0xA000 + n
        .set    n, n + 1
        .endr

start:
        lea     BASE, %a0
        moveq   #3, %d1
        move.l  #0xFFFF0005, %a2        | word index 5 (the high word is not used)
        moveq   #-2, %d4
        moveq   #2, %d5
        move.l  %d5, %a3

| ---- brief format with a scale ----
        lea     (4, %a0, %d1.w*4), %a1
        CHKA    BASE + 16, %a1
        move.w  (0, %a0, %d1.l*8), %d2          | BASE + 24: word 28
        CHKW    0xA01C, %d2
        move.w  (-2, %a0, %a2.w*2), %d3         | BASE + 8: word 20
        CHKW    0xA014, %d3
        move.w  (2, %a0, %d4.w*4), %d3          | BASE - 6: word 13
        CHKW    0xA00D, %d3
        move.l  (0, %a0, %a3.l*4), %d6          | BASE + 8: words 20 and 21
        CHKL    0xA014A015, %d6
        move.w  (tbl + 2, %pc, %d1.w*2), %d2    | PC base with a scale: word 4
        CHKW    0xA004, %d2

| ---- full format ----
        lea     (0x100, %a0, %d1.l*2), %a1      | word base displacement
        CHKA    BASE + 0x106, %a1
        lea     (0x123456, %a0, %d1.w*1), %a1   | long base displacement
        CHKA    BASE + 0x123459, %a1
        move.w  (tbl, %za0, %d1.w*4), %d2       | base suppressed: tbl + 12, word 6
        CHKW    0xA006, %d2
        lea     (0x10000, %a0, %zd0), %a1       | index suppressed
        CHKA    BASE + 0x10000, %a1
        .word   0x43FB, 0x13B0                  | LEA (tbl.L,ZPC,D1.W*2),A1: PC base suppressed,
        .long   tbl                             | the displacement alone is the base
        CHKA    tbl + 6, %a1
        .word   0x43F0, 0x1F10                  | LEA (A0,D1.L*8),A1 with a null base displacement
        CHKA    BASE + 24, %a1

| ---- forms CPU32 does not take: illegal instruction at the instruction ----
        move.l  #after_indirect, (RESUME).w
indirect_at:
        .word   0x2030, 0x0111                  | MOVE.L ([A0,D0.W]),D0: memory indirect
after_indirect:
        CHKW    0x0010, (LASTVEC).w
        CHKL    indirect_at, (LASTPC).w
        move.l  #after_reserved, (RESUME).w
reserved_at:
        .word   0x2030, 0x0100                  | full format with displacement size 0
after_reserved:
        CHKW    0x0010, (LASTVEC).w
        CHKL    reserved_at, (LASTPC).w
        CHKA    SSP_TOP, %sp

        CHECKSDONE
        stop    #0x2700
