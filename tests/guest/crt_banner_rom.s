| A boot ROM for the CRT console's end-to-end test: serial card 0, channel B
| (cable port 1) is set up, a coloured banner is sent with ANSI sequences, then
| every byte received is sent back (CR followed by LF). It runs from the ROM
| itself and needs no RAM and no stack.
        .include "serial.inc"

        .text
        .long   0x00010000              | initial supervisor stack pointer
        .long   start                   | initial program counter
start:  SERIALON CTRLB, DATAB

        lea     (banner).l, %a1
send:   move.b  (%a1)+, %d0
        beq.s   echo
txb:    btst    #2, (%a0)               | transmitter empty?
        beq.s   txb
        move.b  %d0, (%a2)
        bra.s   send

echo:   btst    #0, (%a0)               | a byte waiting?
        beq.s   echo
        move.b  (%a2), %d0
txe:    btst    #2, (%a0)
        beq.s   txe
        move.b  %d0, (%a2)
        cmpi.b  #13, %d0
        bne.s   echo
txl:    btst    #2, (%a0)
        beq.s   txl
        move.b  #10, (%a2)
        bra.s   echo

banner: .ascii  "\033[2J\033[H"
        .ascii  "\033[1;33;44m  Korva CRT console  \033[0m\r\n\r\n"
        .ascii  "\033[31mred \033[32mgreen \033[33myellow \033[34mblue "
        .ascii  "\033[35mmagenta \033[36mcyan \033[0m\033[7m inverse \033[0m "
        .ascii  "\033[4munderlined\033[0m\r\n\r\n"
        .asciz  "> "
        .even
