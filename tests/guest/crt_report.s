| The ANSI cursor report: serial card 0, channel B (cable port 1) is set up,
| ESC[10;20H and ESC[6n are sent, then the eight bytes of the terminal's
| answer are read as they arrive (RR0 bit 0) and must be ESC[10;20R.
        .include "selfcheck.inc"
        .include "serial.inc"
        .equ    BUF, 0x0420

        .text
        .long   0x8000                  | initial supervisor stack pointer
        .long   start

        .org    0x1000
start:  SERIALON CTRLB, DATAB

        lea     (seq).l, %a1
        moveq   #seqend-seq-1, %d7
tx:     btst    #2, (%a0)               | transmitter empty?
        beq.s   tx
        move.b  (%a1)+, (%a2)
        dbra    %d7, tx

        lea     (BUF).l, %a1
        moveq   #7, %d7
rx:     btst    #0, (%a0)               | a byte waiting?
        beq.s   rx
        move.b  (%a2), (%a1)+
        dbra    %d7, rx
        CHKL    0x1B5B3130, (BUF).l     | ESC "[10"
        CHKL    0x3B323052, (BUF+4).l   | ";20R"
        CHECKSDONE
        stop    #0x2700

seq:    .ascii  "\033[10;20H\033[6n"
seqend:
