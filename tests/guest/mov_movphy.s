| MOVPHY, the emulator's physical move (line 1111, 0xFE00-0xFFBF). The host sets
| the word at RESULTS+0x30 when the option is on; while it is off the opcodes
| take the line-1111 exception. The host marks 0x5000-0x5003 as ROM.
        .include "mov_layout.inc"

        | MOVPHY opcode words: direction (1 to memory), size, An, Dn
        .macro  MOVPHY dir, size, an, dn
        .word   0xFE00 + (\dir << 8) + (\size << 6) + (\an << 3) + \dn
        .endm

start:
        tst.w   (RESULTS+0x30).l
        bne.w   on
        lea     DATA, %a1
        move.l  #1f, (RESUME).l
        MOVPHY  0, 1, 1, 0              | MOVPHY.W (A1),D0
1:      CHKEXC  0x2C
        CHKL    1b - 2, (LASTPC).l      | stacked: the opcode's own address
        bra.w   done

on:     lea     DATA, %a1
        move.w  #0x8001, (%a1)
        move.w  #0x1B, %ccr
        MOVPHY  0, 1, 1, 0              | MOVPHY.W (A1),D0: sign-extended
        CHKCC   0x1B                    | no flag changes
        CHKL    0xFFFF8001, %d0
        CHKA    DATA, %a1
        move.l  #0xDEADBE42, %d3
        MOVPHY  1, 0, 1, 3              | MOVPHY.B D3,(A1): only the low byte
        CHKW    0x4201, DATA
        MOVPHY  0, 0, 1, 4              | MOVPHY.B (A1),D4: the byte, 0-255
        CHKL    0x42, %d4

        move.l  #0xFF000000+DATA, %a0   | bits 31-24 of An play no part
        move.l  #0x11223344, %d1
        MOVPHY  1, 2, 0, 1              | MOVPHY.L D1,(A0)
        CHKL    0x11223344, DATA
        CHKA    0xFF000000+DATA, %a0

        lea     DATA+1, %a0             | odd address: D0 = 0, no exception
        moveq   #-1, %d0
        MOVPHY  0, 1, 0, 0
        CHKL    0, %d0
        CHKNOEXC

        move.l  #0x00FFFFFE, %a0        | a long across the 16 MB wrap
        move.l  #0xAAAA5555, %d1
        MOVPHY  1, 2, 0, 1
        MOVPHY  0, 2, 0, 2
        CHKL    0xAAAA5555, %d2
        CHKW    0x5555, 0x0000.w

        lea     0x5000, %a0             | into ROM: nothing changes, no exception
        move.l  (%a0), %d5
        MOVPHY  1, 2, 0, 1
        move.l  (%a0), %d6
        cmp.l   %d5, %d6
        beq.s   1f
        move.w  #0xDEAD, (FAILNO).l
1:      CHKNOEXC

done:   CHECKSDONE
        stop    #0x2700
