| An operating-system-like guest load for the emulated machine, with the MMU
| translating: a user program in its own address space (code, two data segments
| and a stack, each mapped elsewhere in RAM) copies a 4 KB block, runs a register
| ALU loop that also pushes and pops, and makes a system call (TRAP #0) each
| outer iteration; the supervisor runs on the identity mapping.
| Built as a 64 KB boot ROM image (S-records) that runs from address 0 after a
| power-on reset. MODE is 4 (the benchmark's number for it); ITERS is the number
| of outer iterations. At the end the user program calls TRAP #1, which writes 1
| to the long at 0xFF0000 and executes STOP #0x2700; any other exception writes 2
| there and stops.
        .ifndef ITERS
        .equ    ITERS, 1000
        .endif
        .equ    MMU, 0xF1A800
        .text
        .org    0
        .long   0x0005FFF0              | initial SSP: top of base RAM
        .long   start                   | initial PC
        .rept   30
        .long   trap_any
        .endr
        .long   syscall                 | TRAP #0
        .long   exit                    | TRAP #1
        .rept   30
        .long   trap_any
        .endr
        .org    0x400
mode:   .long   4
iters:  .long   ITERS

| One segment descriptor: logical page, page mask, physical page, address space.
        .macro  segment dp, lba, lam, pba, asn
        move.w  #\lba,MMU+0x20
        move.w  #\lam,MMU+0x22
        move.w  #\pba,MMU+0x24
        move.b  #\asn,MMU+0x26
        move.b  #1,MMU+0x27             | enabled
        move.b  #0xFF,MMU+0x28          | the whole address space number compared
        move.b  #\dp,MMU+0x29
        tst.b   MMU+0x3F                | load the descriptor
        bne     trap_any
        .endm

        .org    0x1000
start:  lea     ucode,%a0               | the user program to physical 0x30000
        lea     0x30000,%a1
        move.w  #(ucode_end-ucode)/2-1,%d0
copyu:  move.w  (%a0)+,(%a1)+
        dbra    %d0,copyu
        move.b  #1,MMU+0x02             | user data (function code 1): space 1
        move.b  #1,MMU+0x04             | user program (function code 2): space 1
        segment 1, 0x0000, 0xFFF0, 0x0300, 1    | code: 4 KB at 0 -> 0x30000
        segment 2, 0x1000, 0xFFF0, 0x0400, 1    | source: 4 KB at 0x100000 -> 0x40000
        segment 3, 0x2000, 0xFFF0, 0x0410, 1    | destination: 4 KB at 0x200000 -> 0x41000
        segment 4, 0x3000, 0xFFFF, 0x0420, 1    | stack: 256 bytes at 0x300000 -> 0x42000
        lea     0x300100,%a0
        move.l  %a0,%usp
        clr.w   -(%sp)                  | format 0
        clr.l   -(%sp)                  | user PC 0
        move.w  #0x0700,-(%sp)          | user mode, interrupts masked
        rte

| The system call: count it in supervisor memory.
syscall:
        addq.l  #1,0x50000
        rte
exit:   move.l  #1,0xFF0000
        stop    #0x2700
trap_any:
        move.l  #2,0xFF0000
        stop    #0x2700

| The user program, position independent, run at logical address 0.
ucode:  move.l  uiters(%pc),%d7          | (an immediate would shrink to MOVEQ below 128)
uouter: lea     0x100000,%a0
        lea     0x200000,%a1
        move.w  #1023,%d0
ucopy:  move.l  (%a0)+,(%a1)+
        dbra    %d0,ucopy
        move.w  #255,%d0
        moveq   #0,%d1
        move.l  #0x12345678,%d2
ualu:   add.l   %d0,%d1
        eor.l   %d1,%d2
        lsl.l   #1,%d2
        addx.l  %d1,%d2
        move.l  %d2,%d3
        swap    %d3
        sub.w   %d3,%d1
        move.l  %d1,-(%sp)
        move.l  (%sp)+,%d4
        dbra    %d0,ualu
        trap    #0
        subq.l  #1,%d7
        bne.s   uouter
        trap    #1
uiters: .long   ITERS
ucode_end:
        .org    0xFFFE
        .word   0xFFFF
