| A boot ROM for the program's end-to-end test: it moves the ROM out of low
| memory, shows 42 on the front panel, draws the first text row as solid white
| cells (an attribute without its enable bit shows no glyph, so no font is
| needed), and then echoes every byte the keyboard sends on the front panel as
| two hexadecimal digits.
        .include "rom.inc"
        .equ    CR0, 0xF19F05
        .equ    CR2, 0xF19F09
        .equ    CR3, 0xF19F0B
        .equ    CR6, 0xF19F11
        .equ    DISPLAY, 0xF17000
        .include "panel.inc"
        .include "keyboard.inc"

        .text
        .long   0x00010000          | initial supervisor stack pointer
        .long   start               | initial program counter
start:  ROMTORAM 512        | more than the whole program
        move.w  #0x001B,PANEL       | left digit 4 (inverted nibble, bits 5-4 = 01)
        move.w  #0x002D,PANEL       | right digit 2 (bits 5-4 = 10)
        move.b  #0x00,CR2           | keyboard link reset, then released
        move.b  #0x10,CR2
        move.b  #0x00,CR3           | every interrupt masked
        move.b  #0x00,CR6
        move.b  #0x00,CR0           | text on all planes
        lea     DISPLAY,%a1
        moveq   #79,%d1
row:    move.w  #0x0820,(%a1)+      | reverse without enable: a solid white cell
        dbra    %d1,row
        move.b  #0x05,UART_COMMAND  | receiver and transmitter enabled
poll:   KBDKEY  %d0
        PANELHEX
        bra.s   poll
