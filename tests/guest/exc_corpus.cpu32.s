| Restartability corpus (CPU32): the operand-pair bound checks, scaled indexes,
| full-format extension words and the long multiply and divide. Same frame as
| exc_corpus.s: each case is followed by TRAP #15, bus and address errors return
| with a bare RTE and every other exception ends in the STOP handler.
        .text
        .long   0x00007F00
        .long   stop_handler
        .long   berr_handler
        .long   aerr_handler
        .rept   60
        .long   stop_handler
        .endr

        .org    0x400
case_table:
        .long   c_cmp2_w, c_cmp2_l_pc, c_chk2_b, c_chk2_w_out
        .long   c_scaled_w, c_scaled_l, c_full_pc_long, c_full_bs_word
        .long   c_mulu_l, c_divu_l, c_move_w_ind, c_movem_l
        .long   c_full_an_null, c_full_an_long, c_full_pc_word, c_full_indirect
        .long   0

        .org    0x1000
berr_handler:
        rte
aerr_handler:
        rte
stop_handler:
        stop    #0x2700
        bra.s   stop_handler

c_cmp2_w:           cmp2.w  (%a0),%d1
                    trap    #15
c_cmp2_l_pc:        cmp2.l  pcdata(%pc),%d2
                    trap    #15
c_chk2_b:           chk2.b  2(%a0),%d3
                    trap    #15
c_chk2_w_out:       chk2.w  0x6010.w,%d7
                    trap    #15
c_scaled_w:         move.w  0(%a0,%d0.w*4),%d1
                    trap    #15
c_scaled_l:         move.l  2(%a0,%d0.l*8),4(%a1,%d0.w*2)
                    trap    #15
| MOVE.W (bd.L,PC,D0.W),D1: full-format word, long base displacement.
c_full_pc_long:     .word   0x323B, 0x0130
                    .long   pcdata - (. - 2)
                    trap    #15
| MOVE.W (bd.W,ZA0,D0.W*2),D1: base suppressed, word displacement.
c_full_bs_word:     .word   0x3230, 0x03A0, 0x6008
                    trap    #15
c_mulu_l:           mulu.l  (%a0),%d1
                    trap    #15
c_divu_l:           divu.l  4(%a0),%d2
                    trap    #15
c_move_w_ind:       move.w  (%a0)+,%d1
                    trap    #15
c_movem_l:          movem.l %d0-%d2,(%a1)
                    trap    #15
| MOVE.W (A0,D0.W),D1 with a null base displacement.
c_full_an_null:     .word   0x3230, 0x0110
                    trap    #15
| MOVE.W (bd.L,A0,D0.W),D1: long base displacement from an address register.
c_full_an_long:     .word   0x3230, 0x0130
                    .long   0x00000010
                    trap    #15
| MOVE.W (bd.W,PC,D0.W),D1: word base displacement from the extension word.
c_full_pc_word:     .word   0x323B, 0x0120
                    .word   pcdata - (. - 2)
                    trap    #15
| MOVE.W ([A0,D0.W]),D1: memory indirect, not decoded: illegal instruction.
c_full_indirect:    .word   0x3230, 0x0111
                    trap    #15

        .even
pcdata: .long   0x00000010, 0x7FFFFFFF
