| The operand modes that only CPU32 accepts here: TST of an address register,
| a PC-relative or an immediate operand, and CMPI to a PC-relative operand.
        .include "alu_operands.inc"
        PROLOGUE

        movea.l #0x12348000,%a0
        move.w  #FX+FZ+FV+FC,%ccr
        tst.w   %a0
        CHECK   %a0, 0x12348000, FX+FN
        move.w  #FN+FZ,%ccr
        tst.l   %a0
        CHECK   %a0, 0x12348000, 0
        suba.l  %a0,%a0
        move.w  #FN,%ccr
        tst.l   %a0
        CHECK   %a0, 0, FZ

| "ins <pcsrc>" in both PC-relative modes; immbytes is the size of an immediate
| operand between the opcode and the index extension word.
        .macro  ON_PC ins, sz, nb, immbytes, val, ccrin, ccrout
        S_pcd   \sz, \nb, \val, SRC, %a1, %d1, 0xA5A5A5A5
        move.w  #\ccrin,%ccr
        \ins\()pcsrc(%pc)
        CHECK   (pcsrc).l, (((\val) & ((1 << (8*\nb)) - 1)) << (32-8*\nb)) + (0xA5A5A5A5 & ((1 << (32-8*\nb)) - 1)), \ccrout
        S_pcd   \sz, \nb, \val, SRC, %a1, %d1, 0xA5A5A5A5
        move.l  #pcsrc-(9f+2+\immbytes),%d2
        move.w  #\ccrin,%ccr
9:      \ins\()0(%pc,%d2.l)
        CHECK   (pcsrc).l, (((\val) & ((1 << (8*\nb)) - 1)) << (32-8*\nb)) + (0xA5A5A5A5 & ((1 << (32-8*\nb)) - 1)), \ccrout
        .endm
        ON_PC   "tst.b ", b, 1, 0, 0x80, FX+FZ+FV+FC, FX+FN
        ON_PC   "tst.w ", w, 2, 0, 0x0000, FN, FZ
        ON_PC   "tst.l ", l, 4, 0, 0x7FFFFFFF, FZ+FC, 0
        ON_PC   "cmpi.b #0x01,", b, 1, 2, 0x02, FX+FN+FZ+FV+FC, FX
        ON_PC   "cmpi.w #0x0002,", w, 2, 2, 0x0001, 0, FN+FC
        ON_PC   "cmpi.l #0x12345678,", l, 4, 4, 0x12345678, FN, FZ

        moveq   #0,%d0
        move.w  #FX+FZ,%ccr
        tst.b   #0x80
        CHECK   %d0, 0, FX+FN
        move.w  #FN+FC,%ccr
        tst.w   #0
        CHECK   %d0, 0, FZ
        move.w  #FV,%ccr
        tst.l   #0x7FFFFFFF
        CHECK   %d0, 0, 0

        EPILOGUE
