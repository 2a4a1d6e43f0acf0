| Boot ROM for the screen window's benchmark: it programs the system control
| module for text in 25 rows, fills the character generator with a pattern and
| then rewrites the whole text screen ITERS times, every cell with a different
| character on every pass, so that every pass redraws the whole screen. It ends
| with STOP and D7 = 0x600DC0DE; any exception ends it with D7 = 0xBAD0 in the
| high word and the vector offset in the low.
        .ifndef ITERS
        .equ    ITERS, 100
        .endif
        .equ    CHARGEN,  0xF14001      | character generator: glyph byte n at CHARGEN + 2n
        .equ    DISPLAY,  0xF17000      | display RAM: one word per cell
        .equ    CR0,      0xF19F05
        .equ    CR1,      0xF19F07
        .equ    CR2,      0xF19F09
        .equ    CR3,      0xF19F0B
        .equ    CR6,      0xF19F11
        .equ    GOFF,     0xF19F13
        .equ    CRTADDR,  0xF1A021
        .equ    CRTDATA,  0xF1A023
        .equ    WHITE,    0x47

        .text
        .long   0x00020000
        .long   start
        .rept   62
        .long   fault
        .endr

start:  move.b  #0x00, CR2              | keyboard link reset and released
        move.b  #0x10, CR2
        move.b  #0x00, CR3
        move.b  #0x00, CR6
        move.b  #0x00, CR0
        move.b  #0x5E, CR1
        move.b  #0x32, GOFF
        move.b  #4, CRTADDR             | R4 := 25: 25 text rows
        move.b  #25, CRTDATA

        lea     CHARGEN, %a1            | 128 glyphs of 16 bytes, a pattern
        move.w  #128 * 16 - 1, %d1
        moveq   #0x5B, %d0
1:      move.b  %d0, (%a1)
        addq.l  #2, %a1
        add.b   #37, %d0
        dbra    %d1, 1b

        move.w  #ITERS - 1, %d6
        moveq   #0, %d5                 | pass number
pass:   lea     DISPLAY, %a1
        move.w  #2000 - 1, %d1
        move.w  %d5, %d2                | character = pass + cell
1:      move.w  %d2, %d3
        and.w   #0x7F, %d3
        or.w    #WHITE << 8, %d3
        move.w  %d3, (%a1)+
        addq.w  #1, %d2
        dbra    %d1, 1b
        addq.w  #1, %d5
        dbra    %d6, pass

        move.l  #0x600DC0DE, %d7
        stop    #0x2700

fault:  move.l  #0xBAD00000, %d7
        move.w  6(%sp), %d7
        stop    #0x2700
