| Restartability corpus of the CPU32 long multiply and divide forms and of the
| 32-bit branches, with the same conventions as mov_restart.s.
        .text
        .long   0x00007F00
        .long   stop_handler
        .long   berr_handler            | 0x08 bus error
        .long   berr_handler            | 0x0C address error
        .rept   60
        .long   stop_handler
        .endr

        .org    0x400
case_table:
        .long   c_divs_l_64, c_divu_l_32, c_divul_l, c_divs_l_zero
        .long   c_muls_l_64, c_mulu_l, c_divs_l_imm, c_bsr_l
        .long   c_link_l, c_chk2_w
        .long   0

        .org    0x1000
berr_handler:
        rte
stop_handler:
        stop    #0x2700
        bra.s   stop_handler

c_divs_l_64:        divs.l  (%a0), %d3:%d5
                    trap    #15
c_divu_l_32:        divu.l  4(%a1), %d1
                    trap    #15
c_divul_l:          divul.l (%a2)+, %d2:%d7
                    trap    #15
c_divs_l_zero:      divs.l  0x10(%a0), %d4
                    trap    #15
c_muls_l_64:        muls.l  (%a0)+, %d6:%d1
                    trap    #15
c_mulu_l:           mulu.l  8(%a1), %d2
                    trap    #15
c_divs_l_imm:       divs.l  #-3, %d7
                    trap    #15
c_bsr_l:            bsr.l   sub_rts
                    trap    #15
c_link_l:           link.l  %a6, #-0x20000
                    unlk    %a6
                    trap    #15
c_chk2_w:           chk2.w  (%a1), %d1
                    trap    #15

sub_rts:            rts
