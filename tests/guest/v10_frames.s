| MC68010 exception frames seen from guest software: vectors through a table
| moved by MOVEC to VBR, format-0 frames of TRAP, BKPT and the privilege
| violation of MOVE from SR, format-8 bus-error frames (status word, fault
| address, data-out word) ended by a software rerun, and the format error of an
| RTE with an unknown frame. The host test makes HOLE a bus-error area, runs
| the program to its STOP and reads its self-check record.
        .include "selfcheck.inc"
        .equ    REPLY,    0x0420        | data a software rerun returns for a read (word)
        .equ    RESUME,   0x0424        | where the format-error handler returns to (long)
        .equ    SAVEREGS, 0x0428        | registers of the frame copy (3 longs)
        .equ    FRAME,    0x0440        | the first 16 words of the last frame
        .equ    VTABLE,   0x2000        | the vector table VBR points at
        .equ    HOLE,     0x7000        | bus-error area 0x7000-0x70FF (made by the host)
        .equ    SSP_TOP,  0x8000
        .equ    USP_TOP,  0x6800

| Copy the first 16 words of the frame at A7 to FRAME.
        .macro  SAVEFRAME
        movem.l %d0/%a5-%a6, (SAVEREGS).w
        move.l  %sp, %a6
        lea     (FRAME).w, %a5
        moveq   #15, %d0
.Lcp\@: move.w  (%a6)+, (%a5)+
        dbra    %d0, .Lcp\@
        movem.l (SAVEREGS).w, %d0/%a5-%a6
        .endm

        .text
        .long   SSP_TOP
        .long   start
        .rept   254
        .long   wrong_table             | used only when VBR is ignored
        .endr

        .org    0x1000
wrong_table:
        addq.w  #1, (FAILCNT).w
        move.w  #0xFFFF, (FAILNO).w
        stop    #0x2700
unexpected:
        addq.w  #1, (FAILCNT).w
        move.w  #0xFFFE, (FAILNO).w
        stop    #0x2700

trap_handler:                           | TRAP #5
        SAVEFRAME
        rte
super_handler:                          | TRAP #6: return in supervisor state
        ori.w   #0x2000, (%sp)
        rte
illegal_handler:                        | BKPT: skip its word
        SAVEFRAME
        addq.l  #2, 2(%sp)
        rte
priv_handler:                           | MOVE from SR in user state: skip it, return in supervisor state
        SAVEFRAME
        addq.l  #2, 2(%sp)
        ori.w   #0x2000, (%sp)
        rte
berr_handler:                           | finish the faulted access in software
        SAVEFRAME
        btst    #0, 8(%sp)              | SSW bit 8: a read
        beq.s   1f
        move.w  (REPLY).w, 20(%sp)      | the data-in word the read returns
1:      ori.w   #0x8000, 8(%sp)         | RR: rerun done, the access is not made again
        rte
format_handler:
        SAVEFRAME
        move.l  (RESUME).w, 2(%sp)
        rte

start:
        lea     VTABLE, %a0             | every vector of the new table: unexpected
        move.w  #255, %d0
1:      move.l  #unexpected, (%a0)+
        dbra    %d0, 1b
        move.l  #berr_handler, VTABLE + 0x08
        move.l  #illegal_handler, VTABLE + 0x10
        move.l  #priv_handler, VTABLE + 0x20
        move.l  #format_handler, VTABLE + 0x38
        move.l  #trap_handler, VTABLE + 0x94
        move.l  #super_handler, VTABLE + 0x98
        move.l  #VTABLE, %d0
        movec   %d0, %vbr
        movec   %vbr, %d1
        CHKL    VTABLE, %d1

| ---- TRAP through VBR: format 0, vector offset 0x94, the next instruction ----
        move.w  #0x2704, %sr
        trap    #5
after_trap:
        CHKW    0x0094, (FRAME + 6).w
        CHKL    after_trap, (FRAME + 2).w
        CHKW    0x2704, (FRAME).w
        CHKA    SSP_TOP, %sp

| ---- BKPT: illegal instruction, the BKPT's own address ----
        move.w  #0x2700, %sr
bkpt_at:
        bkpt    #3
        CHKW    0x0010, (FRAME + 6).w
        CHKL    bkpt_at, (FRAME + 2).w

| ---- MOVE from SR in user state: privilege violation ----
        move.l  #USP_TOP, %a0
        move.l  %a0, %usp
        move.w  #0x0000, %sr
priv_at:
        move.w  %sr, %d0
        move.w  %sr, %d0                | back in supervisor state
        CHKW    0x2000, %d0
        CHKW    0x0020, (FRAME + 6).w
        CHKL    priv_at, (FRAME + 2).w
        CHKW    0x0000, (FRAME).w
        move.w  #0x2700, %sr

| ---- bus error on a read: format 8, software rerun with the data-in word ----
        move.w  #0x5A5A, (REPLY).w
        lea     HOLE + 4, %a0
        moveq   #0, %d0
        move.w  (%a0)+, %d0
        CHKL    0x5A5A, %d0
        CHKA    HOLE + 6, %a0          | stepped once
        CHKW    0x8008, (FRAME + 6).w
        CHKW    0x1105, (FRAME + 8).w  | supervisor data read
        CHKL    HOLE + 4, (FRAME + 10).w
        CHKA    SSP_TOP, %sp

| ---- bus error on a write: the data-out word; the rerun skips the write ----
        move.w  #0x1234, %d1
        move.w  %d1, -(%a0)
        CHKA    HOLE + 4, %a0
        CHKW    0x1005, (FRAME + 8).w  | supervisor data write
        CHKW    0x1234, (FRAME + 16).w
        CHKL    HOLE + 4, (FRAME + 10).w

| ---- bus error in user state: user data function code, user SR stacked ----
        move.w  #0x7777, (REPLY).w
        lea     HOLE, %a1
        move.w  #0x0000, %sr
        move.w  (%a1), %d2
        trap    #6                      | back to supervisor state
        CHKW    0x7777, %d2
        CHKW    0x1101, (FRAME + 8).w
        CHKW    0x0000, (FRAME).w
        move.w  #0x2700, %sr

| ---- RTE of a frame with an unknown format: format error at the RTE ----
        move.l  #after_fmt, (RESUME).w
        move.w  #0xA000, -(%sp)
        pea     after_fmt
        move.w  #0x2700, -(%sp)
rte_at: rte
after_fmt:
        addq.l  #8, %sp                 | the refused frame is still on the stack
        CHKW    0x0038, (FRAME + 6).w
        CHKL    rte_at, (FRAME + 2).w
        CHKA    SSP_TOP, %sp

        CHECKSDONE
        stop    #0x2700
