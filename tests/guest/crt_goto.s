| Cursor addressing through a table-driven terminal: serial card 0, channel B
| (cable port 1) is set up, then ESC, 17, 5, 10 and "X" are sent, each once the
| transmitter is empty. With the built-in tables ESC 17 is a binary goto with
| the column first: the host test finds "X" on line 10, column 5.
        .include "selfcheck.inc"
        .include "serial.inc"

        .text
        .long   0x8000                  | initial supervisor stack pointer
        .long   start

        .org    0x1000
start:  SERIALON CTRLB, DATAB
        moveq   #0, %d0
        move.b  #5, (%a0)
        move.b  (%a0), %d0
        CHKW    0x8A, %d0               | RR5 gives WR5 back

        lea     (seq).l, %a1
        moveq   #4, %d7
tx:     btst    #2, (%a0)               | transmitter empty?
        beq.s   tx
        move.b  (%a1)+, (%a2)
        dbra    %d7, tx
        CHECKSDONE
        stop    #0x2700

seq:    .byte   27, 17, 5, 10, 'X'
