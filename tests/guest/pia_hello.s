| "HELLO" to the printer of port 8 by handshake, polled: with CRA 0x24 CA2 is
| a handshake output, so every read of port A strobes the byte in it; the
| printer's acknowledge sets IRQA1 (CRA bit 7), which the next read clears.
        .include "selfcheck.inc"
        .include "pia.inc"

        .text
        .long   0x8000                  | initial supervisor stack pointer
        .long   start

        .org    0x1000
start:  PIAOUT  0x24                    | handshake, no interrupt
        lea     text(%pc), %a1
next:   move.b  (%a1)+, %d0
        beq.s   done
        move.b  %d0, (P1ORA).l
        move.b  (P1ORA).l, %d1          | the read strobes the byte
        move.l  #100000, %d2
1:      btst    #7, (P1CRA).l           | acknowledged?
        bne.s   next
        subq.l  #1, %d2
        bne.s   1b
        bra.s   next
done:   moveq   #0, %d0
        move.b  (P1CRA).l, %d0
        CHKW    0xA4, %d0               | the last acknowledge kept
        CHKA    text+6, %a1
        CHECKSDONE
        stop    #0x2700

text:   .ascii  "HELLO"
        .byte   0
