| Leaves a VersaDOS system parameter area at 0x600 as the guest system would,
| written through the bus: byte k of the area holds k, and the long at 0x608
| holds the area's own address. Then stops.
start:
        lea     0x600, %a0
        moveq   #0, %d0
fill:   move.b  %d0, (%a0)+
        addq.b  #1, %d0
        cmp.b   #152, %d0
        bne.s   fill
        move.l  #0x600, (0x608).l
        stop    #0x2700
