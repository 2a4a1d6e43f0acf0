| The smallest guest program: power-on vectors, then a store and STOP.
        .text
        .long   0x00020000          | initial supervisor stack pointer
        .long   start               | initial program counter
start:  move.l  #0x12345678,%d0
        stop    #0x2700
