| Keyboard burst: enters poll mode with a poll on an empty keyboard, then takes
| COUNT keys by polling (poll command, then the status register until a byte
| has arrived) and stores them in order at KEYS. The host types every key in
| one go, at the program's first status read.
        .equ    UART_DATA, 0xF1A031
        .equ    UART_STATUS, 0xF1A033
        .equ    UART_COMMAND, 0xF1A037
        .equ    SCM_CR2, 0xF19F09
        .equ    KBD_POLL, 0xA0
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
poll:   btst    #0, (UART_STATUS).l     | transmitter ready?
        beq.s   poll
        move.b  #KBD_POLL, (UART_DATA).l
wait:   btst    #1, (UART_STATUS).l     | byte received?
        beq.s   wait
        move.b  (UART_DATA).l, (%a1)+
        dbra    %d7, poll
        move.l  #0x600DC0DE, (DONE).l
        stop    #0x2700
