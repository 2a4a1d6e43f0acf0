| AND, ANDI, OR, ORI, EOR, EORI, NOT, CLR, TST and Scc in every size and
| addressing mode, and ANDI, ORI, EORI to CCR and to SR.
        .include "alu_operands.inc"
        PROLOGUE

| ---- <ea>,Dn: N and Z from the sized result, V and C cleared, X kept ----
        EA_TO_REG and, b, 1, 0x0F, 0x12345678, %d0, 0x12345608, FX+FN+FZ+FV+FC, FX, dn,ind,inc,dec,disp,idx,absw,absl,pcd,pci,imm
        EA_TO_REG and, w, 2, 0x8F0F, 0x5A5AF0F0, %d0, 0x5A5A8000, FV+FC, FN, dn,ind,inc,dec,disp,idx,absw,absl,pcd,pci,imm
        EA_TO_REG and, l, 4, 0x0F0F0F0F, 0xF0F0F0F0, %d0, 0x00000000, FN, FZ, dn,ind,inc,dec,disp,idx,absw,absl,pcd,pci,imm
        EA_TO_REG or, b, 1, 0x80, 0x5A5A5A01, %d0, 0x5A5A5A81, FX+FZ+FV+FC, FX+FN, dn,ind,inc,dec,disp,idx,absw,absl,pcd,pci,imm
        EA_TO_REG or, w, 2, 0x0000, 0x5A5A0000, %d0, 0x5A5A0000, FN, FZ, dn,ind,inc,dec,disp,idx,absw,absl,pcd,pci,imm
        EA_TO_REG or, l, 4, 0x00000001, 0x7FFFFFFE, %d0, 0x7FFFFFFF, FZ+FC, 0, dn,ind,inc,dec,disp,idx,absw,absl,pcd,pci,imm

| ---- Dn,<ea> ----
        TO_EA_D1 0xA5A5A5F0, and.b, b, 1, 0x8F, 0x80, FX, FX+FN, ind,inc,dec,disp,idx,absw,absl
        TO_EA_D1 0xA5A50FF0, and.w, w, 2, 0xF00F, 0x0000, FC, FZ, ind,inc,dec,disp,idx,absw,absl
        TO_EA_D1 0xFFFF0000, and.l, l, 4, 0x12345678, 0x12340000, FV, 0, ind,inc,dec,disp,idx,absw,absl
        TO_EA_D1 0xA5A5A501, or.b, b, 1, 0x00, 0x01, FZ, 0, ind,inc,dec,disp,idx,absw,absl
        TO_EA_D1 0xA5A58000, or.w, w, 2, 0x0001, 0x8001, 0, FN, ind,inc,dec,disp,idx,absw,absl
        TO_EA_D1 0, or.l, l, 4, 0x00000000, 0x00000000, FX, FX+FZ, ind,inc,dec,disp,idx,absw,absl
        TO_EA_D1 0xA5A5A5FF, eor.b, b, 1, 0x0F, 0xF0, 0, FN, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA_D1 0xA5A51234, eor.w, w, 2, 0x1234, 0x0000, FN+FV, FZ, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA_D1 0x80000000, eor.l, l, 4, 0x00000001, 0x80000001, FC, FN, dn,ind,inc,dec,disp,idx,absw,absl

| ---- immediates ----
        TO_EA   andi.b, "#0x0F,", b, 1, 0xF5, 0x05, FN, 0, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   andi.w, "#0x8000,", w, 2, 0xFFFF, 0x8000, FX, FX+FN, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   andi.l, "#0,", l, 4, 0xFFFFFFFF, 0x00000000, FV+FC, FZ, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   ori.b, "#0x80,", b, 1, 0x00, 0x80, 0, FN, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   ori.w, "#0,", w, 2, 0x0000, 0x0000, FN, FZ, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   ori.l, "#0x00010000,", l, 4, 0x00000001, 0x00010001, FX+FC, FX, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   eori.b, "#0xFF,", b, 1, 0xFF, 0x00, 0, FZ, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   eori.w, "#0x8000,", w, 2, 0x0001, 0x8001, FZ, FN, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   eori.l, "#0xFFFFFFFF,", l, 4, 0x0F0F0F0F, 0xF0F0F0F0, FX+FV, FX+FN, dn,ind,inc,dec,disp,idx,absw,absl

| ---- NOT, CLR, TST ----
        TO_EA   not.b, "", b, 1, 0x0F, 0xF0, FZ, FN, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   not.w, "", w, 2, 0xFFFF, 0x0000, FX+FC, FX+FZ, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   not.l, "", l, 4, 0xFFFFFFFF, 0x00000000, 0, FZ, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   clr.b, "", b, 1, 0xFF, 0x00, FX+FN+FV+FC, FX+FZ, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   clr.w, "", w, 2, 0xFFFF, 0x0000, FN, FZ, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   clr.l, "", l, 4, 0xFFFFFFFF, 0x00000000, FC, FZ, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   tst.b, "", b, 1, 0x80, 0x80, FX+FZ+FV+FC, FX+FN, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   tst.w, "", w, 2, 0x0000, 0x0000, FN, FZ, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   tst.l, "", l, 4, 0x7FFFFFFF, 0x7FFFFFFF, FZ+FC, 0, dn,ind,inc,dec,disp,idx,absw,absl

| ---- Scc: a byte of ones or zeros, no flag changes ----
        TO_EA   st, "", b, 1, 0x33, 0xFF, FZ, FZ, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   sf, "", b, 1, 0x33, 0x00, FX+FN+FZ+FV+FC, FX+FN+FZ+FV+FC, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   shi, "", b, 1, 0x33, 0xFF, FN+FV, FN+FV, dn,absl
        TO_EA   sle, "", b, 1, 0x33, 0x00, FC, FC, dn,absl

| ---- to CCR: only bits 4-0 of the immediate count ----
        moveq   #0,%d0
        move.w  #FX+FN+FZ+FV+FC,%ccr
        andi.b  #0x00,%ccr
        CHECK   %d0, 0, 0
        move.w  #FN+FC,%ccr
        ori.b   #0x10,%ccr
        CHECK   %d0, 0, FX+FN+FC
        move.w  #FZ,%ccr
        ori.b   #0xE0,%ccr
        CHECK   %d0, 0, FZ
        move.w  #FX+FV,%ccr
        eori.b  #0xFF,%ccr
        CHECK   %d0, 0, FN+FZ+FC

| ---- to SR ----
        moveq   #0,%d3
        move.w  #0x2000,%sr
        eori.w  #0x0700,%sr
        move.w  %sr,%d3
        CHECK   %d3, 0x2700, 0
        ori.w   #0x001F,%sr
        move.w  %sr,%d3
        CHECK   %d3, 0x271F, FX+FN+FZ+FV+FC
        move.w  #0x271F,%sr
        andi.w  #0xFBE2,%sr
        move.w  %sr,%d3
        CHECK   %d3, 0x2302, FV
| Clearing S swaps A7 to the user stack pointer; TRAP #0 brings back supervisor state.
        movea.l #0x4000,%a0
        move.l  %a0,%usp
        movea.l %sp,%a4
        lea     1f,%a5
        move.w  #0x2710,%sr
        andi.w  #0xDFFF,%sr
        move.l  %sp,%d3
        trap    #0
1:      CHECK   %d3, 0x4000, FX
        CHECKV  %d5, 0x0710
        CHECKV  %d6, 32
| In user state ANDI to SR is a privilege violation and changes nothing.
        moveq   #0,%d6
        lea     2f,%a5
        move.w  #0x2711,%sr
        andi.w  #0xDFFF,%sr
        andi.w  #0x0000,%sr
        moveq   #0,%d6
2:      move.w  %d5,%d3
        CHECKV  %d6, 8
        CHECKV  %d3, 0x0711
        move.l  %usp,%a0
        CHECKV  %a0, 0x4000
        CHECKV  %sp, 0x00010000

        EPILOGUE
