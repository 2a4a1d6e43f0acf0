| A line to the printer of port 8 in handshake mode: CRA 0x25 makes CA2 a
| handshake output and enables the CA1 interrupt, so every read of port A
| strobes the byte in it, and the printer's acknowledge interrupts on
| I/O-channel line 1 (level 2, vector 0x41). The handler puts the next byte in
| port A and reads it to send it; after the last byte it masks the interrupt.
        .include "selfcheck.inc"
        .include "pia.inc"
        .equ    SCM_CR6, 0xF19F11
        .equ    DONE_FLAG, 0x0420

        .text
        .long   0x8000                  | initial supervisor stack pointer
        .long   start
        .org    0x104
        .long   ack_handler             | vector 0x41: I/O-channel line 1

        .org    0x1000
start:  lea     line(%pc), %a1
        PIAOUT  0x25                    | handshake, CA1 interrupt on
        move.b  #0x88, (SCM_CR6).l      | line 1 unmasked, interrupts not held
        move.w  #0x2000, %sr
        move.b  (%a1)+, (P1ORA).l
        move.b  (P1ORA).l, %d0          | the read strobes the first byte
wait:   tst.b   (DONE_FLAG).l
        beq.s   wait
        move.w  #0x2700, %sr
        moveq   #0, %d0
        move.b  (P1CRA).l, %d0
        CHKW    0xA4, %d0               | the last acknowledge kept, its interrupt masked
        CHKA    line+6, %a1
        CHECKSDONE
        stop    #0x2700

ack_handler:
        tst.b   (%a1)
        beq.s   1f
        move.b  (%a1)+, (P1ORA).l
        move.b  (P1ORA).l, %d0          | clears IRQA1 and sends the byte
        rte
1:      move.b  #0x24, (P1CRA).l        | no more: the interrupt masked
        st      (DONE_FLAG).l
        rte

line:   .ascii  "Hello\r"
        .byte   0
