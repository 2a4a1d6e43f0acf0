| Keyboard burst: enters poll mode with a poll on an empty keyboard, then takes
| COUNT keys by polling (poll command, then the status register until a byte
| has arrived) and stores them in order at KEYS. The host types every key in
| one go, at the program's first status read.
        .include "keyboard.inc"
        .equ    SCM_CR2, 0xF19F09
        .equ    KEYS, 0x3000
        .equ    DONE, 0x2FFC
        .equ    COUNT, 20

        .text
        .long   0x00020000              | initial supervisor stack pointer
        .long   start                   | initial program counter

        .org    0x400
start:  move.b  #0x10, (SCM_CR2).l      | KBDRST* high
        move.b  #0x00, (SCM_CR2).l      | KBDRST* falls: keyboard reset
        move.b  #0x05, (UART_COMMAND).l | receiver and transmitter enabled
        lea     (KEYS).l, %a1
        moveq   #COUNT-1, %d7
poll:   KBDKEY  (%a1)+
        dbra    %d7, poll
        move.l  #0x600DC0DE, (DONE).l
        stop    #0x2700
