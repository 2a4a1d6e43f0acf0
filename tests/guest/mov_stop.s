| STOP ended by an interrupt: the host raises a level-3 request while the
| processor waits; the handler runs and execution continues after the STOP.
| Then a STOP with the interrupt masked: the request still ends the wait, but
| no exception is taken.
        .include "mov_layout.inc"

start:
        stop    #0x2200                 | mask 2: the host raises level 3
stop1_next:
        move.w  (LASTVEC).l, (RESULTS).l
        move.w  (EXCCNT).l, (RESULTS+2).l
        move.l  (LASTPC).l, (RESULTS+4).l
        move.w  %sr, (RESULTS+8).l
        clr.w   (EXCCNT).l
        stop    #0x2700                 | mask 7: the same request is masked
        move.w  (EXCCNT).l, (RESULTS+10).l
        move.w  %sr, (RESULTS+12).l
        CHECKSDONE
        stop    #0x2700
