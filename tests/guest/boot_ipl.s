| An initial program loader as a volume boot loads it at 0x2000: its first
| longs are the stack pointer and the start address. It reads LSN 5 through the
| disk controller whose R0 the boot leaves in A0 (unit and control byte at
| 0x2100-1, byte count at 0x2102, patched by the test) into 0x3000, and stops.
        .text
        .long   0x00010000
        .long   0x00002008
start:  move.b  #0, 4(%a0)              | controller reset (R2)
        move.b  #0x08, (%a0)            | read
        move.b  0x2100, (%a0)           | unit
        clr.b   (%a0)
        move.b  #5, (%a0)               | LSN 5
        move.b  #1, (%a0)               | one block
        move.b  0x2101, (%a0)           | control byte
        lea     0x3000, %a1
        move.w  0x2102, %d0
        subq.w  #1, %d0
take:   move.b  8(%a0), (%a1)+          | the data register
        dbra    %d0, take
wait:   btst    #7, 2(%a0)              | until the command completes
        bne.s   wait
        move.b  (%a0), 0x3200           | sense byte 0
        stop    #0x2700
