| Moves, program flow, MOVEM, multiply/divide, TAS, stack frames and MOVES,
| self-checked on every processor model (MC68000, MC68010, CPU32). Values that
| depend on the model (MOVEC 0x704/0x705, MOVE from SR in user state) are left
| at RESULTS for the host test.
        .include "mov_layout.inc"

start:
        lea     USP_TOP, %a0
        move.l  %a0, %usp

| ---- the status register, MOVE from CCR, MOVE USP ----
        move.w  #0x2715, %sr
        moveq   #0, %d0                 | X kept, Z set: SR 0x2714
        move.w  %sr, %d0
        CHKL    0x2714, %d0
        move.w  #0xFF1A, %d1
        moveq   #0, %d0
        move.w  %d1, %ccr               | only the low byte
        move.w  %ccr, %d0
        CHKL    0x1A, %d0
        move.w  #0x2700, %sr
        lea     0x00C0FFEE, %a5
        move.l  %usp, %a6
        move.l  %a5, %usp
        move.l  %usp, %a4
        CHKA    0x00C0FFEE, %a4
        move.l  %a6, %usp

| ---- MOVEC ----
        movec   %vbr, %d0
        CHKL    0, %d0
        move.l  #0xFFFFFFFD, %d0
        movec   %d0, %sfc
        movec   %sfc, %a0               | only bits 2-0
        CHKA    5, %a0
        moveq   #3, %d0
        movec   %d0, %dfc
        movec   %dfc, %d1
        CHKL    3, %d1
        movec   %usp, %d2               | USP and VBR through MOVEC
        move.l  #0x00017000, %d0
        movec   %d0, %usp
        move.l  %usp, %a3
        CHKA    0x00017000, %a3
        movec   %d2, %usp
        moveq   #0, %d0
        movec   %d0, %vbr
        movec   %vbr, %d3
        CHKL    0, %d3
        lea     RESULTS, %a2            | emulator registers 0x700-0x707 for the host
        .set    code, 0x700
        .rept   8
        .word   0x4E7A, code
        move.l  %d0, (%a2)+
        .set    code, code + 1
        .endr
        moveq   #0, %d0                 | every write to 0x700-0x707 is illegal
        .set    code, 0x700
        .rept   8
        move.l  #9f, (RESUME).l
        .word   0x4E7B, code
9:      CHKEXC  0x10
        .set    code, code + 1
        .endr
        move.l  #9f, (RESUME).l         | an unknown code is illegal too
        .word   0x4E7A, 0x0002
9:      CHKEXC  0x10

| ---- program flow ----
        moveq   #0, %d1
        move.l  #0xABCD0004, %d0
3:      addq.l  #1, %d1                 | DBF runs the body counter + 1 times
        dbf     %d0, 3b
        CHKL    5, %d1
        CHKL    0xABCDFFFF, %d0
        moveq   #3, %d0
        move.w  #0x04, %ccr             | DBEQ with Z set: the condition ends the loop
        dbeq    %d0, 1f
        CHKL    3, %d0
        bra.s   2f
1:      move.w  #0xDEAD, (FAILNO).l
2:      move.l  %sp, %a6
        bsr.w   ret_addr_w
bsr_w_next:
        CHKL    bsr_w_next, %d0
        CHKL    0, %d6                  | the subroutine saw the caller's SP - 4
        lea     ret_addr_b, %a1
        jsr     2(%a1)                  | into the middle: the push still happens
        CHKL    0x13579BDF, %d7

| ---- MOVEM ----
        lea     DATA+0x100, %a0
        move.l  #0x11111111, (%a0)
        move.l  #0x22222222, 4(%a0)
        movem.l (%a0)+, %d0-%d1
        CHKL    0x11111111, %d0
        CHKL    0x22222222, %d1
        CHKA    DATA+0x108, %a0
        lea     DATA+0x100, %a0
        .word   0x4CD8, 0x0100          | movem.l (a0)+,a0: the address wins
        CHKA    DATA+0x104, %a0
        lea     DATA+0x100, %a0
        move.w  #0x8001, (%a0)
        move.w  #0x7FFF, 2(%a0)
        movem.w (%a0), %d2/%a3          | sign-extended
        CHKL    0xFFFF8001, %d2
        CHKA    0x00007FFF, %a3
        move.l  %sp, %a4                | MOVEM.L D0-D1,-(A7)
        movem.l %d0-%d1, -(%sp)
        move.l  %a4, %d5
        sub.l   %sp, %d5
        CHKL    8, %d5
        CHKL    0x11111111, (%sp)
        CHKL    0x22222222, 4(%sp)
        movem.l (%sp)+, %d3-%d4
        CHKL    0x22222222, %d4
        cmpa.l  %a4, %sp
        beq.s   1f
        move.w  #0xDEAD, (FAILNO).l
1:      lea     DATA+0x140, %a0         | MOVEM.W A0/A1,-(A0)
        lea     0x1111, %a1
        movem.w %a0-%a1, -(%a0)
        CHKW    0x1111, DATA+0x13E
        CHKW    DATA+0x13E, DATA+0x13C
        CHKA    DATA+0x13C, %a0
        lea     DATA+0x150, %a2
        moveq   #-2, %d0
        movem.l %d0/%a1, 4(%a2)         | control mode: no register changes
        CHKA    DATA+0x150, %a2
        CHKL    0xFFFFFFFE, DATA+0x154
        CHKL    0x1111, DATA+0x158

| ---- multiply and divide ----
        move.w  #0x1F, %ccr
        move.l  #0xFFFF, %d0
        mulu.w  %d0, %d0
        CHKL    0xFFFE0001, %d0
        CHKCC   0x18
        moveq   #-7, %d0
        divs.w  #2, %d0
        CHKL    0xFFFFFFFD, %d0         | remainder -1, quotient -3
        CHKCC   0x18
        move.l  #0x00010000, %d0        | overflow: V, nothing changed, no trap
        divu.w  #1, %d0
        CHKCC   0x12
        CHKL    0x00010000, %d0
        CHKNOEXC
        moveq   #0, %d1
        divu.w  %d1, %d0                | zero divide: the trap after the instruction
zd_next:
        CHKEXC  0x14
        CHKL    zd_next, (LASTPC).l
        CHKL    0x00010000, %d0

| ---- TAS ----
        moveq   #0, %d3
        move.w  #0x03, %ccr
        tas     %d3
        CHKCC   0x04
        CHKL    0x80, %d3
        lea     DATA+0x200, %a0
        move.b  #0x05, (%a0)
        tas     (%a0)
        CHKCC   0x00
        CHKW    0x8500, (%a0)
        tas     (%a0)
        CHKCC   0x08

| ---- LINK, UNLK, RTD, RESET ----
        move.l  %sp, %a4
        lea     0x00ABCDEF, %a6
        link    %a6, #-8
        move.l  %a4, %d0
        subq.l  #4, %d0
        CHKL    0x00ABCDEF, (%a6)
        cmpa.l  %d0, %a6
        beq.s   1f
        move.w  #0xDEAD, (FAILNO).l
1:      move.l  %a4, %d0
        sub.l   %sp, %d0
        CHKL    12, %d0
        unlk    %a6
        CHKA    0x00ABCDEF, %a6
        cmpa.l  %a4, %sp
        beq.s   1f
        move.w  #0xDEAD, (FAILNO).l

1:      move.l  #0xAAAA, -(%sp)         | RTD #8 pops the return address and 8 bytes
        move.l  #0xBBBB, -(%sp)
        pea     rtd_next
        rtd     #8
        move.w  #0xDEAD, (FAILNO).l
rtd_next:
        cmpa.l  %a4, %sp
        beq.s   1f
        move.w  #0xDEAD, (FAILNO).l
1:
        move.l  #0x5A5A5A5A, %d5
        move.w  #0x13, %ccr
        reset                           | the boards, not the processor
        CHKL    0x5A5A5A5A, %d5
        CHKCC   0x13

| ---- MOVES ----
        lea     DATA+0x300, %a0
        move.l  #0x9C8B7A69, (%a0)
        moveq   #5, %d0
        movec   %d0, %sfc
        movec   %d0, %dfc
        move.l  #0x12345678, %d1
        moves.b (%a0), %d1              | bits 31-8 kept
        CHKL    0x1234569C, %d1
        moves.w (%a0), %a1              | sign-extended into An
        CHKA    0xFFFF9C8B, %a1
        moves.l %d1, 4(%a0)
        CHKL    0x1234569C, DATA+0x304
        moves.b %d1, 8(%a0)
        CHKW    0x9C00, DATA+0x308

| ---- user state: privileged instructions trap ----
        lea     RESULTS+0x20, %a2
        clr.l   (%a2)
        move.w  #0x0000, %sr            | to user state (A7 becomes the user stack)
        move.l  #1f, (RESUME).l
        move.w  %sr, %d0                | privileged except on the MC68000
        clr.l   (RESUME).l
1:      move.w  (EXCCNT).l, 2(%a2)
        clr.w   (EXCCNT).l
        clr.w   (LASTVEC).l
        move.l  #1f, (RESUME).l
        moves.b (%a0), %d1              | MOVES is privileged
1:      CHKEXC  0x20
        move.l  #1f, (RESUME).l
        stop    #0x2700                 | STOP in user state
1:      CHKEXC  0x20
        move.w  #1, (TOSUPER).l         | back to supervisor state through a TRAP
        trap    #0
        CHKEXC  0x80
        move.w  %sr, %d0
        andi.w  #0xFF00, %d0
        CHKW    0x2000, %d0

| ---- STOP with the S bit clear in its operand ----
        move.w  #0x2700, %sr
        move.l  #1f, (RESUME).l
        stop    #0x0000
1:      CHKEXC  0x20
        move.w  %sr, %d0
        andi.w  #0xFF00, %d0
        CHKW    0x2700, %d0

        CHECKSDONE
        stop    #0x2700                 | the end: the host reads the results

| ---- subroutines ----
| D0 := the return address on the stack; D6 := the caller's SP - 4 - SP (0).
ret_addr_w:
        move.l  (%sp), %d0
        move.l  %a6, %d6
        subq.l  #4, %d6
        sub.l   %sp, %d6
        rts
ret_addr_b:
        bra.s   ret_addr_w
        move.l  #0x13579BDF, %d7        | entered at +2 by the JSR above
        rts

