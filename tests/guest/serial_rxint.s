| Interrupt-driven receive on serial card 1, channel B (cable port 3): the
| channel interrupts on every received byte on I/O-channel line 4 (level 6,
| vector 0x45); the handler keeps the byte at BUF and ends the controller's
| interrupt with Return from Interrupt (WR0 0x38 on channel A) before RTE.
| The host test queues the bytes before the program runs.
        .include "selfcheck.inc"
        .equ    CTRLA1, 0xF1C1AD        | card 1 channel A control
        .equ    CTRLB1, 0xF1C1AF        | card 1 channel B status / control
        .equ    DATAB1, 0xF1C1AB        | card 1 channel B receive data
        .equ    SCM_CR6, 0xF19F11
        .equ    COUNT, 5
        .equ    BUF, 0x0420

        .text
        .long   0x8000                  | initial supervisor stack pointer
        .long   start
        .org    0x114
        .long   rx_handler              | vector 0x45: I/O-channel line 4

        .org    0x1000
start:  lea     (BUF).l, %a1
        move.b  #0x18, (CTRLA1).l       | both channels reset
        move.b  #0x18, (CTRLB1).l
        move.b  #1, (CTRLB1).l
        move.b  #0x10, (CTRLB1).l       | WR1: interrupt on every received byte
        move.b  #3, (CTRLB1).l
        move.b  #0xC1, (CTRLB1).l       | WR3: receiver on
        move.b  #0xC0, (SCM_CR6).l      | line 4 unmasked, interrupts not held
        move.w  #0x2000, %sr
wait:   cmpa.l  #BUF+COUNT, %a1
        bne.s   wait
        move.w  #0x2700, %sr
        CHKL    0x48656C6C, (BUF).l     | "Hell"
        CHKW    0x6F00, (BUF+4).l       | "o", nothing more
        moveq   #0, %d0
        move.b  (CTRLB1).l, %d0
        andi.w  #0x01, %d0
        CHKW    0, %d0                  | RR0: nothing waiting
        CHECKSDONE
        stop    #0x2700

rx_handler:
        move.b  (DATAB1).l, (%a1)+      | reading the byte clears its condition
        move.b  #0x38, (CTRLA1).l       | return from interrupt
        rte
