| The parallel board's first PIA and the serial board's PIA, polled: "OK" goes
| to the printer of port 8 by manual strobes (CA2 pulsed low by a control
| write), each time waiting for the printer's acknowledge (IRQA1, CRA bit 7),
| which a port-A read clears; then serial card 0's baud switch of channel A is
| read through its PIA's port A. The host test's printer acknowledges each byte.
        .include "selfcheck.inc"
        .include "pia.inc"
        .equ    C0ORA, 0xF1C1C1         | MVME400 card 0 PIA: port A
        .equ    C0CRA, 0xF1C1C3         | control A

        .text
        .long   0x8000                  | initial supervisor stack pointer
        .long   start

        .org    0x1000
start:  PIAOUT  0x3C                    | CA2 a manual output, high
        moveq   #'O', %d0
        bsr.w   print
        moveq   #'K', %d0
        bsr.w   print

        move.b  #0x00, (C0CRA).l        | direction register selected
        move.b  #0x18, (C0ORA).l        | bits 3 and 4 outputs: baud select, lamp
        move.b  #0x04, (C0CRA).l        | data selected
        move.b  #0x10, (C0ORA).l        | channel A's switch, lamp on
        moveq   #0, %d0
        move.b  (C0ORA).l, %d0
        andi.w  #0x07, %d0
        CHKW    6, %d0                  | the switch's default
        CHECKSDONE
        stop    #0x2700

| Print D0: the byte to port A, a low pulse on CA2, wait for the acknowledge.
print:  move.b  %d0, (P1ORA).l
        move.b  #0x34, (P1CRA).l        | CA2 low: the printer takes the byte
        move.b  #0x3C, (P1CRA).l        | CA2 high again
        move.l  #100000, %d1
1:      btst    #7, (P1CRA).l           | acknowledged?
        bne.s   2f
        subq.l  #1, %d1
        bne.s   1b
2:      moveq   #0, %d2
        move.b  (P1CRA).l, %d2
        CHKW    0xBC, %d2               | IRQA1 set, the control bits as written
        move.b  (P1ORA).l, %d2          | the read clears the flag
        move.b  (P1CRA).l, %d2
        CHKW    0x3C, %d2
        rts
