| The CPU32 forms: EXTB.L, MULx.L and DIVx.L, CHK.L, CMP2/CHK2, TRAPcc, LINK.L,
| the 32-bit branch displacements and LPSTOP, self-checked. Ends in LPSTOP.
        .include "mov_layout.inc"

start:
        lea     USP_TOP, %a0
        move.l  %a0, %usp

| ---- EXTB.L ----
        move.l  #0x123456F0, %d0
        extb.l  %d0
        CHKCC   0x08
        CHKL    0xFFFFFFF0, %d0
        move.l  #0x12345600, %d0
        extb.l  %d0
        CHKCC   0x04
        CHKL    0, %d0

| ---- MULS.L / MULU.L ----
        move.l  #0x00010000, %d1
        move.l  #0x00008000, %d2
        muls.l  %d2, %d1                | 2^31 does not fit signed: V and N
        CHKCC   0x0A
        CHKL    0x80000000, %d1
        move.l  #0x00010000, %d1
        mulu.l  %d2, %d1                | fits unsigned
        CHKCC   0x08
        CHKL    0x80000000, %d1
        moveq   #-1, %d1
        moveq   #1, %d2
        muls.l  %d2, %d3:%d1            | 64-bit product of -1 x 1
        CHKCC   0x08
        CHKL    0xFFFFFFFF, %d3
        CHKL    0xFFFFFFFF, %d1
        move.l  #0x80000000, %d1
        moveq   #4, %d2
        mulu.l  %d2, %d1:%d1            | Dl = Dh: the low long stays
        CHKL    0, %d1
        move.l  #0xFFFFFFFF, %d4
        mulu.l  %d4, %d5:%d4            | 0xFFFFFFFF squared
        CHKL    0xFFFFFFFE, %d5
        CHKL    0x00000001, %d4

| ---- DIVS.L / DIVU.L ----
        moveq   #-1, %d3                | 64-bit dividend -3 (0xFFFFFFFF:0xFFFFFFFD) / 5
        moveq   #-3, %d1
        moveq   #5, %d2
        divs.l  %d2, %d3:%d1
        CHKCC   0x04
        CHKL    0, %d1
        CHKL    0xFFFFFFFD, %d3
        moveq   #-1, %d3                | -2^31 / 1 fits
        move.l  #0x80000000, %d1
        moveq   #1, %d2
        divs.l  %d2, %d3:%d1
        CHKCC   0x08
        CHKL    0x80000000, %d1
        moveq   #0, %d3                 | +2^31 / 1 overflows, nothing changes
        move.l  #0x80000000, %d1
        divs.l  %d2, %d3:%d1
        CHKCC   0x02
        CHKL    0x80000000, %d1
        CHKL    0, %d3
        moveq   #-1, %d1                | DIVU.L 32-bit with and without remainder
        moveq   #0x10, %d2
        divul.l %d2, %d3:%d1
        CHKL    0x0FFFFFFF, %d1
        CHKL    0xF, %d3
        moveq   #-1, %d1
        divu.l  %d2, %d1
        CHKL    0x0FFFFFFF, %d1
        moveq   #2, %d3                 | DIVU.L 64-bit quotient of 33 bits overflows
        moveq   #0, %d1
        moveq   #1, %d2
        divu.l  %d2, %d3:%d1
        CHKCC   0x02
        moveq   #0, %d2
        divs.l  %d2, %d1                | zero divide traps after the instruction
        CHKEXC  0x14
        move.l  #1f, (RESUME).l
        .word   0x4C42, 0x7C08          | DIVx.L with bit 3 set in the extension: illegal
1:      CHKEXC  0x10
        move.l  #1f, (RESUME).l
        .word   0x4C02, 0x7C08          | MULx.L likewise
1:      CHKEXC  0x10

| ---- CHK.L, CHK2, CMP2 ----
        move.l  #0x00010000, %d0
        .word   0x413C, 0x0002, 0x0000  | chk.l #0x20000,d0 (CHK.L is offered on CPU32 here)
        CHKNOEXC
        move.l  #0x00030000, %d0
        move.w  #0, %ccr
        .word   0x413C, 0x0002, 0x0000  | chk.l #0x20000,d0 (CHK.L is offered on CPU32 here)
        CHKEXC  0x18
        CHKCC   0x00                    | above the bound: N clear

        lea     bounds_w, %a0
        move.l  #0x12340015, %d1        | inside 0x10..0x20
        chk2.w  (%a0), %d1
        CHKCC   0x00
        CHKNOEXC
        move.l  #0x12340020, %d1        | on the upper bound: Z
        chk2.w  (%a0), %d1
        CHKCC   0x04
        move.l  #0x0000000F, %d1        | below: C and the CHK exception
        chk2.w  (%a0), %d1
        CHKEXC  0x18
        CHKCC   0x01
        cmp2.w  (%a0), %d1              | CMP2 flags only
        CHKCC   0x01
        CHKNOEXC
        lea     bounds_b, %a1           | CMP2.B on An compares all 32 bits
        lea     0x80, %a2
        cmp2.b  (%a1), %a2
        CHKCC   0x01
        lea     bounds_wrap, %a1        | a wrapping byte range 0x30..0x10
        moveq   #0x20, %d3
        cmp2.b  (%a1), %d3
        CHKCC   0x01
        moveq   #0x40, %d3
        cmp2.b  (%a1), %d3
        CHKCC   0x00
        moveq   #0x05, %d3
        cmp2.b  (%a1), %d3
        CHKCC   0x00

| ---- TRAPcc ----
        move.w  #0x04, %ccr
        trapne                          | false: no trap
        CHKNOEXC
        trapeq                          | true: the TRAPV vector
trapeq_next:
        CHKEXC  0x1C
        CHKL    trapeq_next, (LASTPC).l
        trapeq.w #0x1234                | the operand is skipped
trapw_next:
        CHKEXC  0x1C
        CHKL    trapw_next, (LASTPC).l
        trapne.l #0x12345678
        CHKNOEXC

| ---- LINK.L ----
        move.l  %sp, %a4
        lea     0x00ABCDEF, %a6
        link.l  %a6, #-0x10000
        move.l  %a4, %d0
        sub.l   %sp, %d0
        CHKL    0x10004, %d0
        CHKL    0x00ABCDEF, (%a6)
        unlk    %a6
        CHKA    0x00ABCDEF, %a6

| ---- 32-bit branches ----
        move.w  #0x04, %ccr
        bne.l   br_bad
        beq.l   1f
br_bad: move.w  #0xDEAD, (FAILNO).l
1:      bra.l   2f
        move.w  #0xDEAD, (FAILNO).l
2:      bsr.l   sub_ret
bsr_l_next:
        CHKL    bsr_l_next, %d0

| ---- LPSTOP refusals ----
        move.l  #1f, (RESUME).l
        lpstop  #0x0700                 | would leave supervisor state
1:      CHKEXC  0x20
        move.w  %sr, %d0
        andi.w  #0xFF00, %d0
        CHKW    0x2700, %d0
        move.l  #1f, (RESUME).l
        .word   0xF800, 0x01C1          | any other extension word: line 1111
1:      CHKEXC  0x2C
        move.w  #0x0000, %sr            | user state
        move.l  #1f, (RESUME).l
        lpstop  #0x2700                 | privileged
1:      CHKEXC  0x20
        move.w  #1, (TOSUPER).l
        trap    #0
        CHKEXC  0x80

        CHECKSDONE
        lpstop  #0x2700                 | the end: waits like STOP

sub_ret:
        move.l  (%sp), %d0
        rts

        .even
bounds_w:   .word   0x0010, 0x0020
bounds_b:   .byte   0xF0, 0x10
bounds_wrap: .byte  0x30, 0x10
