| Restartability corpus (MC68010): one instruction per case, each followed by
| TRAP #15. The test loads this image, sets the registers and the data area
| 0x6000-0x60FF itself, starts at a case and runs until the STOP of the
| exception handler. Bus and address errors return with a bare RTE; every other
| exception ends in the same STOP, so exception stacking is covered as well.
        .text
        .long   0x00007F00              | reset: supervisor stack
        .long   stop_handler            | reset: program counter
        .long   berr_handler            | 0x08 bus error
        .long   aerr_handler            | 0x0C address error
        .rept   60
        .long   stop_handler            | every other vector
        .endr

        .org    0x400
case_table:
        .long   c_move_w_ind, c_move_l_postinc, c_move_b_predec, c_move_w_disp
        .long   c_move_l_index, c_move_w_absw, c_move_l_absl, c_move_w_pcrel
        .long   c_move_w_pcindex, c_move_l_imm, c_add_w_to_mem, c_add_l_from_mem
        .long   c_addi_w, c_addq_l, c_addx_l, c_sub_b_index
        .long   c_movem_l_to_mem, c_movem_w_to_regs, c_movem_l_predec, c_movep_w_to_mem
        .long   c_movep_l_from_mem, c_cmp_w, c_cmpm_b, c_pea
        .long   c_tas, c_neg_l, c_clr_w, c_lsl_mem
        .long   c_bset, c_chk_w, c_divu_zero, c_mulu_w
        .long   c_link, c_illegal, c_to_sr, c_line_a
        .long   c_line_f, c_jsr, c_move_l_mem_mem, c_eori_b
        .long   0

        .org    0x1000
berr_handler:
        rte
aerr_handler:
        rte
stop_handler:
        stop    #0x2700
        bra.s   stop_handler

c_move_w_ind:       move.w  (%a0),%d1
                    trap    #15
c_move_l_postinc:   move.l  (%a0)+,%d2
                    trap    #15
c_move_b_predec:    move.b  -(%a1),%d3
                    trap    #15
c_move_w_disp:      move.w  4(%a0),6(%a1)
                    trap    #15
c_move_l_index:     move.l  2(%a0,%d0.w),(%a1)
                    trap    #15
c_move_w_absw:      move.w  0x6004.w,%d4
                    trap    #15
c_move_l_absl:      move.l  0x00006008.l,0x0000600C.l
                    trap    #15
c_move_w_pcrel:     move.w  pcdata(%pc),%d5
                    trap    #15
c_move_w_pcindex:   move.w  pcnear(%pc,%d0.w),%d6
                    trap    #15
pcnear:             .word   0xAAAA, 0xBBBB, 0xCCCC
c_move_l_imm:       move.l  #0x12345678,(%a1)+
                    trap    #15
c_add_w_to_mem:     add.w   %d1,(%a0)
                    trap    #15
c_add_l_from_mem:   add.l   (%a0),%d2
                    trap    #15
c_addi_w:           addi.w  #0x1234,2(%a0)
                    trap    #15
c_addq_l:           addq.l  #3,(%a1)
                    trap    #15
c_addx_l:           addx.l  -(%a0),-(%a1)
                    trap    #15
c_sub_b_index:      sub.b   -3(%a1,%a0.l),%d7
                    trap    #15
c_movem_l_to_mem:   movem.l %d0-%d3/%a2,(%a1)
                    trap    #15
c_movem_w_to_regs:  movem.w (%a0)+,%d4-%d6
                    trap    #15
c_movem_l_predec:   movem.l %d1-%d4,-(%a1)
                    trap    #15
c_movep_w_to_mem:   movep.w %d1,1(%a0)
                    trap    #15
c_movep_l_from_mem: movep.l 0(%a0),%d2
                    trap    #15
c_cmp_w:            cmp.w   (%a0),%d1
                    trap    #15
c_cmpm_b:           cmpm.b  (%a0)+,(%a1)+
                    trap    #15
c_pea:              pea     4(%a0)
                    trap    #15
c_tas:              tas     (%a0)
                    trap    #15
c_neg_l:            neg.l   (%a0)
                    trap    #15
c_clr_w:            clr.w   2(%a1)
                    trap    #15
c_lsl_mem:          lsl.w   (%a0)
                    trap    #15
c_bset:             bset    #3,(%a0)
                    trap    #15
c_chk_w:            chk.w   (%a0),%d1
                    trap    #15
c_divu_zero:        divu.w  (%a2),%d3
                    trap    #15
c_mulu_w:           mulu.w  2(%a0),%d4
                    trap    #15
c_link:             link    %a3,#-8
                    trap    #15
c_illegal:          illegal
                    trap    #15
c_to_sr:            move.w  #0x2700,%sr
                    trap    #15
c_line_a:           .word   0xA123
                    trap    #15
c_line_f:           .word   0xF123
                    trap    #15
c_jsr:              jsr     jsr_target
jsr_target:         trap    #15
c_move_l_mem_mem:   move.l  (%a0)+,(%a1)+
                    trap    #15
c_eori_b:           eori.b  #0x5A,3(%a0)
                    trap    #15

        .even
pcdata: .word   0x1111, 0x2222, 0x3333, 0x4444, 0x5555, 0x6666
