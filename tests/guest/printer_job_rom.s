| A boot ROM for the printer window's end-to-end test: it prints one job on
| the printer of port 8 through the parallel board's first adapter in
| handshake mode (every read of port A strobes the byte in it; the printer's
| acknowledge sets IRQA1), then stops. The job: begin job, a word in the job
| font, bold green text, a superscript, end job, a new line.
        .include "pia.inc"

        .text
        .long   0x00010000              | initial supervisor stack pointer
        .long   start                   | initial program counter
start:  PIAOUT  0x24                    | handshake, no interrupt
        lea     job(%pc), %a1
        move.w  #jobend-job-1, %d3
next:   move.b  (%a1)+, (P1ORA).l
        move.b  (P1ORA).l, %d1          | the read strobes the byte
        move.l  #100000, %d2
1:      btst    #7, (P1CRA).l           | acknowledged?
        bne.s   2f
        subq.l  #1, %d2
        bne.s   1b
2:      dbra    %d3, next
        stop    #0x2700

job:    .byte   27, 25                  | begin job
        .ascii  "Job "
        .byte   27, '2', 27, 2          | green, bold
        .ascii  "GREEN GREEN GREEN"
        .byte   27, 3, 27, '0', ' '     | plain, black
        .ascii  "x"
        .byte   27, 14                  | superscript on
        .ascii  "2"
        .byte   27, 15, 27, 28, 13      | superscript off, end job, newline
jobend:
