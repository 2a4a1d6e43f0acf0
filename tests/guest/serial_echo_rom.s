| A boot ROM that echoes every byte received on serial card 0, channel A
| (cable port 0), by polling, for ever: the end-to-end tests put a TCP console
| on the port and talk to the guest through it.
        .include "serial.inc"
        .include "rom.inc"

        .text
        .long   0x00010000              | initial supervisor stack pointer
        .long   start                   | initial program counter
start:  ROMTORAM 256                    | more than the whole program
        SERIALON CTRLA, DATAA
rx:     btst    #0, (%a0)               | a byte waiting?
        beq.s   rx
        move.b  (%a2), %d0
tx:     btst    #2, (%a0)               | transmitter empty?
        beq.s   tx
        move.b  %d0, (%a2)
        bra.s   rx
