| An initial program loader as a volume boot loads it at 0x2000: its first
| longs are the stack pointer and the start address. It writes HELLO into the
| first cells of the screen's display RAM (attribute 0x47: enabled, white),
| shows 69 on the front panel and stops.
        .equ    DISPLAY, 0xF17000
        .equ    PANEL,   0xA04
        .text
        .long   0x00010000
        .long   0x00002008
start:  lea     DISPLAY, %a1
        lea     text(%pc), %a2
        move.w  #0x4700, %d0
next:   move.b  (%a2)+, %d0
        beq.s   done
        move.w  %d0, (%a1)+
        bra.s   next
done:   move.w  #0x0019, PANEL          | left digit 6 (inverted nibble, bits 5-4 = 01)
        move.w  #0x0026, PANEL          | right digit 9 (bits 5-4 = 10)
        stop    #0x2700
text:   .asciz  "HELLO"
