| A boot ROM for the TTY window's end-to-end test: it moves the ROM out of low
| memory, shows 42 on the front panel, sets up serial card 0 channel A (cable
| port 0), sends a greeting line, and then echoes every byte that arrives,
| showing each on the front panel as two hexadecimal digits.
        .include "serial.inc"
        .include "rom.inc"
        .equ    CR3, 0xF19F0B
        .equ    CR6, 0xF19F11
        .include "panel.inc"

        .text
        .long   0x00010000              | initial supervisor stack pointer
        .long   start                   | initial program counter
start:  ROMTORAM 512                    | more than the whole program
        move.w  #0x001B,PANEL           | left digit 4 (inverted nibble, bits 5-4 = 01)
        move.w  #0x002D,PANEL           | right digit 2 (bits 5-4 = 10)
        move.b  #0x00,CR3               | every interrupt masked
        move.b  #0x00,CR6
        SERIALON CTRLA, DATAA
        lea     greeting(%pc),%a1
greet:  move.b  (%a1)+,%d0
        beq.s   rx
        bsr.s   send
        bra.s   greet
rx:     btst    #0,(%a0)                | a byte waiting?
        beq.s   rx
        move.b  (%a2),%d0
        PANELHEX
        bsr.s   send
        bra.s   rx
send:   btst    #2,(%a0)                | transmitter empty?
        beq.s   send
        move.b  %d0,(%a2)
        rts
greeting:
        .ascii  "Korva TTY ready\r\n"
        .byte   0
