| BTST, BSET, BCLR and BCHG, dynamic and static, on a data register (bit
| number modulo 32) and on memory bytes (modulo 8) in every accepted mode.
| Only Z changes: the other flags go in set or clear and must come out so.
        .include "alu_operands.inc"
        PROLOGUE

| ---- BTST ----
        moveq   #31,%d1
        TO_EA   btst, "%d1,", l, 4, 0x80000000, 0x80000000, FX+FN+FZ+FV+FC, FX+FN+FV+FC, dn
        TO_EA   btst, "%d1,", l, 4, 0x7FFFFFFF, 0x7FFFFFFF, 0, FZ, dn
        TO_EA   btst, "#31,", l, 4, 0x80000000, 0x80000000, FZ, 0, dn
        TO_EA   btst, "#63,", l, 4, 0x7FFFFFFF, 0x7FFFFFFF, FX+FN+FV+FC, FX+FN+FZ+FV+FC, dn
        TO_EA_D1 0xFFFFFFF9, btst, b, 1, 0x02, 0x02, FX+FN+FZ+FV+FC, FX+FN+FV+FC, ind,inc,dec,disp,idx,absw,absl
        TO_EA   btst, "#9,", b, 1, 0xFD, 0xFD, 0, FZ, ind,inc,dec,disp,idx,absw,absl
| The PC-relative and immediate operands.
        .macro  BTSTPC pre, pcbase, val, ccrin, ccrout
        S_pcd   b, 1, \val, SRC, %a1, %d1, 0xA5A5A5A5
        move.w  #\ccrin,%ccr
        btst    \pre\()pcsrc(%pc)
        CHECK   (pcsrc).l, (\val << 24) + 0xA5A5A5, \ccrout
        S_pcd   b, 1, \val, SRC, %a1, %d1, 0xA5A5A5A5
        move.l  #pcsrc-(9f+\pcbase),%d2
        move.w  #\ccrin,%ccr
9:      btst    \pre\()0(%pc,%d2.l)
        CHECK   (pcsrc).l, (\val << 24) + 0xA5A5A5, \ccrout
        .endm
        BTSTPC  "%d1,", 2, 0x02, FZ, 0
        BTSTPC  "#9,", 4, 0x02, FX+FN+FV+FC, FX+FN+FV+FC
        BTSTPC  "#8,", 4, 0x02, FX+FN+FV+FC, FX+FN+FZ+FV+FC
        moveq   #0,%d0
        moveq   #10,%d1
        move.w  #0,%ccr
        btst    %d1,#0x04
        CHECK   %d0, 0, 0
        moveq   #1,%d1
        btst    %d1,#0x04
        CHECK   %d0, 0, FZ

| ---- BSET, BCLR, BCHG: Z from the bit before the change ----
        TO_EA_D1 33, bset, l, 4, 0x00000000, 0x00000002, FN, FN+FZ, dn
        TO_EA   bset, "#31,", l, 4, 0x80000000, 0x80000000, FZ+FX, FX, dn
        TO_EA   bclr, "%d1,", l, 4, 0xFFFFFFFF, 0xFFFFFFFD, FZ, 0, dn
        TO_EA   bclr, "#0,", l, 4, 0xFFFFFFFE, 0xFFFFFFFE, FV, FZ+FV, dn
        TO_EA   bchg, "#33,", l, 4, 0x00000000, 0x00000002, FC, FZ+FC, dn
        TO_EA   bchg, "%d1,", l, 4, 0x00000002, 0x00000000, FZ, 0, dn
        TO_EA_D1 9, bset, b, 1, 0x00, 0x02, FX, FX+FZ, ind,inc,dec,disp,idx,absw,absl
        TO_EA   bset, "#15,", b, 1, 0x80, 0x80, FZ, 0, ind,inc,dec,disp,idx,absw,absl
        TO_EA   bclr, "%d1,", b, 1, 0x02, 0x00, FN+FZ, FN, ind,inc,dec,disp,idx,absw,absl
        TO_EA   bclr, "#7,", b, 1, 0x7F, 0x7F, 0, FZ, ind,inc,dec,disp,idx,absw,absl
        TO_EA   bchg, "%d1,", b, 1, 0xFF, 0xFD, FZ+FV, FV, ind,inc,dec,disp,idx,absw,absl
        TO_EA   bchg, "#0,", b, 1, 0x00, 0x01, FC, FZ+FC, ind,inc,dec,disp,idx,absw,absl

        EPILOGUE
