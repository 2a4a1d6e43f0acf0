| A boot ROM for the program's end-to-end test: it moves the ROM out of low
| memory, shows 42 on the front panel and then counts in a loop forever.
|
| While the ROM overlays address 0, the RAM that returns there afterwards is
| reached at F00000; the ROM copies itself there first, so the instructions
| after the unswap are the same in RAM as they were in ROM.
        .text
        .long   0x00010000          | initial supervisor stack pointer
        .long   start               | initial program counter
start:  suba.l  %a0,%a0
        movea.l #0xF00000,%a1
        move.w  #127,%d1            | 256 bytes: more than the whole program
copy:   move.w  (%a0)+,(%a1)+
        dbra    %d1,copy
        move.b  #1,0xF19F07         | control register 1: UNSWAP
        move.w  #0x001B,0xA04       | left digit 4 (inverted nibble, bits 5-4 = 01)
        move.w  #0x002D,0xA04       | right digit 2 (bits 5-4 = 10)
        moveq   #0,%d0
spin:   addq.l  #1,%d0
        bra.s   spin
