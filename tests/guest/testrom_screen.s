| The screen part of our test ROM. Run as the boot ROM after a power-on reset,
| it programs the system control module and the CRT controller as a monitor
| does: the control registers, the 600-line graphics layout, a font in the
| character generator, text in 25 and then 50 rows, colour bars through the
| pixel port, a block written straight into the red plane, the text cursor and
| both graphics cursors. It ends with STOP and D7 = 0x600DC0DE; any exception
| ends it with D7 = 0xBAD0 in the high word and the vector offset in the low.
| The ROM stays at address 0 throughout.

        .equ    CHARGEN,  0xF14001      | character generator: glyph byte n at CHARGEN + 2n
        .equ    DISPLAY,  0xF17000      | display RAM: one word per cell
        .equ    VGC,      0xF19F00      | vertical graphics cursor (4095 - column)
        .equ    HGC,      0xF19F02      | horizontal graphics cursor (4095 - line)
        .equ    CR0,      0xF19F05
        .equ    CR1,      0xF19F07
        .equ    CR2,      0xF19F09
        .equ    CR3,      0xF19F0B
        .equ    CR6,      0xF19F11
        .equ    GOFF,     0xF19F13
        .equ    CRTADDR,  0xF1A021      | CRT controller register select
        .equ    CRTDATA,  0xF1A023
        .equ    PIXELS,   0xE00000      | pixel port: word p = y * 800 + x
        .equ    REDPLANE, 0x050000      | red plane in the 600-line layout, 50 words a row

        .equ    WHITE,    0x47          | attributes: enable + colour (bit 0 red, 1 blue, 2 green)
        .equ    REVERSE,  0x4F
        .equ    UNDERLINE,0x57

        .text
        .long   0x00020000              | initial supervisor stack pointer
        .long   start                   | initial program counter
        .rept   62
        .long   fault                   | every other exception ends the run
        .endr

start:  bsr     scm_init
        bsr     load_font
        moveq   #4, %d0                 | R4 := 25: 25 text rows
        moveq   #25, %d1
        bsr     crt_write
        bsr     clear_text

        lea     title25, %a0
        move.w  #0, %d0
        move.w  #WHITE, %d1
        bsr     put_text
        bsr     attribute_row
        lea     title50, %a0            | beyond 25 rows: stored, shown in 50 rows
        move.w  #2 * 1280, %d0
        move.w  #REVERSE, %d1
        bsr     put_text

        moveq   #4, %d0                 | R4 := 50: 50 text rows
        moveq   #50, %d1
        bsr     crt_write
        lea     title50, %a0
        move.w  #45 * 80 + 30, %d0
        move.w  #UNDERLINE, %d1
        bsr     put_text

        moveq   #10, %d0                | R10 := 0: cursor shown
        moveq   #0, %d1
        bsr     crt_write
        move.w  #13, %d0                | cursor after the title
        bsr     set_cursor

        bsr     colour_bars
        bsr     red_block
        move.w  #4095 - 450, HGC        | horizontal cursor on line 450
        move.w  #4095 - 700, VGC        | vertical cursor on column 700

        move.l  #0x600DC0DE, %d7
        stop    #0x2700

fault:  move.l  #0xBAD00000, %d7
        move.w  6(%sp), %d7             | format and vector offset
        stop    #0x2700

| Control registers: keyboard link reset and released, every interrupt masked,
| text on all three planes, graphics on all planes in 600 lines, outline cursor.
scm_init:
        move.b  #0x00, CR2              | KBDRST* low
        move.b  #0x10, CR2              | released
        move.b  #0x00, CR3
        move.b  #0x00, CR6
        move.b  #0x00, CR0
        move.b  #0x5E, CR1              | cursor shape 2, HIRES, GRE3-GRE1
        move.b  #0x32, GOFF             | with HIRES: 600 lines
        rts

| The glyphs of font_table (code word, 16 row bytes each) into the character
| generator.
load_font:
        lea     font_table, %a0
        lea     font_end, %a2
1:      move.w  (%a0)+, %d0             | code in the high byte
        lsr.w   #8, %d0
        lsl.w   #5, %d0                 | 16 bytes a glyph, every other address
        lea     CHARGEN, %a1
        add.w   %d0, %a1
        moveq   #15, %d1
2:      move.b  (%a0)+, (%a1)
        addq.l  #2, %a1
        dbra    %d1, 2b
        cmp.l   %a2, %a0
        blo.s   1b
        rts

| CRT controller register d0 := d1.
crt_write:
        move.b  %d0, CRTADDR
        move.b  %d1, CRTDATA
        rts

| Text cursor to cell d0 (R14 then R15).
set_cursor:
        move.w  %d0, %d2
        moveq   #14, %d0
        move.w  %d2, %d1
        lsr.w   #8, %d1
        bsr     crt_write
        moveq   #15, %d0
        move.b  %d2, %d1
        bra     crt_write

| Every display cell a white-on-black space.
clear_text:
        lea     DISPLAY, %a1
        move.w  #4096 - 1, %d1
1:      move.w  #(WHITE << 8) + 0x20, (%a1)+
        dbra    %d1, 1b
        rts

| The zero-ended text at a0 from cell d0 with attribute d1.
put_text:
        lea     DISPLAY, %a1
        add.w   %d0, %a1
        add.w   %d0, %a1
        lsl.w   #8, %d1
1:      move.b  (%a0)+, %d1
        beq.s   2f
        move.w  %d1, (%a1)+
        bra.s   1b
2:      rts

| Row 1: a block in each attribute of attr_table, a space between two.
attribute_row:
        lea     DISPLAY + 2 * 80, %a1
        lea     attr_table, %a0
1:      move.b  (%a0)+, %d1
        beq.s   2f
        lsl.w   #8, %d1
        move.b  #'#', %d1
        move.w  %d1, (%a1)+
        addq.l  #2, %a1
        bra.s   1b
2:      rts

| Eight 40-pixel bars in colours 0-7 on lines 320-359 from column 80; then red
| added to their lower half through the red plane's mask alone.
colour_bars:
        move.w  #320, %d2
        moveq   #0, %d4                 | no mask yet: colour by column
1:      bsr.s   bar_line
        addq.w  #1, %d2
        cmp.w   #360, %d2
        blo.s   1b
        move.w  #340, %d2
        move.w  #0x0101, %d4            | mask red, colour red
2:      bsr.s   bar_line
        addq.w  #1, %d2
        cmp.w   #360, %d2
        blo.s   2b
        rts

| One line d2 of the bars: word d4 at each pixel, or when d4 is 0 all planes
| with the colour column / 40.
bar_line:
        move.w  %d2, %d0
        mulu.w  #800, %d0
        add.l   #80, %d0
        lea     PIXELS, %a1
        add.l   %d0, %a1
        add.l   %d0, %a1
        moveq   #0, %d3                 | column within the bars
1:      move.w  %d4, %d1
        bne.s   2f
        moveq   #0, %d1
        move.w  %d3, %d1
        divu.w  #40, %d1                | colour = column / 40
        or.w    #0x0700, %d1
2:      move.w  %d1, (%a1)+
        addq.w  #1, %d3
        cmp.w   #320, %d3
        blo.s   1b
        rts

| Lines 400-419, pixels 640-719 of the red plane: alternating 0xAAAA and 0x5555.
red_block:
        move.w  #400, %d2
        move.w  #0xAAAA, %d1
1:      move.w  %d2, %d0
        mulu.w  #100, %d0               | 50 words a line
        lea     REDPLANE + 2 * 40, %a1
        add.l   %d0, %a1
        moveq   #4, %d3
2:      move.w  %d1, (%a1)+
        dbra    %d3, 2b
        not.w   %d1
        addq.w  #1, %d2
        cmp.w   #420, %d2
        blo.s   1b
        rts

title25:.asciz  "KORVA TEST-25"
title50:.asciz  "KORVA 50"
attr_table:
        .byte   0x41, 0x42, 0x43, 0x44, 0x45, 0x46, WHITE, REVERSE, 0x49, UNDERLINE, 0x08, 0
        .even

| Glyphs: code byte and a pad byte, then rows 0-15 (rows 12-15 are never shown).
font_table:
        .byte   0x20, 0         | ' '
        .byte   0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00
        .byte   0x23, 0         | '#'
        .byte   0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00
        .byte   0x2D, 0         | '-'
        .byte   0x00, 0x00, 0x00, 0x00, 0xFE, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00
        .byte   0x30, 0         | '0'
        .byte   0x00, 0x7C, 0xC6, 0xCE, 0xD6, 0xE6, 0xC6, 0xC6, 0x7C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00
        .byte   0x32, 0         | '2'
        .byte   0x00, 0x7C, 0xC6, 0x06, 0x0C, 0x30, 0x60, 0xC0, 0xFE, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00
        .byte   0x35, 0         | '5'
        .byte   0x00, 0xFE, 0xC0, 0xFC, 0x06, 0x06, 0x06, 0xC6, 0x7C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00
        .byte   0x41, 0         | 'A'
        .byte   0x00, 0x38, 0x6C, 0xC6, 0xC6, 0xFE, 0xC6, 0xC6, 0xC6, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00
        .byte   0x45, 0         | 'E'
        .byte   0x00, 0xFE, 0xC0, 0xC0, 0xFC, 0xC0, 0xC0, 0xC0, 0xFE, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00
        .byte   0x4B, 0         | 'K'
        .byte   0x00, 0xC6, 0xCC, 0xD8, 0xF0, 0xF0, 0xD8, 0xCC, 0xC6, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00
        .byte   0x4F, 0         | 'O'
        .byte   0x00, 0x7C, 0xC6, 0xC6, 0xC6, 0xC6, 0xC6, 0xC6, 0x7C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00
        .byte   0x52, 0         | 'R'
        .byte   0x00, 0xFC, 0xC6, 0xC6, 0xFC, 0xD8, 0xCC, 0xC6, 0xC6, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00
        .byte   0x53, 0         | 'S'
        .byte   0x00, 0x7C, 0xC6, 0xC0, 0x7C, 0x03, 0x03, 0xC6, 0x7C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00
        .byte   0x54, 0         | 'T'
        .byte   0x00, 0xFF, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x18, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00
        .byte   0x56, 0         | 'V'
        .byte   0x00, 0xC6, 0xC6, 0xC6, 0xC6, 0xC6, 0x6C, 0x38, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00
font_end:
