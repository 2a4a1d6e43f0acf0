| Polled echo on serial card 0, channel A (cable port 0): the channel is reset
| and set up (receiver on, transmitter on with DTR and RTS), its registers are
| read back, then six bytes are taken as they arrive (RR0 bit 0), kept at BUF
| and each sent back once the transmitter is empty (RR0 bit 2). The host test
| queues the bytes and reads what the port's console received.
        .include "selfcheck.inc"
        .include "serial.inc"
        .equ    COUNT, 6
        .equ    BUF, 0x0420

        .text
        .long   0x8000                  | initial supervisor stack pointer
        .long   start

        .org    0x1000
start:  SERIALON CTRLA, DATAA
        moveq   #0, %d0
        move.b  #3, (%a0)
        move.b  (%a0), %d0
        CHKW    0xC1, %d0               | RR3 gives WR3 back
        move.b  #5, (%a0)
        move.b  (%a0), %d0
        CHKW    0x8A, %d0               | RR5 gives WR5 back
        move.b  #1, (%a0)
        move.b  (%a0), %d0
        CHKW    0, %d0                  | RR1: no receive errors

        lea     (BUF).l, %a1
        moveq   #COUNT-1, %d7
rx:     btst    #0, (%a0)               | a byte waiting?
        beq.s   rx
        move.b  (%a2), %d0
        move.b  %d0, (%a1)+
tx:     btst    #2, (%a0)               | transmitter empty?
        beq.s   tx
        move.b  %d0, (%a2)
        dbra    %d7, rx

        CHKL    0x4B6F7276, (BUF).l     | "Korv"
        CHKW    0x6121, (BUF+4).l       | "a!"
        move.b  (%a0), %d0
        andi.w  #0x05, %d0
        CHKW    0x04, %d0               | RR0: nothing waiting, transmitter empty
        CHECKSDONE
        stop    #0x2700
