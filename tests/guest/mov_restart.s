| Restartability corpus of the move, MOVEM, divide and stack instructions
| (MC68010). Each case ends with TRAP #15, whose handler stops; bus and address
| errors return with a bare RTE. The host sets the registers and the data area
| 0x6000-0x61FF, starts at a case, and injects a bus error at each access.
        .text
        .long   0x00007F00              | reset: supervisor stack
        .long   stop_handler            | reset: program counter
        .long   berr_handler            | 0x08 bus error
        .long   berr_handler            | 0x0C address error
        .rept   60
        .long   stop_handler            | every other vector
        .endr

        .org    0x400
case_table:
        .long   c_movem_w_ctl, c_movem_l_ctl, c_movem_w_post, c_movem_l_post
        .long   c_movem_l_d16, c_movem_w_pc, c_movem_w_predec, c_movem_l_predec
        .long   c_movem_l_many, c_divs_w, c_divs_w_neg, c_divu_w_post
        .long   c_divu_w_ovf, c_divu_w_zero, c_divs_w_imm, c_muls_w
        .long   c_mulu_w_pre, c_rts, c_rtr, c_rtd
        .long   c_link_unlk, c_bsr, c_tas, c_moves_l_rd
        .long   c_moves_w_wr, c_move_to_ccr, c_movea_w
        .long   0

        .org    0x1000
berr_handler:
        rte
stop_handler:
        stop    #0x2700
        bra.s   stop_handler

c_movem_w_ctl:      movem.w %d1-%d3/%a1, (%a2)
                    trap    #15
c_movem_l_ctl:      movem.l %d0/%d2/%a0/%a3, 8(%a1)
                    trap    #15
c_movem_w_post:     movem.w (%a0)+, %d4-%d6/%a0
                    trap    #15
c_movem_l_post:     movem.l (%a1)+, %d0-%d3
                    trap    #15
c_movem_l_d16:      movem.l 4(%a2), %d5/%a4-%a5
                    trap    #15
c_movem_w_pc:       movem.w pcdata(%pc), %d0-%d1
                    trap    #15
c_movem_w_predec:   movem.w %a2-%a3, -(%a3)
                    trap    #15
c_movem_l_predec:   movem.l %d1/%a1-%a3, -(%a3)
                    trap    #15
c_movem_l_many:     movem.l %d0-%d7/%a0-%a2, 0x40(%a3)
                    trap    #15
c_divs_w:           divs.w  (%a0), %d7
                    trap    #15
c_divs_w_neg:       divs.w  2(%a1), %d5
                    trap    #15
c_divu_w_post:      divu.w  (%a2)+, %d1
                    trap    #15
c_divu_w_ovf:       divu.w  4(%a0), %d6
                    trap    #15
c_divu_w_zero:      divu.w  0x10(%a0), %d3
                    trap    #15
c_divs_w_imm:       divs.w  #-3, %d4
                    trap    #15
c_muls_w:           muls.w  (%a0), %d2
                    trap    #15
c_mulu_w_pre:       mulu.w  -(%a1), %d3
                    trap    #15
c_rts:              pea     rts_back(%pc)
                    rts
rts_back:           trap    #15
c_rtr:              pea     rtr_back(%pc)
                    move.w  #0x0013, -(%sp)
                    rtr
rtr_back:           trap    #15
c_rtd:              move.l  %d7, -(%sp)
                    pea     rtd_back(%pc)
                    rtd     #4
rtd_back:           trap    #15
c_link_unlk:        link    %a6, #-8
                    move.l  %d1, -4(%a6)
                    unlk    %a6
                    trap    #15
c_bsr:              bsr.w   sub_rts
                    trap    #15
c_tas:              tas     1(%a0)
                    trap    #15
c_moves_l_rd:       moves.l (%a1), %d2
                    trap    #15
c_moves_w_wr:       moves.w %d3, 6(%a2)
                    trap    #15
c_move_to_ccr:      move.w  0xC(%a0), %ccr
                    trap    #15
c_movea_w:          movea.w 0xE(%a0), %a5
                    trap    #15

sub_rts:            rts

        .even
pcdata: .word   0x8111, 0x2222
