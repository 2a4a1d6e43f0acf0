| An initial program loader as a volume boot loads it at 0x2000: its first
| longs are the stack pointer and the start address. It fills display cells
| 160-639 (text rows 2-7) with solid white cells (reverse video without the
| enable bit: no glyph, so no font is needed), shows 69 on the front panel and
| stops.
        .equ    DISPLAY, 0xF17000
        .equ    PANEL,   0xA04
        .text
        .long   0x00010000
        .long   0x00002008
start:  lea     DISPLAY+320, %a1
        move.w  #479, %d1
fill:   move.w  #0x0820, (%a1)+
        dbra    %d1, fill
        move.w  #0x0019, PANEL          | left digit 6 (inverted nibble, bits 5-4 = 01)
        move.w  #0x0026, PANEL          | right digit 9 (bits 5-4 = 10)
        stop    #0x2700
