| ASL, ASR, LSL, LSR, ROL, ROR, ROXL and ROXR: register forms in every size
| with immediate counts and counts from a data register (taken modulo 64),
| memory forms in every memory-alterable mode.
        .include "alu_operands.inc"
        PROLOGUE

| ---- counts 0, 63, 64 and 65; count 0 takes C from X in ROXL and ROXR ----
        moveq   #0,%d1
        TO_EA   roxl.w, "%d1,", w, 2, 0x1234, 0x1234, FX+FV, FX+FC, dn
        TO_EA   roxr.l, "%d1,", l, 4, 0x00000000, 0x00000000, FC, FZ, dn
        TO_EA   asl.l, "%d1,", l, 4, 0x80000000, 0x80000000, FX+FV+FC, FX+FN, dn
        TO_EA_D1 63, lsr.l, l, 4, 0x80000000, 0x00000000, FX+FN, FZ, dn
        TO_EA_D1 64, lsl.b, b, 1, 0x81, 0x81, FX+FV+FC, FX+FN, dn
        TO_EA_D1 65, lsl.b, b, 1, 0x81, 0x02, 0, FX+FC, dn

| ---- every kind, size and count source ----
        TO_EA   asl.b, "#1,", b, 1, 0xB5, 0x6A, 0, FX+FV+FC, dn
        TO_EA_D1 0xFFFFFF00, asl.b, b, 1, 0x40, 0x40, 0, 0, dn
        TO_EA   asl.w, "#3,", w, 2, 0x7FFE, 0xFFF0, FX+FV, FX+FN+FV+FC, dn
        TO_EA_D1 0x5, asl.w, w, 2, 0xC001, 0x20, FX, FV, dn
        TO_EA   asl.l, "#8,", l, 4, 0x80000001, 0x100, FX+FN+FZ+FV+FC, FV, dn
        TO_EA_D1 0xFFFFFF11, asl.l, l, 4, 0x40000000, 0x0, FX+FZ, FZ+FV, dn
        TO_EA   asl.w, "", w, 2, 0x8001, 0x2, 0, FX+FV+FC, ind,inc,dec,disp,idx,absw,absl
        TO_EA   asr.b, "#3,", b, 1, 0x40, 0x8, FX+FV, 0, dn
        TO_EA_D1 0x1F, asr.b, b, 1, 0xB5, 0xFF, FX+FV+FC, FX+FN+FC, dn
        TO_EA   asr.w, "#8,", w, 2, 0xC001, 0xFFC0, FX+FN+FZ+FV+FC, FN, dn
        TO_EA_D1 0xFFFFFF21, asr.w, w, 2, 0x7FFE, 0x0, 0, FZ, dn
        TO_EA   asr.l, "#1,", l, 4, 0x40000000, 0x20000000, 0, 0, dn
        TO_EA_D1 0x3F, asr.l, l, 4, 0x80000001, 0xFFFFFFFF, FX, FX+FN+FC, dn
        TO_EA   asr.w, "", w, 2, 0x4000, 0x2000, FX+FV, 0, ind,inc,dec,disp,idx,absw,absl
        TO_EA   lsl.b, "#8,", b, 1, 0xB5, 0x0, FX+FN+FZ+FV+FC, FX+FZ+FC, dn
        TO_EA_D1 0xFFFFFF40, lsl.b, b, 1, 0x40, 0x40, FX+FZ, FX, dn
        TO_EA   lsl.w, "#1,", w, 2, 0x7FFE, 0xFFFC, 0, FN, dn
        TO_EA_D1 0x41, lsl.w, w, 2, 0xC001, 0x8002, FX+FV+FC, FX+FN+FC, dn
        TO_EA   lsl.l, "#3,", l, 4, 0x80000001, 0x8, FX+FV, 0, dn
        TO_EA_D1 0xFFFFFF09, lsl.l, l, 4, 0x40000000, 0x0, 0, FZ, dn
        TO_EA   lsl.w, "", w, 2, 0x8001, 0x2, 0, FX+FC, ind,inc,dec,disp,idx,absw,absl
        TO_EA   lsr.b, "#1,", b, 1, 0x40, 0x20, 0, 0, dn
        TO_EA_D1 0x10, lsr.b, b, 1, 0xB5, 0x0, FX, FZ, dn
        TO_EA   lsr.w, "#3,", w, 2, 0xC001, 0x1800, FX+FV, 0, dn
        TO_EA_D1 0xFFFFFF20, lsr.w, w, 2, 0x7FFE, 0x0, FX+FZ, FZ, dn
        TO_EA   lsr.l, "#8,", l, 4, 0x40000000, 0x400000, FX+FN+FZ+FV+FC, 0, dn
        TO_EA_D1 0x28, lsr.l, l, 4, 0x80000001, 0x0, FX+FV+FC, FZ, dn
        TO_EA   lsr.w, "", w, 2, 0x4000, 0x2000, FX+FV, 0, ind,inc,dec,disp,idx,absw,absl
        TO_EA   rol.b, "#3,", b, 1, 0xB5, 0xAD, FX+FV, FX+FN+FC, dn
        TO_EA_D1 0xFFFFFF00, rol.b, b, 1, 0x40, 0x40, 0, 0, dn
        TO_EA   rol.w, "#8,", w, 2, 0x7FFE, 0xFE7F, FX+FN+FZ+FV+FC, FX+FN+FC, dn
        TO_EA_D1 0x5, rol.w, w, 2, 0xC001, 0x38, FX, FX, dn
        TO_EA   rol.l, "#1,", l, 4, 0x80000001, 0x3, 0, FC, dn
        TO_EA_D1 0xFFFFFF11, rol.l, l, 4, 0x40000000, 0x8000, FX+FZ, FX, dn
        TO_EA   rol.w, "", w, 2, 0x8001, 0x3, 0, FC, ind,inc,dec,disp,idx,absw,absl
        TO_EA   ror.b, "#8,", b, 1, 0x40, 0x40, FX+FN+FZ+FV+FC, FX, dn
        TO_EA_D1 0x1F, ror.b, b, 1, 0xB5, 0x6B, FX+FV+FC, FX, dn
        TO_EA   ror.w, "#1,", w, 2, 0xC001, 0xE000, 0, FN+FC, dn
        TO_EA_D1 0xFFFFFF21, ror.w, w, 2, 0x7FFE, 0x3FFF, 0, 0, dn
        TO_EA   ror.l, "#3,", l, 4, 0x40000000, 0x8000000, FX+FV, FX, dn
        TO_EA_D1 0x3F, ror.l, l, 4, 0x80000001, 0x3, FX, FX, dn
        TO_EA   ror.w, "", w, 2, 0x4000, 0x2000, FX+FV, FX, ind,inc,dec,disp,idx,absw,absl
        TO_EA   roxl.b, "#1,", b, 1, 0xB5, 0x6A, 0, FX+FC, dn
        TO_EA_D1 0xFFFFFF40, roxl.b, b, 1, 0x40, 0x40, FX+FZ, FX+FC, dn
        TO_EA   roxl.w, "#3,", w, 2, 0x7FFE, 0xFFF5, FX+FV, FX+FN+FC, dn
        TO_EA_D1 0x41, roxl.w, w, 2, 0xC001, 0x8003, FX+FV+FC, FX+FN+FC, dn
        TO_EA   roxl.l, "#8,", l, 4, 0x80000001, 0x1C0, FX+FN+FZ+FV+FC, 0, dn
        TO_EA_D1 0xFFFFFF09, roxl.l, l, 4, 0x40000000, 0x40, 0, 0, dn
        TO_EA   roxl.w, "", w, 2, 0x8001, 0x2, 0, FX+FC, ind,inc,dec,disp,idx,absw,absl
        TO_EA   roxr.b, "#3,", b, 1, 0x40, 0x28, FX+FV, 0, dn
        TO_EA_D1 0x10, roxr.b, b, 1, 0xB5, 0xD7, FX, FN, dn
        TO_EA   roxr.w, "#8,", w, 2, 0xC001, 0x3C0, FX+FN+FZ+FV+FC, 0, dn
        TO_EA_D1 0xFFFFFF20, roxr.w, w, 2, 0x7FFE, 0xFFFA, FX+FZ, FX+FN+FC, dn
        TO_EA   roxr.l, "#1,", l, 4, 0x40000000, 0x20000000, 0, 0, dn
        TO_EA_D1 0x28, roxr.l, l, 4, 0x80000001, 0x7000000, FX+FV+FC, 0, dn
        TO_EA   roxr.w, "", w, 2, 0x4000, 0xA000, FX+FV, FN, ind,inc,dec,disp,idx,absw,absl

        EPILOGUE
