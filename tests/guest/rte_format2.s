| Returns from format-2 frames: with the host's format-2 option set, a divide
| by zero, CHK, TRAPV and a trace each stack SR, PC, the format word 0x2000 OR
| the vector offset and the instruction's address; the handler notes the
| format word and returns with RTE, and the program goes on after each.
        .include "mov_layout.inc"

        .equ    FORMATS, RESULTS        | the four format words, in order

start:
        lea     fmt_handler, %a0
        move.l  %a0, (0x14).w           | divide by zero
        move.l  %a0, (0x18).w           | CHK
        move.l  %a0, (0x1C).w           | TRAPV
        move.l  %a0, (0x24).w           | trace
        lea     (FORMATS).l, %a4
        moveq   #0, %d1
        divu.w  %d1, %d0
        moveq   #-1, %d0
        moveq   #5, %d1
        chk.w   %d1, %d0
        move.w  #0x2702, %sr            | V set
        trapv
        move.w  #0xA700, %sr            | T set: the NOP is traced
        nop
        CHKW    4, (EXCCNT).l           | no format error among them
        CHKW    0x2014, (FORMATS).l
        CHKW    0x2018, (FORMATS+2).l
        CHKW    0x201C, (FORMATS+4).l
        CHKW    0x2024, (FORMATS+6).l
        CHECKSDONE
        stop    #0x2700

fmt_handler:
        move.w  6(%sp), (%a4)+
        andi.w  #0x7FFF, (%sp)          | return without tracing
        bra.w   exc_common
