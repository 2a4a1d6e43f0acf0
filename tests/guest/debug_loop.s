| A counting loop for the debugger's run-control tests: D0 counts the passes.
| A reset starts it at 0x10000 with the stack at 0x8000.
        .long   0x8000                  | initial supervisor stack pointer
        .long   0x10000                 | initial program counter
        .org    0x10000
start:
        moveq   #0, %d0                 | 00010000
loop:
        addq.l  #1, %d0                 | 00010002
        bra.s   loop                    | 00010004
