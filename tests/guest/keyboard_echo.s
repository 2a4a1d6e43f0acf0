| Keyboard echo: takes keys from the keyboard UART and stores them in order at
| KEYS. First by polling: the poll command, then the status register until a
| byte has arrived (each status read lets the host deliver keys). Then by the
| receive interrupt, first while the processor loops, then while it waits in
| STOP; the handler stores the key and polls the keyboard for the next one.
        .include "keyboard.inc"
        .equ    SCM_CR2, 0xF19F09
        .equ    SCM_CR6, 0xF19F11
        .equ    KEYS, 0x3000
        .equ    DONE, 0x2FFC
        .equ    POLLED, 10              | keys taken by polling
        .equ    LOOPED, 4               | keys taken by interrupt while looping
        .equ    STOPPED, 4              | keys taken by interrupt in STOP

        .text
        .long   0x00020000              | initial supervisor stack pointer
        .long   start                   | initial program counter
        .org    0x108
        .long   rx_handler              | vector 0x42: keyboard receiver

        .org    0x400
start:  move.b  #0x10, (SCM_CR2).l      | KBDRST* high
        move.b  #0x80, (SCM_CR2).l      | KBDRST* falls: keyboard reset; receive interrupt unmasked
        move.b  #0x80, (SCM_CR6).l      | interrupts not held by the module
        move.b  #0x05, (UART_COMMAND).l | receiver and transmitter enabled
        lea     (KEYS).l, %a1
        moveq   #POLLED-1, %d7
poll:   KBDKEY  (%a1)+
        dbra    %d7, poll

        move.b  #KBD_POLL, (UART_DATA).l  | ask for the next key, then take keys by interrupt
        move.w  #0x2200, %sr
loop:   cmpa.l  #KEYS+POLLED+LOOPED, %a1
        bne.s   loop
halt:   stop    #0x2200
        cmpa.l  #KEYS+POLLED+LOOPED+STOPPED, %a1
        bne.s   halt
        move.w  #0x2700, %sr
        move.l  #0x600DC0DE, (DONE).l
        stop    #0x2700

rx_handler:
        move.b  (UART_DATA).l, (%a1)+   | reading the byte withdraws the request
1:      btst    #0, (UART_STATUS).l
        beq.s   1b
        move.b  #KBD_POLL, (UART_DATA).l
        rte
