| The real-time clock seen from guest software: the time is written with SET
| held, the flags cleared, SET released; after the next update (the UF flag in
| register C) the program reads register A and then the time registers. Months
| 13, 0x99 and 0xFF step to a defined date. The host test makes F1A080-F1A0FF
| the clock, calls its once-a-second update while the program runs and reads
| its self-check record.
        .include "selfcheck.inc"
        .equ    CLOCK,    0xF1A081      | register n at CLOCK + 2n
        .equ    SSP_TOP,  0x8000

| Registers as offsets from A0.
        .equ    SEC, 0
        .equ    MIN, 4
        .equ    HOUR, 8
        .equ    DOW, 12
        .equ    DAY, 14
        .equ    MONTH, 16
        .equ    YEAR, 18
        .equ    REGA, 20
        .equ    REGB, 22
        .equ    REGC, 24
        .equ    REGD, 26

| Write the time in register-B mode `mode` (DM, 24/12) and let the clock run.
        .macro  SETTIME mode, s, m, h, w, d, mo, y
        move.b  #(0x80+\mode), REGB(%a0)
        move.b  #\s, SEC(%a0)
        move.b  #\m, MIN(%a0)
        move.b  #\h, HOUR(%a0)
        move.b  #\w, DOW(%a0)
        move.b  #\d, DAY(%a0)
        move.b  #\mo, MONTH(%a0)
        move.b  #\y, YEAR(%a0)
        move.b  REGC(%a0), %d0          | no update runs while SET is held
        move.b  #\mode, REGB(%a0)
        .endm

| Wait for the update-ended flag (at most 100000 polls), then latch through A.
        .macro  WAITUF
        move.l  #100000, %d1
.Lw\@:  move.b  REGC(%a0), %d0
        btst    #4, %d0
        bne.s   .Ld\@
        subq.l  #1, %d1
        bne.s   .Lw\@
.Ld\@:  move.b  REGA(%a0), %d0
        .endm

        .macro  EXPECT reg, want
        moveq   #0, %d2
        move.b  \reg(%a0), %d2
        CHKW    \want, %d2
        .endm

        .macro  EXPECTTIME s, m, h, w, d, mo, y
        EXPECT  SEC, \s
        EXPECT  MIN, \m
        EXPECT  HOUR, \h
        EXPECT  DOW, \w
        EXPECT  DAY, \d
        EXPECT  MONTH, \mo
        EXPECT  YEAR, \y
        .endm

        .text
        .long   SSP_TOP
        .long   start

        .org    0x1000
start:  lea     (CLOCK).l, %a0
        EXPECT  REGD, 0x80
        moveq   #0, %d2
        move.b  REGA(%a0), %d2
        andi.w  #0x80, %d2
        CHKW    0, %d2                  | UIP reads 0

| Binary month 13: the day steps to 1, the month wraps to 1 and the year on.
        SETTIME 0x06, 59, 59, 23, 1, 31, 13, 30
        WAITUF
        EXPECTTIME 0, 0, 0, 2, 1, 1, 31

| BCD month 0x99 likewise.
        SETTIME 0x02, 0x59, 0x59, 0x23, 1, 0x31, 0x99, 0x30
        WAITUF
        EXPECTTIME 0, 0, 0, 2, 0x01, 0x01, 0x31

| BCD month 0xFF is no BCD value: the day steps to 1, the month stays.
        SETTIME 0x02, 0x59, 0x59, 0x23, 1, 0x31, 0xFF, 0x30
        WAITUF
        EXPECTTIME 0, 0, 0, 2, 0x01, 0xFF, 0x30

        CHECKSDONE
        stop    #0x2700
