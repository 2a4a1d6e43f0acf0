| A boot ROM that echoes every byte received on serial card 0, channel A
| (cable port 0), by polling, for ever: the end-to-end tests put a TCP console
| on the port and talk to the guest through it.
|
| While the ROM overlays address 0, the RAM that returns there afterwards is
| reached at F00000; the ROM copies itself there first, so the instructions
| after the unswap are the same in RAM as they were in ROM.
        .include "serial.inc"
        .equ    CR1, 0xF19F07

        .text
        .long   0x00010000              | initial supervisor stack pointer
        .long   start                   | initial program counter
start:  suba.l  %a0,%a0
        movea.l #0xF00000,%a1
        move.w  #127,%d1                | 256 bytes: more than the whole program
copy:   move.w  (%a0)+,(%a1)+
        dbra    %d1,copy
        move.b  #1,CR1                  | UNSWAP
        SERIALON CTRLA, DATAA
rx:     btst    #0, (%a0)               | a byte waiting?
        beq.s   rx
        move.b  (%a2), %d0
tx:     btst    #2, (%a0)               | transmitter empty?
        beq.s   tx
        move.b  %d0, (%a2)
        bra.s   rx
