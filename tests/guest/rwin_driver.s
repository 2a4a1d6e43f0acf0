| A driver for the winchester and floppy controller. The test sets the unit at
| 0x0F00 (LUN << 5), the control byte at 0x0F01, the class-6 bytes 2 and 3 at
| 0x0F02-3 and the LSN to write at 0x0F05. Sense bytes go to 0x2000 + 0x10 per
| step; data to 0x10000 (polled read), 0x12000 (read back) and 0x13000 (read
| by interrupt); 0x0F10 counts the interrupts.
        .equ    R0, 0xF1C0D1
        .equ    R1, 0xF1C0D3
        .equ    R2, 0xF1C0D5
        .equ    DATA, 0xF1C0D9
        .equ    UNIT, 0x0F00
        .text
        .long   0x00020000
        .long   start
        .org    0x400                   | past the vector table
start:  lea     0x60, %a0               | every interrupt vector to the handler
        move.w  #(256-24-1), %d0
vec:    move.l  #irq, (%a0)+
        dbra    %d0, vec
        move.b  #0, R2                  | controller reset
| Class 6: set the unit's parameters.
        move.b  #0xC0, R0
        move.b  UNIT, R0
        move.b  UNIT+2, R0
        move.b  UNIT+3, R0
        clr.b   R0
        clr.b   R0
        bsr     wait
        lea     0x2000, %a1
        bsr     sense
| Read LSN 0 by polling.
        clr.l   %d1
        bsr     readcmd
        lea     0x10000, %a2
        bsr     take
        bsr     wait
        lea     0x2010, %a1
        bsr     sense
| Write a pattern to the LSN at 0x0F05, then read it back.
        move.b  #0x0A, R0
        move.b  UNIT, R0
        clr.b   R0
        move.b  UNIT+5, R0
        move.b  #1, R0
        move.b  UNIT+1, R0
        move.w  #255, %d0
pat:    move.b  %d0, DATA
        dbra    %d0, pat
        bsr     wait
        lea     0x2020, %a1
        bsr     sense
        clr.l   %d1
        move.b  UNIT+5, %d1
        bsr     readcmd
        lea     0x12000, %a2
        bsr     take
        bsr     wait
        lea     0x2030, %a1
        bsr     sense
| Read LSN 0 again with the data and command interrupts.
        move.b  #1, R1                  | data-interrupt enable
        andi.w  #0xF8FF, %sr            | accept every level
        move.b  #0x08, R0
        move.b  UNIT, R0
        clr.b   R0
        clr.b   R0
        move.b  #1, R0
        move.b  UNIT+1, %d0
        ori.b   #0x02, %d0              | CIE
        move.b  %d0, R0
idle:   cmpi.w  #2, 0x0F10              | one data and one command interrupt
        bcc.s   done
        stop    #0x2000
        bra.s   idle
done:   stop    #0x2700

| Interrupt handler: data request -> take the sector; command done -> sense.
irq:    movem.l %d0/%a1-%a2, -(%sp)
        addq.w  #1, 0x0F10
        btst    #4, R1
        beq.s   notdata
        lea     0x13000, %a2
        bsr     take
notdata: btst   #6, R1
        beq.s   out
        lea     0x2040, %a1
        bsr     sense
out:    movem.l (%sp)+, %d0/%a1-%a2
        rte

| Read one sector at the LSN in d1.
readcmd: move.b #0x08, R0
        move.b  UNIT, R0
        clr.b   R0
        move.b  %d1, R0
        move.b  #1, R0
        move.b  UNIT+1, R0
        rts
| 256 data bytes to (a2).
take:   move.w  #255, %d0
tk:     move.b  DATA, (%a2)+
        dbra    %d0, tk
        rts
| Wait until the controller is no longer busy.
wait:   btst    #7, R1
        bne.s   wait
        rts
| Ten sense bytes to (a1).
sense:  move.w  #9, %d0
sn:     move.b  R0, (%a1)+
        dbra    %d0, sn
        rts
