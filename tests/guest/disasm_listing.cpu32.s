| The disassembler's golden listing: every operand format and every operand
| mode, listed from 0x1000 and compared with tests/data/debugger. Not run.
        .text
        .org    0x1000
| words without an instruction
        .word   0x4E7C
        .word   0x7141
| one source operand
        pea     (16,%a1)
        stop    #0x2700
        rtd     #8
        trapeq.w #0x1234
        trapne.l #0x12345678
| one destination operand
        clr.w   (%a1)+
        neg.b   -(%a2)
        swap    %d3
        ext.l   %d2
        jsr     (0x1234).w
        jmp     (0x12345678).l
        seq     (%a0)
        asl.w   (%a1)
        tas     (-2,%a6)
| two operands, every mode
        move.l  %d0,-(%a7)
        move.w  %a1,%d2
        move.b  (%a2),(%a3)+
        move.w  (-2,%a6),(16,%a5)
        move.w  (4,%a1,%d2.w),(-4,%a0,%a3.l)
        move.w  (0xFFFE).w,(0x12345678).l
        move.w  (8,%pc),%d0
        move.w  (-6,%pc),%d0
        move.w  (6,%pc,%d1.w),%d0
        move.w  (-2,%pc,%a4.l),%d0
        move.b  #0xF0,%d1
        move.w  #0x1234,%d1
        move.l  #0x12345678,%d1
        moveq   #-1,%d0
        moveq   #127,%d7
        addq.w  #8,%d1
        subq.l  #1,%a0
        lsl.l   #3,%d1
        ror.b   #8,%d4
        asr.w   %d2,%d3
        lea     (-2,%a6),%a0
        btst    %d1,(%a0)
        movep.w (8,%a1),%d0
        exg     %d1,%a2
        cmpm.b  (%a1)+,(%a2)+
        abcd    -(%a1),-(%a2)
        ori.b   #0x7F,(0x12345678).l
| scaled and full indexes
        move.w  (-4,%a0,%a1.l*4),%d0
        move.w  (2,%pc,%d1.w*8),%d0
        lea     (0x1234,%a1,%d2.l*2),%a0
        lea     (-300,%a1,%a2.l*4),%a0
        lea     (0x12345678,%a1,%d2.w),%a0
        lea     (0x1234,%d2.w*4),%a0
        lea     (4,%a1,%zd2.w),%a0
        .word   0x41F1, 0x2100                  | LEA with a reserved base-displacement size
        .word   0x41F1, 0x2110                  | LEA with a null base displacement
| no operands
        nop
        rts
        rte
        rtr
        reset
        trapv
        illegal
        bgnd
        trapeq
| status register forms
        move.w  %sr,(%a0)
        move.w  #0x2700,%sr
        move.w  %ccr,%d1
        move.w  (%a1),%ccr
        ori.w   #0x0700,%sr
        ori.b   #0x1F,%ccr
        andi.w  #0xF8FF,%sr
        andi.b  #0xE0,%ccr
        eori.w  #0x2000,%sr
        eori.b  #0x01,%ccr
| branches
back:
        bra.s   .
        bne.s   ahead
        bra.w   back
        bsr.l   ahead
        dbf     %d0,back
        beq.w   ahead
ahead:
| control and alternate spaces
        moves.l %d0,(%a1)
        moves.w (%a2)+,%a3
        movec   %vbr,%d0
        movec   %a5,%sfc
        movec   %usp,%a1
        .word   0x4E7A, 0x0FFF                  | MOVEC of a control register that does not exist
        move.l  %a3,%usp
        move.l  %usp,%a4
| register lists
        movem.l (%sp)+,%a7
        movem.w (%a0),%d0-%d3/%a5
        movem.l %d0/%a6,(%a1)
        movem.l %d0,-(%sp)
        movem.l %d0-%d7/%a0-%a6,-(%sp)
| frames, traps, bit numbers
        link.w  %a6,#-8
        link.l  %a6,#-100000
        unlk    %a6
        trap    #15
        bkpt    #5
        btst    #3,%d1
        bset    #7,(%a0)
| CPU32 additions
        lpstop  #0x2700
        tblu.w  (%a0),%d1
        tblsn.b %d2:%d3,%d1
        mulu.l  %d0,%d1
        muls.l  (%a0),%d2:%d1
        divu.l  %d0,%d1
        divs.l  %d0,%d2:%d1
        divul.l %d0,%d2:%d1
        divsl.l (16,%a0),%d3:%d4
        cmp2.w  (%a0),%d1
        chk2.l  (%a0),%a1
        chk2.b  (0x1234).w,%d7
        nop
