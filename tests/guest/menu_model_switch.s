| A model switch from the menu while a program runs. In user state the loop
| reads control register 0 of the system control module, whose read lets the
| host process its window events (the host asks for the MC68000 during one of
| these reads), then runs MOVE from SR, which is privileged on the MC68010 only.
| The privilege exceptions end as soon as the switch has taken effect, and every
| iteration runs whole: six iterations, each counted once.
        .include "mov_layout.inc"

        .equ    CR0, 0xF19F05

start:
        lea     USP_TOP, %a0
        move.l  %a0, %usp
        moveq   #0, %d3
        move.w  #0x0000, %sr            | user state
loop:
        move.l  #after, (RESUME).l      | a privilege exception skips the MOVE from SR
        move.b  (CR0).l, %d0
        move.w  %sr, %d1
after:
        clr.l   (RESUME).l
        addq.l  #1, %d3
        cmpi.l  #6, %d3
        bne.s   loop
        move.w  (EXCCNT).l, (RESULTS).l
        move.w  #1, (TOSUPER).l         | the trap returns in supervisor state
        move.l  #done, (RESUME).l
        trap    #0
done:
        CHKW    2, (RESULTS).l          | privilege exceptions: iterations 1 and 2 only
        CHKL    6, %d3
        CHECKSDONE
        stop    #0x2700
