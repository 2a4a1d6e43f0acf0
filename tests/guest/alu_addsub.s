| ADD, ADDA, ADDI, ADDQ, ADDX, SUB, SUBA, SUBI, SUBQ, SUBX, CMP, CMPA, CMPI,
| CMPM, NEG and NEGX in every size and addressing mode, with their flags.
        .include "alu_operands.inc"
        PROLOGUE

| ---- <ea>,Dn and <ea>,An ----
        EA_TO_REG add, b, 1, 0x01, 0x5A5A5A7F, %d0, 0x5A5A5A80, FX+FZ+FC, FN+FV, dn,ind,inc,dec,disp,idx,absw,absl,pcd,pci,imm
        EA_TO_REG add, w, 2, 0x8001, 0x5A5A8000, %d0, 0x5A5A0001, FZ+FN, FX+FV+FC, dn,an,ind,inc,dec,disp,idx,absw,absl,pcd,pci,imm
        EA_TO_REG add, l, 4, 0x00000001, 0x0000FFFF, %d0, 0x00010000, FX+FN+FZ+FV+FC, 0, dn,an,ind,inc,dec,disp,idx,absw,absl,pcd,pci,imm
        EA_TO_REG sub, b, 1, 0x01, 0x5A5A5A00, %d0, 0x5A5A5AFF, FZ+FV, FX+FN+FC, dn,ind,inc,dec,disp,idx,absw,absl,pcd,pci,imm
        EA_TO_REG sub, w, 2, 0x0001, 0x5A5A8000, %d0, 0x5A5A7FFF, FX+FN+FC, FV, dn,an,ind,inc,dec,disp,idx,absw,absl,pcd,pci,imm
        EA_TO_REG sub, l, 4, 0x00000001, 0x80000000, %d0, 0x7FFFFFFF, FX+FN, FV, dn,an,ind,inc,dec,disp,idx,absw,absl,pcd,pci,imm
        EA_TO_REG cmp, b, 1, 0x01, 0x5A5A5A02, %d0, 0x5A5A5A02, FX+FN+FZ+FV+FC, FX, dn,ind,inc,dec,disp,idx,absw,absl,pcd,pci,imm
        EA_TO_REG cmp, w, 2, 0x8000, 0x5A5A0001, %d0, 0x5A5A0001, 0, FN+FV+FC, dn,an,ind,inc,dec,disp,idx,absw,absl,pcd,pci,imm
        EA_TO_REG cmp, l, 4, 0x12345678, 0x12345678, %d0, 0x12345678, FN+FC, FZ, dn,an,ind,inc,dec,disp,idx,absw,absl,pcd,pci,imm
| Word sources of the address-register forms are sign-extended; no flag changes.
        EA_TO_REG adda, w, 2, 0x8000, 0x00010000, %a0, 0x00008000, FN+FC, FN+FC, dn,an,ind,inc,dec,disp,idx,absw,absl,pcd,pci,imm
        EA_TO_REG adda, l, 4, 0x80000000, 0x00010000, %a0, 0x80010000, FX+FZ, FX+FZ, dn,an,ind,inc,dec,disp,idx,absw,absl,pcd,pci,imm
        EA_TO_REG suba, w, 2, 0xFFFF, 0x00010000, %a0, 0x00010001, FV, FV, dn,an,ind,inc,dec,disp,idx,absw,absl,pcd,pci,imm
        EA_TO_REG suba, l, 4, 0x00000001, 0x00000000, %a0, 0xFFFFFFFF, 0, 0, dn,an,ind,inc,dec,disp,idx,absw,absl,pcd,pci,imm
        EA_TO_REG cmpa, w, 2, 0xFFFF, 0xFFFFFFFF, %a0, 0xFFFFFFFF, FX, FX+FZ, dn,an,ind,inc,dec,disp,idx,absw,absl,pcd,pci,imm
        EA_TO_REG cmpa, l, 4, 0x00000001, 0x80000000, %a0, 0x80000000, FX+FN, FX+FV, dn,an,ind,inc,dec,disp,idx,absw,absl,pcd,pci,imm

| ---- Dn,<ea> ----
        TO_EA_D1 0xA5A5A5FF, add.b, b, 1, 0x01, 0x00, FN, FX+FZ+FC, ind,inc,dec,disp,idx,absw,absl
        TO_EA_D1 0xA5A51234, add.w, w, 2, 0x4321, 0x5555, FX+FZ+FC, 0, ind,inc,dec,disp,idx,absw,absl
        TO_EA_D1 0x7FFFFFFF, add.l, l, 4, 0x00000001, 0x80000000, 0, FN+FV, ind,inc,dec,disp,idx,absw,absl
        TO_EA_D1 0xA5A5A501, sub.b, b, 1, 0x80, 0x7F, 0, FV, ind,inc,dec,disp,idx,absw,absl
        TO_EA_D1 0xA5A50002, sub.w, w, 2, 0x0001, 0xFFFF, 0, FX+FN+FC, ind,inc,dec,disp,idx,absw,absl
        TO_EA_D1 0x00000001, sub.l, l, 4, 0x00010000, 0x0000FFFF, FZ, 0, ind,inc,dec,disp,idx,absw,absl

| ---- immediate and quick forms ----
        TO_EA   addi.b, "#0x7F,", b, 1, 0x01, 0x80, 0, FN+FV, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   addi.w, "#0x1234,", w, 2, 0xEDCC, 0x0000, FN, FX+FZ+FC, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   addi.l, "#0x00010000,", l, 4, 0x7FFF0000, 0x80000000, 0, FN+FV, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   subi.b, "#0x01,", b, 1, 0x00, 0xFF, 0, FX+FN+FC, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   subi.w, "#0x8000,", w, 2, 0x0000, 0x8000, 0, FX+FN+FV+FC, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   subi.l, "#0x00000001,", l, 4, 0x80000000, 0x7FFFFFFF, FX, FV, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   cmpi.b, "#0x01,", b, 1, 0x02, 0x02, FX+FN+FZ+FV+FC, FX, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   cmpi.w, "#0x0002,", w, 2, 0x0001, 0x0001, 0, FN+FC, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   cmpi.l, "#0x80000000,", l, 4, 0x00000000, 0x00000000, FX, FX+FN+FV+FC, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   addq.b, "#8,", b, 1, 0xF8, 0x00, 0, FX+FZ+FC, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   addq.w, "#1,", w, 2, 0x7FFF, 0x8000, 0, FN+FV, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   addq.l, "#8,", l, 4, 0xFFFFFFFF, 0x00000007, 0, FX+FC, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   subq.b, "#1,", b, 1, 0x80, 0x7F, 0, FV, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   subq.w, "#8,", w, 2, 0x0008, 0x0000, 0, FZ, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   subq.l, "#1,", l, 4, 0x00000000, 0xFFFFFFFF, 0, FX+FN+FC, dn,ind,inc,dec,disp,idx,absw,absl
| Quick to An: all 32 bits whatever the size, no flag changes.
        movea.l #0x0000FFFC,%a0
        move.w  #FN+FC,%ccr
        addq.w  #8,%a0
        CHECK   %a0, 0x00010004, FN+FC
        suba.l  %a1,%a1
        move.w  #FZ,%ccr
        subq.w  #1,%a1
        CHECK   %a1, 0xFFFFFFFF, FZ
        move.w  #FZ,%ccr
        addq.l  #1,%a1
        CHECK   %a1, 0x00000000, FZ
        move.w  #FZ,%ccr
        subq.l  #8,%a1
        CHECK   %a1, 0xFFFFFFF8, FZ

| ---- NEG, NEGX ----
        TO_EA   neg.b, "", b, 1, 0x80, 0x80, 0, FX+FN+FV+FC, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   neg.w, "", w, 2, 0x0000, 0x0000, FX+FN+FC, FZ, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   neg.l, "", l, 4, 0x00000001, 0xFFFFFFFF, 0, FX+FN+FC, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   negx.b, "", b, 1, 0x00, 0xFF, FX+FZ, FX+FN+FC, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   negx.w, "", w, 2, 0x0000, 0x0000, FZ+FV, FZ, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   negx.l, "", l, 4, 0x00000001, 0xFFFFFFFE, FX, FX+FN+FC, dn,ind,inc,dec,disp,idx,absw,absl

| ---- ADDX, SUBX: Dy,Dx and -(Ay),-(Ax); Z only ever clears ----
        XFORMS  addx.b, b, 1, 0x00, 0xFF, 0x00, FX+FZ, FX+FZ+FC
        XFORMS  addx.b, b, 1, 0x00, 0xFF, 0x00, FX, FX+FC
        XFORMS  addx.w, w, 2, 0x0001, 0x0001, 0x0003, FX+FZ, 0
        XFORMS  addx.l, l, 4, 0xFFFFFFFF, 0x00000000, 0x00000000, FX+FZ, FX+FZ+FC
        XFORMS  subx.b, b, 1, 0x00, 0x00, 0xFF, FX+FZ, FX+FN+FC
        XFORMS  subx.w, w, 2, 0x0005, 0x0005, 0x0000, FZ, FZ
        XFORMS  subx.l, l, 4, 0x00000000, 0x80000000, 0x7FFFFFFF, FX, FV

| ---- CMPM: both operands read, neither written, X kept ----
        .macro  CMPMFORM sz, nb, sval, dval, ccrin, ccrout
        S_ind   \sz, \nb, \sval, SRC, %a1, %d1, 0xA5A5A5A5
        S_ind   \sz, \nb, \dval, DST, %a0, %d0, 0x5A5A5A5A
        move.w  #\ccrin,%ccr
        cmpm.\sz (%a1)+,(%a0)+
        CHECKMEM \nb, \dval, \ccrout
        .endm
        CMPMFORM b, 1, 0x01, 0x02, FX+FZ, FX
        CMPMFORM w, 2, 0x8000, 0x8000, 0, FZ
        CMPMFORM l, 4, 0x00000001, 0x80000000, 0, FV

        EPILOGUE
