| ASL, ASR, LSL, LSR, ROL, ROR, ROXL and ROXR: register forms in every size
| with immediate counts and counts from a data register (taken modulo 64),
| memory forms in every memory-alterable mode.
        .include "alu_common.inc"
        PROLOGUE

| ---- edge cases ----
        TO_EA   asl.b, "#2,", b, 1, 0x40, 0x00, 0, FX+FZ+FV+FC, dn
        TO_EA   asl.w, "#1,", w, 2, 0xC000, 0x8000, FV, FX+FN+FC, dn
        TO_EA   asr.b, "#1,", b, 1, 0x81, 0xC0, 0, FX+FN+FC, dn
        TO_EA   ror.b, "#1,", b, 1, 0x01, 0x80, 0, FN+FC, dn
        TO_EA   lsl.b, "#1,", b, 1, 0xFF, 0xFE, 0, FX+FN+FC, dn
        moveq   #17,%d1
        TO_EA   lsr.w, "%d1,", w, 2, 0xFFFF, 0x0000, FX+FC, FZ, dn
        moveq   #32,%d1
        TO_EA   rol.l, "%d1,", l, 4, 0x12345679, 0x12345679, FX, FX+FC, dn
        moveq   #9,%d1
        TO_EA   roxl.b, "%d1,", b, 1, 0xA5, 0xA5, FX, FX+FN+FC, dn
        moveq   #0,%d1
        TO_EA   roxl.w, "%d1,", w, 2, 0x1234, 0x1234, FX+FV, FX+FC, dn
        TO_EA   roxr.l, "%d1,", l, 4, 0x00000000, 0x00000000, FC, FZ, dn
        TO_EA   asl.l, "%d1,", l, 4, 0x80000000, 0x80000000, FX+FV+FC, FX+FN, dn
        moveq   #63,%d1
        TO_EA   lsr.l, "%d1,", l, 4, 0x80000000, 0x00000000, FX+FN, FZ, dn
        moveq   #64,%d1
        TO_EA   lsl.b, "%d1,", b, 1, 0x81, 0x81, FX+FV+FC, FX+FN, dn
        moveq   #65,%d1
        TO_EA   lsl.b, "%d1,", b, 1, 0x81, 0x02, 0, FX+FC, dn
        TO_EA   asr.w, "", w, 2, 0x8001, 0xC000, 0, FX+FN+FC, ind,absl
        TO_EA   lsr.w, "", w, 2, 0x0001, 0x0000, 0, FX+FZ+FC, ind,absl

| ---- every kind, size and count source ----
| ASL
        TO_EA   asl.b, "#1,", b, 1, 0xB5, 0x6A, 0, FX+FV+FC, dn
        TO_EA   asl.b, "#3,", b, 1, 0x40, 0x0, FX+FV, FZ+FV, dn
        TO_EA   asl.b, "#8,", b, 1, 0xB5, 0x0, FX+FN+FZ+FV+FC, FX+FZ+FV+FC, dn
        move.l  #0x0,%d1
        TO_EA   asl.b, "%d1,", b, 1, 0xB5, 0xB5, FX+FV+FC, FX+FN, dn
        move.l  #0xFFFFFF05,%d1
        TO_EA   asl.b, "%d1,", b, 1, 0x40, 0x0, 0, FZ+FV, dn
        move.l  #0x11,%d1
        TO_EA   asl.b, "%d1,", b, 1, 0xB5, 0x0, FX, FZ+FV, dn
        move.l  #0xFFFFFF1F,%d1
        TO_EA   asl.b, "%d1,", b, 1, 0x40, 0x0, FX+FZ, FZ+FV, dn
        move.l  #0x21,%d1
        TO_EA   asl.b, "%d1,", b, 1, 0xB5, 0x0, FX+FV+FC, FZ+FV, dn
        move.l  #0xFFFFFF3F,%d1
        TO_EA   asl.b, "%d1,", b, 1, 0x40, 0x0, 0, FZ+FV, dn
        move.l  #0x40,%d1
        TO_EA   asl.b, "%d1,", b, 1, 0xB5, 0xB5, FX, FX+FN, dn
        move.l  #0xFFFFFF41,%d1
        TO_EA   asl.b, "%d1,", b, 1, 0x40, 0x80, FX+FZ, FN+FV, dn
        TO_EA   asl.w, "#1,", w, 2, 0xC001, 0x8002, 0, FX+FN+FC, dn
        TO_EA   asl.w, "#3,", w, 2, 0x7FFE, 0xFFF0, FX+FV, FX+FN+FV+FC, dn
        TO_EA   asl.w, "#8,", w, 2, 0xC001, 0x100, FX+FN+FZ+FV+FC, FV, dn
        move.l  #0x0,%d1
        TO_EA   asl.w, "%d1,", w, 2, 0xC001, 0xC001, FX+FV+FC, FX+FN, dn
        move.l  #0xFFFFFF05,%d1
        TO_EA   asl.w, "%d1,", w, 2, 0x7FFE, 0xFFC0, 0, FX+FN+FV+FC, dn
        move.l  #0x11,%d1
        TO_EA   asl.w, "%d1,", w, 2, 0xC001, 0x0, FX, FZ+FV, dn
        move.l  #0xFFFFFF1F,%d1
        TO_EA   asl.w, "%d1,", w, 2, 0x7FFE, 0x0, FX+FZ, FZ+FV, dn
        move.l  #0x21,%d1
        TO_EA   asl.w, "%d1,", w, 2, 0xC001, 0x0, FX+FV+FC, FZ+FV, dn
        move.l  #0xFFFFFF3F,%d1
        TO_EA   asl.w, "%d1,", w, 2, 0x7FFE, 0x0, 0, FZ+FV, dn
        move.l  #0x40,%d1
        TO_EA   asl.w, "%d1,", w, 2, 0xC001, 0xC001, FX, FX+FN, dn
        move.l  #0xFFFFFF41,%d1
        TO_EA   asl.w, "%d1,", w, 2, 0x7FFE, 0xFFFC, FX+FZ, FN+FV, dn
        TO_EA   asl.l, "#1,", l, 4, 0x80000001, 0x2, 0, FX+FV+FC, dn
        TO_EA   asl.l, "#3,", l, 4, 0x40000000, 0x0, FX+FV, FZ+FV, dn
        TO_EA   asl.l, "#8,", l, 4, 0x80000001, 0x100, FX+FN+FZ+FV+FC, FV, dn
        move.l  #0x0,%d1
        TO_EA   asl.l, "%d1,", l, 4, 0x80000001, 0x80000001, FX+FV+FC, FX+FN, dn
        move.l  #0xFFFFFF05,%d1
        TO_EA   asl.l, "%d1,", l, 4, 0x40000000, 0x0, 0, FZ+FV, dn
        move.l  #0x11,%d1
        TO_EA   asl.l, "%d1,", l, 4, 0x80000001, 0x20000, FX, FV, dn
        move.l  #0xFFFFFF1F,%d1
        TO_EA   asl.l, "%d1,", l, 4, 0x40000000, 0x0, FX+FZ, FZ+FV, dn
        move.l  #0x21,%d1
        TO_EA   asl.l, "%d1,", l, 4, 0x80000001, 0x0, FX+FV+FC, FZ+FV, dn
        move.l  #0xFFFFFF3F,%d1
        TO_EA   asl.l, "%d1,", l, 4, 0x40000000, 0x0, 0, FZ+FV, dn
        move.l  #0x40,%d1
        TO_EA   asl.l, "%d1,", l, 4, 0x80000001, 0x80000001, FX, FX+FN, dn
        move.l  #0xFFFFFF41,%d1
        TO_EA   asl.l, "%d1,", l, 4, 0x40000000, 0x80000000, FX+FZ, FN+FV, dn
        TO_EA   asl.w, "", w, 2, 0x8001, 0x2, 0, FX+FV+FC, ind,inc,dec,disp,idx,absw,absl
        TO_EA   asl.w, "", w, 2, 0x4000, 0x8000, FX+FV, FN+FV, ind,inc,dec,disp,idx,absw,absl
| ASR
        TO_EA   asr.b, "#1,", b, 1, 0xB5, 0xDA, 0, FX+FN+FC, dn
        TO_EA   asr.b, "#3,", b, 1, 0x40, 0x8, FX+FV, 0, dn
        TO_EA   asr.b, "#8,", b, 1, 0xB5, 0xFF, FX+FN+FZ+FV+FC, FX+FN+FC, dn
        move.l  #0x0,%d1
        TO_EA   asr.b, "%d1,", b, 1, 0xB5, 0xB5, FX+FV+FC, FX+FN, dn
        move.l  #0xFFFFFF05,%d1
        TO_EA   asr.b, "%d1,", b, 1, 0x40, 0x2, 0, 0, dn
        move.l  #0x11,%d1
        TO_EA   asr.b, "%d1,", b, 1, 0xB5, 0xFF, FX, FX+FN+FC, dn
        move.l  #0xFFFFFF1F,%d1
        TO_EA   asr.b, "%d1,", b, 1, 0x40, 0x0, FX+FZ, FZ, dn
        move.l  #0x21,%d1
        TO_EA   asr.b, "%d1,", b, 1, 0xB5, 0xFF, FX+FV+FC, FX+FN+FC, dn
        move.l  #0xFFFFFF3F,%d1
        TO_EA   asr.b, "%d1,", b, 1, 0x40, 0x0, 0, FZ, dn
        move.l  #0x40,%d1
        TO_EA   asr.b, "%d1,", b, 1, 0xB5, 0xB5, FX, FX+FN, dn
        move.l  #0xFFFFFF41,%d1
        TO_EA   asr.b, "%d1,", b, 1, 0x40, 0x20, FX+FZ, 0, dn
        TO_EA   asr.w, "#1,", w, 2, 0xC001, 0xE000, 0, FX+FN+FC, dn
        TO_EA   asr.w, "#3,", w, 2, 0x7FFE, 0xFFF, FX+FV, FX+FC, dn
        TO_EA   asr.w, "#8,", w, 2, 0xC001, 0xFFC0, FX+FN+FZ+FV+FC, FN, dn
        move.l  #0x0,%d1
        TO_EA   asr.w, "%d1,", w, 2, 0xC001, 0xC001, FX+FV+FC, FX+FN, dn
        move.l  #0xFFFFFF05,%d1
        TO_EA   asr.w, "%d1,", w, 2, 0x7FFE, 0x3FF, 0, FX+FC, dn
        move.l  #0x11,%d1
        TO_EA   asr.w, "%d1,", w, 2, 0xC001, 0xFFFF, FX, FX+FN+FC, dn
        move.l  #0xFFFFFF1F,%d1
        TO_EA   asr.w, "%d1,", w, 2, 0x7FFE, 0x0, FX+FZ, FZ, dn
        move.l  #0x21,%d1
        TO_EA   asr.w, "%d1,", w, 2, 0xC001, 0xFFFF, FX+FV+FC, FX+FN+FC, dn
        move.l  #0xFFFFFF3F,%d1
        TO_EA   asr.w, "%d1,", w, 2, 0x7FFE, 0x0, 0, FZ, dn
        move.l  #0x40,%d1
        TO_EA   asr.w, "%d1,", w, 2, 0xC001, 0xC001, FX, FX+FN, dn
        move.l  #0xFFFFFF41,%d1
        TO_EA   asr.w, "%d1,", w, 2, 0x7FFE, 0x3FFF, FX+FZ, 0, dn
        TO_EA   asr.l, "#1,", l, 4, 0x80000001, 0xC0000000, 0, FX+FN+FC, dn
        TO_EA   asr.l, "#3,", l, 4, 0x40000000, 0x8000000, FX+FV, 0, dn
        TO_EA   asr.l, "#8,", l, 4, 0x80000001, 0xFF800000, FX+FN+FZ+FV+FC, FN, dn
        move.l  #0x0,%d1
        TO_EA   asr.l, "%d1,", l, 4, 0x80000001, 0x80000001, FX+FV+FC, FX+FN, dn
        move.l  #0xFFFFFF05,%d1
        TO_EA   asr.l, "%d1,", l, 4, 0x40000000, 0x2000000, 0, 0, dn
        move.l  #0x11,%d1
        TO_EA   asr.l, "%d1,", l, 4, 0x80000001, 0xFFFFC000, FX, FN, dn
        move.l  #0xFFFFFF1F,%d1
        TO_EA   asr.l, "%d1,", l, 4, 0x40000000, 0x0, FX+FZ, FX+FZ+FC, dn
        move.l  #0x21,%d1
        TO_EA   asr.l, "%d1,", l, 4, 0x80000001, 0xFFFFFFFF, FX+FV+FC, FX+FN+FC, dn
        move.l  #0xFFFFFF3F,%d1
        TO_EA   asr.l, "%d1,", l, 4, 0x40000000, 0x0, 0, FZ, dn
        move.l  #0x40,%d1
        TO_EA   asr.l, "%d1,", l, 4, 0x80000001, 0x80000001, FX, FX+FN, dn
        move.l  #0xFFFFFF41,%d1
        TO_EA   asr.l, "%d1,", l, 4, 0x40000000, 0x20000000, FX+FZ, 0, dn
        TO_EA   asr.w, "", w, 2, 0x8001, 0xC000, 0, FX+FN+FC, ind,inc,dec,disp,idx,absw,absl
        TO_EA   asr.w, "", w, 2, 0x4000, 0x2000, FX+FV, 0, ind,inc,dec,disp,idx,absw,absl
| LSL
        TO_EA   lsl.b, "#1,", b, 1, 0xB5, 0x6A, 0, FX+FC, dn
        TO_EA   lsl.b, "#3,", b, 1, 0x40, 0x0, FX+FV, FZ, dn
        TO_EA   lsl.b, "#8,", b, 1, 0xB5, 0x0, FX+FN+FZ+FV+FC, FX+FZ+FC, dn
        move.l  #0x0,%d1
        TO_EA   lsl.b, "%d1,", b, 1, 0xB5, 0xB5, FX+FV+FC, FX+FN, dn
        move.l  #0xFFFFFF05,%d1
        TO_EA   lsl.b, "%d1,", b, 1, 0x40, 0x0, 0, FZ, dn
        move.l  #0x11,%d1
        TO_EA   lsl.b, "%d1,", b, 1, 0xB5, 0x0, FX, FZ, dn
        move.l  #0xFFFFFF1F,%d1
        TO_EA   lsl.b, "%d1,", b, 1, 0x40, 0x0, FX+FZ, FZ, dn
        move.l  #0x21,%d1
        TO_EA   lsl.b, "%d1,", b, 1, 0xB5, 0x0, FX+FV+FC, FZ, dn
        move.l  #0xFFFFFF3F,%d1
        TO_EA   lsl.b, "%d1,", b, 1, 0x40, 0x0, 0, FZ, dn
        move.l  #0x40,%d1
        TO_EA   lsl.b, "%d1,", b, 1, 0xB5, 0xB5, FX, FX+FN, dn
        move.l  #0xFFFFFF41,%d1
        TO_EA   lsl.b, "%d1,", b, 1, 0x40, 0x80, FX+FZ, FN, dn
        TO_EA   lsl.w, "#1,", w, 2, 0xC001, 0x8002, 0, FX+FN+FC, dn
        TO_EA   lsl.w, "#3,", w, 2, 0x7FFE, 0xFFF0, FX+FV, FX+FN+FC, dn
        TO_EA   lsl.w, "#8,", w, 2, 0xC001, 0x100, FX+FN+FZ+FV+FC, 0, dn
        move.l  #0x0,%d1
        TO_EA   lsl.w, "%d1,", w, 2, 0xC001, 0xC001, FX+FV+FC, FX+FN, dn
        move.l  #0xFFFFFF05,%d1
        TO_EA   lsl.w, "%d1,", w, 2, 0x7FFE, 0xFFC0, 0, FX+FN+FC, dn
        move.l  #0x11,%d1
        TO_EA   lsl.w, "%d1,", w, 2, 0xC001, 0x0, FX, FZ, dn
        move.l  #0xFFFFFF1F,%d1
        TO_EA   lsl.w, "%d1,", w, 2, 0x7FFE, 0x0, FX+FZ, FZ, dn
        move.l  #0x21,%d1
        TO_EA   lsl.w, "%d1,", w, 2, 0xC001, 0x0, FX+FV+FC, FZ, dn
        move.l  #0xFFFFFF3F,%d1
        TO_EA   lsl.w, "%d1,", w, 2, 0x7FFE, 0x0, 0, FZ, dn
        move.l  #0x40,%d1
        TO_EA   lsl.w, "%d1,", w, 2, 0xC001, 0xC001, FX, FX+FN, dn
        move.l  #0xFFFFFF41,%d1
        TO_EA   lsl.w, "%d1,", w, 2, 0x7FFE, 0xFFFC, FX+FZ, FN, dn
        TO_EA   lsl.l, "#1,", l, 4, 0x80000001, 0x2, 0, FX+FC, dn
        TO_EA   lsl.l, "#3,", l, 4, 0x40000000, 0x0, FX+FV, FZ, dn
        TO_EA   lsl.l, "#8,", l, 4, 0x80000001, 0x100, FX+FN+FZ+FV+FC, 0, dn
        move.l  #0x0,%d1
        TO_EA   lsl.l, "%d1,", l, 4, 0x80000001, 0x80000001, FX+FV+FC, FX+FN, dn
        move.l  #0xFFFFFF05,%d1
        TO_EA   lsl.l, "%d1,", l, 4, 0x40000000, 0x0, 0, FZ, dn
        move.l  #0x11,%d1
        TO_EA   lsl.l, "%d1,", l, 4, 0x80000001, 0x20000, FX, 0, dn
        move.l  #0xFFFFFF1F,%d1
        TO_EA   lsl.l, "%d1,", l, 4, 0x40000000, 0x0, FX+FZ, FZ, dn
        move.l  #0x21,%d1
        TO_EA   lsl.l, "%d1,", l, 4, 0x80000001, 0x0, FX+FV+FC, FZ, dn
        move.l  #0xFFFFFF3F,%d1
        TO_EA   lsl.l, "%d1,", l, 4, 0x40000000, 0x0, 0, FZ, dn
        move.l  #0x40,%d1
        TO_EA   lsl.l, "%d1,", l, 4, 0x80000001, 0x80000001, FX, FX+FN, dn
        move.l  #0xFFFFFF41,%d1
        TO_EA   lsl.l, "%d1,", l, 4, 0x40000000, 0x80000000, FX+FZ, FN, dn
        TO_EA   lsl.w, "", w, 2, 0x8001, 0x2, 0, FX+FC, ind,inc,dec,disp,idx,absw,absl
        TO_EA   lsl.w, "", w, 2, 0x4000, 0x8000, FX+FV, FN, ind,inc,dec,disp,idx,absw,absl
| LSR
        TO_EA   lsr.b, "#1,", b, 1, 0xB5, 0x5A, 0, FX+FC, dn
        TO_EA   lsr.b, "#3,", b, 1, 0x40, 0x8, FX+FV, 0, dn
        TO_EA   lsr.b, "#8,", b, 1, 0xB5, 0x0, FX+FN+FZ+FV+FC, FX+FZ+FC, dn
        move.l  #0x0,%d1
        TO_EA   lsr.b, "%d1,", b, 1, 0xB5, 0xB5, FX+FV+FC, FX+FN, dn
        move.l  #0xFFFFFF05,%d1
        TO_EA   lsr.b, "%d1,", b, 1, 0x40, 0x2, 0, 0, dn
        move.l  #0x11,%d1
        TO_EA   lsr.b, "%d1,", b, 1, 0xB5, 0x0, FX, FZ, dn
        move.l  #0xFFFFFF1F,%d1
        TO_EA   lsr.b, "%d1,", b, 1, 0x40, 0x0, FX+FZ, FZ, dn
        move.l  #0x21,%d1
        TO_EA   lsr.b, "%d1,", b, 1, 0xB5, 0x0, FX+FV+FC, FZ, dn
        move.l  #0xFFFFFF3F,%d1
        TO_EA   lsr.b, "%d1,", b, 1, 0x40, 0x0, 0, FZ, dn
        move.l  #0x40,%d1
        TO_EA   lsr.b, "%d1,", b, 1, 0xB5, 0xB5, FX, FX+FN, dn
        move.l  #0xFFFFFF41,%d1
        TO_EA   lsr.b, "%d1,", b, 1, 0x40, 0x20, FX+FZ, 0, dn
        TO_EA   lsr.w, "#1,", w, 2, 0xC001, 0x6000, 0, FX+FC, dn
        TO_EA   lsr.w, "#3,", w, 2, 0x7FFE, 0xFFF, FX+FV, FX+FC, dn
        TO_EA   lsr.w, "#8,", w, 2, 0xC001, 0xC0, FX+FN+FZ+FV+FC, 0, dn
        move.l  #0x0,%d1
        TO_EA   lsr.w, "%d1,", w, 2, 0xC001, 0xC001, FX+FV+FC, FX+FN, dn
        move.l  #0xFFFFFF05,%d1
        TO_EA   lsr.w, "%d1,", w, 2, 0x7FFE, 0x3FF, 0, FX+FC, dn
        move.l  #0x11,%d1
        TO_EA   lsr.w, "%d1,", w, 2, 0xC001, 0x0, FX, FZ, dn
        move.l  #0xFFFFFF1F,%d1
        TO_EA   lsr.w, "%d1,", w, 2, 0x7FFE, 0x0, FX+FZ, FZ, dn
        move.l  #0x21,%d1
        TO_EA   lsr.w, "%d1,", w, 2, 0xC001, 0x0, FX+FV+FC, FZ, dn
        move.l  #0xFFFFFF3F,%d1
        TO_EA   lsr.w, "%d1,", w, 2, 0x7FFE, 0x0, 0, FZ, dn
        move.l  #0x40,%d1
        TO_EA   lsr.w, "%d1,", w, 2, 0xC001, 0xC001, FX, FX+FN, dn
        move.l  #0xFFFFFF41,%d1
        TO_EA   lsr.w, "%d1,", w, 2, 0x7FFE, 0x3FFF, FX+FZ, 0, dn
        TO_EA   lsr.l, "#1,", l, 4, 0x80000001, 0x40000000, 0, FX+FC, dn
        TO_EA   lsr.l, "#3,", l, 4, 0x40000000, 0x8000000, FX+FV, 0, dn
        TO_EA   lsr.l, "#8,", l, 4, 0x80000001, 0x800000, FX+FN+FZ+FV+FC, 0, dn
        move.l  #0x0,%d1
        TO_EA   lsr.l, "%d1,", l, 4, 0x80000001, 0x80000001, FX+FV+FC, FX+FN, dn
        move.l  #0xFFFFFF05,%d1
        TO_EA   lsr.l, "%d1,", l, 4, 0x40000000, 0x2000000, 0, 0, dn
        move.l  #0x11,%d1
        TO_EA   lsr.l, "%d1,", l, 4, 0x80000001, 0x4000, FX, 0, dn
        move.l  #0xFFFFFF1F,%d1
        TO_EA   lsr.l, "%d1,", l, 4, 0x40000000, 0x0, FX+FZ, FX+FZ+FC, dn
        move.l  #0x21,%d1
        TO_EA   lsr.l, "%d1,", l, 4, 0x80000001, 0x0, FX+FV+FC, FZ, dn
        move.l  #0xFFFFFF3F,%d1
        TO_EA   lsr.l, "%d1,", l, 4, 0x40000000, 0x0, 0, FZ, dn
        move.l  #0x40,%d1
        TO_EA   lsr.l, "%d1,", l, 4, 0x80000001, 0x80000001, FX, FX+FN, dn
        move.l  #0xFFFFFF41,%d1
        TO_EA   lsr.l, "%d1,", l, 4, 0x40000000, 0x20000000, FX+FZ, 0, dn
        TO_EA   lsr.w, "", w, 2, 0x8001, 0x4000, 0, FX+FC, ind,inc,dec,disp,idx,absw,absl
        TO_EA   lsr.w, "", w, 2, 0x4000, 0x2000, FX+FV, 0, ind,inc,dec,disp,idx,absw,absl
| ROL
        TO_EA   rol.b, "#1,", b, 1, 0xB5, 0x6B, 0, FC, dn
        TO_EA   rol.b, "#3,", b, 1, 0x40, 0x2, FX+FV, FX, dn
        TO_EA   rol.b, "#8,", b, 1, 0xB5, 0xB5, FX+FN+FZ+FV+FC, FX+FN+FC, dn
        move.l  #0x0,%d1
        TO_EA   rol.b, "%d1,", b, 1, 0xB5, 0xB5, FX+FV+FC, FX+FN, dn
        move.l  #0xFFFFFF05,%d1
        TO_EA   rol.b, "%d1,", b, 1, 0x40, 0x8, 0, 0, dn
        move.l  #0x11,%d1
        TO_EA   rol.b, "%d1,", b, 1, 0xB5, 0x6B, FX, FX+FC, dn
        move.l  #0xFFFFFF1F,%d1
        TO_EA   rol.b, "%d1,", b, 1, 0x40, 0x20, FX+FZ, FX, dn
        move.l  #0x21,%d1
        TO_EA   rol.b, "%d1,", b, 1, 0xB5, 0x6B, FX+FV+FC, FX+FC, dn
        move.l  #0xFFFFFF3F,%d1
        TO_EA   rol.b, "%d1,", b, 1, 0x40, 0x20, 0, 0, dn
        move.l  #0x40,%d1
        TO_EA   rol.b, "%d1,", b, 1, 0xB5, 0xB5, FX, FX+FN, dn
        move.l  #0xFFFFFF41,%d1
        TO_EA   rol.b, "%d1,", b, 1, 0x40, 0x80, FX+FZ, FX+FN, dn
        TO_EA   rol.w, "#1,", w, 2, 0xC001, 0x8003, 0, FN+FC, dn
        TO_EA   rol.w, "#3,", w, 2, 0x7FFE, 0xFFF3, FX+FV, FX+FN+FC, dn
        TO_EA   rol.w, "#8,", w, 2, 0xC001, 0x1C0, FX+FN+FZ+FV+FC, FX, dn
        move.l  #0x0,%d1
        TO_EA   rol.w, "%d1,", w, 2, 0xC001, 0xC001, FX+FV+FC, FX+FN, dn
        move.l  #0xFFFFFF05,%d1
        TO_EA   rol.w, "%d1,", w, 2, 0x7FFE, 0xFFCF, 0, FN+FC, dn
        move.l  #0x11,%d1
        TO_EA   rol.w, "%d1,", w, 2, 0xC001, 0x8003, FX, FX+FN+FC, dn
        move.l  #0xFFFFFF1F,%d1
        TO_EA   rol.w, "%d1,", w, 2, 0x7FFE, 0x3FFF, FX+FZ, FX+FC, dn
        move.l  #0x21,%d1
        TO_EA   rol.w, "%d1,", w, 2, 0xC001, 0x8003, FX+FV+FC, FX+FN+FC, dn
        move.l  #0xFFFFFF3F,%d1
        TO_EA   rol.w, "%d1,", w, 2, 0x7FFE, 0x3FFF, 0, FC, dn
        move.l  #0x40,%d1
        TO_EA   rol.w, "%d1,", w, 2, 0xC001, 0xC001, FX, FX+FN, dn
        move.l  #0xFFFFFF41,%d1
        TO_EA   rol.w, "%d1,", w, 2, 0x7FFE, 0xFFFC, FX+FZ, FX+FN, dn
        TO_EA   rol.l, "#1,", l, 4, 0x80000001, 0x3, 0, FC, dn
        TO_EA   rol.l, "#3,", l, 4, 0x40000000, 0x2, FX+FV, FX, dn
        TO_EA   rol.l, "#8,", l, 4, 0x80000001, 0x180, FX+FN+FZ+FV+FC, FX, dn
        move.l  #0x0,%d1
        TO_EA   rol.l, "%d1,", l, 4, 0x80000001, 0x80000001, FX+FV+FC, FX+FN, dn
        move.l  #0xFFFFFF05,%d1
        TO_EA   rol.l, "%d1,", l, 4, 0x40000000, 0x8, 0, 0, dn
        move.l  #0x11,%d1
        TO_EA   rol.l, "%d1,", l, 4, 0x80000001, 0x30000, FX, FX, dn
        move.l  #0xFFFFFF1F,%d1
        TO_EA   rol.l, "%d1,", l, 4, 0x40000000, 0x20000000, FX+FZ, FX, dn
        move.l  #0x21,%d1
        TO_EA   rol.l, "%d1,", l, 4, 0x80000001, 0x3, FX+FV+FC, FX+FC, dn
        move.l  #0xFFFFFF3F,%d1
        TO_EA   rol.l, "%d1,", l, 4, 0x40000000, 0x20000000, 0, 0, dn
        move.l  #0x40,%d1
        TO_EA   rol.l, "%d1,", l, 4, 0x80000001, 0x80000001, FX, FX+FN, dn
        move.l  #0xFFFFFF41,%d1
        TO_EA   rol.l, "%d1,", l, 4, 0x40000000, 0x80000000, FX+FZ, FX+FN, dn
        TO_EA   rol.w, "", w, 2, 0x8001, 0x3, 0, FC, ind,inc,dec,disp,idx,absw,absl
        TO_EA   rol.w, "", w, 2, 0x4000, 0x8000, FX+FV, FX+FN, ind,inc,dec,disp,idx,absw,absl
| ROR
        TO_EA   ror.b, "#1,", b, 1, 0xB5, 0xDA, 0, FN+FC, dn
        TO_EA   ror.b, "#3,", b, 1, 0x40, 0x8, FX+FV, FX, dn
        TO_EA   ror.b, "#8,", b, 1, 0xB5, 0xB5, FX+FN+FZ+FV+FC, FX+FN+FC, dn
        move.l  #0x0,%d1
        TO_EA   ror.b, "%d1,", b, 1, 0xB5, 0xB5, FX+FV+FC, FX+FN, dn
        move.l  #0xFFFFFF05,%d1
        TO_EA   ror.b, "%d1,", b, 1, 0x40, 0x2, 0, 0, dn
        move.l  #0x11,%d1
        TO_EA   ror.b, "%d1,", b, 1, 0xB5, 0xDA, FX, FX+FN+FC, dn
        move.l  #0xFFFFFF1F,%d1
        TO_EA   ror.b, "%d1,", b, 1, 0x40, 0x80, FX+FZ, FX+FN+FC, dn
        move.l  #0x21,%d1
        TO_EA   ror.b, "%d1,", b, 1, 0xB5, 0xDA, FX+FV+FC, FX+FN+FC, dn
        move.l  #0xFFFFFF3F,%d1
        TO_EA   ror.b, "%d1,", b, 1, 0x40, 0x80, 0, FN+FC, dn
        move.l  #0x40,%d1
        TO_EA   ror.b, "%d1,", b, 1, 0xB5, 0xB5, FX, FX+FN, dn
        move.l  #0xFFFFFF41,%d1
        TO_EA   ror.b, "%d1,", b, 1, 0x40, 0x20, FX+FZ, FX, dn
        TO_EA   ror.w, "#1,", w, 2, 0xC001, 0xE000, 0, FN+FC, dn
        TO_EA   ror.w, "#3,", w, 2, 0x7FFE, 0xCFFF, FX+FV, FX+FN+FC, dn
        TO_EA   ror.w, "#8,", w, 2, 0xC001, 0x1C0, FX+FN+FZ+FV+FC, FX, dn
        move.l  #0x0,%d1
        TO_EA   ror.w, "%d1,", w, 2, 0xC001, 0xC001, FX+FV+FC, FX+FN, dn
        move.l  #0xFFFFFF05,%d1
        TO_EA   ror.w, "%d1,", w, 2, 0x7FFE, 0xF3FF, 0, FN+FC, dn
        move.l  #0x11,%d1
        TO_EA   ror.w, "%d1,", w, 2, 0xC001, 0xE000, FX, FX+FN+FC, dn
        move.l  #0xFFFFFF1F,%d1
        TO_EA   ror.w, "%d1,", w, 2, 0x7FFE, 0xFFFC, FX+FZ, FX+FN+FC, dn
        move.l  #0x21,%d1
        TO_EA   ror.w, "%d1,", w, 2, 0xC001, 0xE000, FX+FV+FC, FX+FN+FC, dn
        move.l  #0xFFFFFF3F,%d1
        TO_EA   ror.w, "%d1,", w, 2, 0x7FFE, 0xFFFC, 0, FN+FC, dn
        move.l  #0x40,%d1
        TO_EA   ror.w, "%d1,", w, 2, 0xC001, 0xC001, FX, FX+FN, dn
        move.l  #0xFFFFFF41,%d1
        TO_EA   ror.w, "%d1,", w, 2, 0x7FFE, 0x3FFF, FX+FZ, FX, dn
        TO_EA   ror.l, "#1,", l, 4, 0x80000001, 0xC0000000, 0, FN+FC, dn
        TO_EA   ror.l, "#3,", l, 4, 0x40000000, 0x8000000, FX+FV, FX, dn
        TO_EA   ror.l, "#8,", l, 4, 0x80000001, 0x1800000, FX+FN+FZ+FV+FC, FX, dn
        move.l  #0x0,%d1
        TO_EA   ror.l, "%d1,", l, 4, 0x80000001, 0x80000001, FX+FV+FC, FX+FN, dn
        move.l  #0xFFFFFF05,%d1
        TO_EA   ror.l, "%d1,", l, 4, 0x40000000, 0x2000000, 0, 0, dn
        move.l  #0x11,%d1
        TO_EA   ror.l, "%d1,", l, 4, 0x80000001, 0xC000, FX, FX, dn
        move.l  #0xFFFFFF1F,%d1
        TO_EA   ror.l, "%d1,", l, 4, 0x40000000, 0x80000000, FX+FZ, FX+FN+FC, dn
        move.l  #0x21,%d1
        TO_EA   ror.l, "%d1,", l, 4, 0x80000001, 0xC0000000, FX+FV+FC, FX+FN+FC, dn
        move.l  #0xFFFFFF3F,%d1
        TO_EA   ror.l, "%d1,", l, 4, 0x40000000, 0x80000000, 0, FN+FC, dn
        move.l  #0x40,%d1
        TO_EA   ror.l, "%d1,", l, 4, 0x80000001, 0x80000001, FX, FX+FN, dn
        move.l  #0xFFFFFF41,%d1
        TO_EA   ror.l, "%d1,", l, 4, 0x40000000, 0x20000000, FX+FZ, FX, dn
        TO_EA   ror.w, "", w, 2, 0x8001, 0xC000, 0, FN+FC, ind,inc,dec,disp,idx,absw,absl
        TO_EA   ror.w, "", w, 2, 0x4000, 0x2000, FX+FV, FX, ind,inc,dec,disp,idx,absw,absl
| ROXL
        TO_EA   roxl.b, "#1,", b, 1, 0xB5, 0x6A, 0, FX+FC, dn
        TO_EA   roxl.b, "#3,", b, 1, 0x40, 0x5, FX+FV, 0, dn
        TO_EA   roxl.b, "#8,", b, 1, 0xB5, 0xDA, FX+FN+FZ+FV+FC, FX+FN+FC, dn
        move.l  #0x0,%d1
        TO_EA   roxl.b, "%d1,", b, 1, 0xB5, 0xB5, FX+FV+FC, FX+FN+FC, dn
        move.l  #0xFFFFFF05,%d1
        TO_EA   roxl.b, "%d1,", b, 1, 0x40, 0x4, 0, 0, dn
        move.l  #0x11,%d1
        TO_EA   roxl.b, "%d1,", b, 1, 0xB5, 0xDA, FX, FX+FN+FC, dn
        move.l  #0xFFFFFF1F,%d1
        TO_EA   roxl.b, "%d1,", b, 1, 0x40, 0xA, FX+FZ, 0, dn
        move.l  #0x21,%d1
        TO_EA   roxl.b, "%d1,", b, 1, 0xB5, 0x76, FX+FV+FC, FX+FC, dn
        move.l  #0xFFFFFF3F,%d1
        TO_EA   roxl.b, "%d1,", b, 1, 0x40, 0x40, 0, 0, dn
        move.l  #0x40,%d1
        TO_EA   roxl.b, "%d1,", b, 1, 0xB5, 0xB5, FX, FX+FN+FC, dn
        move.l  #0xFFFFFF41,%d1
        TO_EA   roxl.b, "%d1,", b, 1, 0x40, 0x81, FX+FZ, FN, dn
        TO_EA   roxl.w, "#1,", w, 2, 0xC001, 0x8002, 0, FX+FN+FC, dn
        TO_EA   roxl.w, "#3,", w, 2, 0x7FFE, 0xFFF5, FX+FV, FX+FN+FC, dn
        TO_EA   roxl.w, "#8,", w, 2, 0xC001, 0x1E0, FX+FN+FZ+FV+FC, 0, dn
        move.l  #0x0,%d1
        TO_EA   roxl.w, "%d1,", w, 2, 0xC001, 0xC001, FX+FV+FC, FX+FN+FC, dn
        move.l  #0xFFFFFF05,%d1
        TO_EA   roxl.w, "%d1,", w, 2, 0x7FFE, 0xFFC7, 0, FX+FN+FC, dn
        move.l  #0x11,%d1
        TO_EA   roxl.w, "%d1,", w, 2, 0xC001, 0xC001, FX, FX+FN+FC, dn
        move.l  #0xFFFFFF1F,%d1
        TO_EA   roxl.w, "%d1,", w, 2, 0x7FFE, 0xAFFF, FX+FZ, FX+FN+FC, dn
        move.l  #0x21,%d1
        TO_EA   roxl.w, "%d1,", w, 2, 0xC001, 0xE000, FX+FV+FC, FX+FN+FC, dn
        move.l  #0xFFFFFF3F,%d1
        TO_EA   roxl.w, "%d1,", w, 2, 0x7FFE, 0xE3FF, 0, FX+FN+FC, dn
        move.l  #0x40,%d1
        TO_EA   roxl.w, "%d1,", w, 2, 0xC001, 0xC001, FX, FX+FN+FC, dn
        move.l  #0xFFFFFF41,%d1
        TO_EA   roxl.w, "%d1,", w, 2, 0x7FFE, 0xFFFD, FX+FZ, FN, dn
        TO_EA   roxl.l, "#1,", l, 4, 0x80000001, 0x2, 0, FX+FC, dn
        TO_EA   roxl.l, "#3,", l, 4, 0x40000000, 0x5, FX+FV, 0, dn
        TO_EA   roxl.l, "#8,", l, 4, 0x80000001, 0x1C0, FX+FN+FZ+FV+FC, 0, dn
        move.l  #0x0,%d1
        TO_EA   roxl.l, "%d1,", l, 4, 0x80000001, 0x80000001, FX+FV+FC, FX+FN+FC, dn
        move.l  #0xFFFFFF05,%d1
        TO_EA   roxl.l, "%d1,", l, 4, 0x40000000, 0x4, 0, 0, dn
        move.l  #0x11,%d1
        TO_EA   roxl.l, "%d1,", l, 4, 0x80000001, 0x38000, FX, 0, dn
        move.l  #0xFFFFFF1F,%d1
        TO_EA   roxl.l, "%d1,", l, 4, 0x40000000, 0x50000000, FX+FZ, 0, dn
        move.l  #0x21,%d1
        TO_EA   roxl.l, "%d1,", l, 4, 0x80000001, 0x80000001, FX+FV+FC, FX+FN+FC, dn
        move.l  #0xFFFFFF3F,%d1
        TO_EA   roxl.l, "%d1,", l, 4, 0x40000000, 0x8000000, 0, 0, dn
        move.l  #0x40,%d1
        TO_EA   roxl.l, "%d1,", l, 4, 0x80000001, 0x80000001, FX, FX+FN+FC, dn
        move.l  #0xFFFFFF41,%d1
        TO_EA   roxl.l, "%d1,", l, 4, 0x40000000, 0x80000001, FX+FZ, FN, dn
        TO_EA   roxl.w, "", w, 2, 0x8001, 0x2, 0, FX+FC, ind,inc,dec,disp,idx,absw,absl
        TO_EA   roxl.w, "", w, 2, 0x4000, 0x8001, FX+FV, FN, ind,inc,dec,disp,idx,absw,absl
| ROXR
        TO_EA   roxr.b, "#1,", b, 1, 0xB5, 0x5A, 0, FX+FC, dn
        TO_EA   roxr.b, "#3,", b, 1, 0x40, 0x28, FX+FV, 0, dn
        TO_EA   roxr.b, "#8,", b, 1, 0xB5, 0x6B, FX+FN+FZ+FV+FC, FX+FC, dn
        move.l  #0x0,%d1
        TO_EA   roxr.b, "%d1,", b, 1, 0xB5, 0xB5, FX+FV+FC, FX+FN+FC, dn
        move.l  #0xFFFFFF05,%d1
        TO_EA   roxr.b, "%d1,", b, 1, 0x40, 0x2, 0, 0, dn
        move.l  #0x11,%d1
        TO_EA   roxr.b, "%d1,", b, 1, 0xB5, 0x6B, FX, FX+FC, dn
        move.l  #0xFFFFFF1F,%d1
        TO_EA   roxr.b, "%d1,", b, 1, 0x40, 0x14, FX+FZ, 0, dn
        move.l  #0x21,%d1
        TO_EA   roxr.b, "%d1,", b, 1, 0xB5, 0xAE, FX+FV+FC, FX+FN+FC, dn
        move.l  #0xFFFFFF3F,%d1
        TO_EA   roxr.b, "%d1,", b, 1, 0x40, 0x40, 0, 0, dn
        move.l  #0x40,%d1
        TO_EA   roxr.b, "%d1,", b, 1, 0xB5, 0xB5, FX, FX+FN+FC, dn
        move.l  #0xFFFFFF41,%d1
        TO_EA   roxr.b, "%d1,", b, 1, 0x40, 0xA0, FX+FZ, FN, dn
        TO_EA   roxr.w, "#1,", w, 2, 0xC001, 0x6000, 0, FX+FC, dn
        TO_EA   roxr.w, "#3,", w, 2, 0x7FFE, 0xAFFF, FX+FV, FX+FN+FC, dn
        TO_EA   roxr.w, "#8,", w, 2, 0xC001, 0x3C0, FX+FN+FZ+FV+FC, 0, dn
        move.l  #0x0,%d1
        TO_EA   roxr.w, "%d1,", w, 2, 0xC001, 0xC001, FX+FV+FC, FX+FN+FC, dn
        move.l  #0xFFFFFF05,%d1
        TO_EA   roxr.w, "%d1,", w, 2, 0x7FFE, 0xE3FF, 0, FX+FN+FC, dn
        move.l  #0x11,%d1
        TO_EA   roxr.w, "%d1,", w, 2, 0xC001, 0xC001, FX, FX+FN+FC, dn
        move.l  #0xFFFFFF1F,%d1
        TO_EA   roxr.w, "%d1,", w, 2, 0x7FFE, 0xFFF5, FX+FZ, FX+FN+FC, dn
        move.l  #0x21,%d1
        TO_EA   roxr.w, "%d1,", w, 2, 0xC001, 0x8003, FX+FV+FC, FX+FN+FC, dn
        move.l  #0xFFFFFF3F,%d1
        TO_EA   roxr.w, "%d1,", w, 2, 0x7FFE, 0xFFC7, 0, FX+FN+FC, dn
        move.l  #0x40,%d1
        TO_EA   roxr.w, "%d1,", w, 2, 0xC001, 0xC001, FX, FX+FN+FC, dn
        move.l  #0xFFFFFF41,%d1
        TO_EA   roxr.w, "%d1,", w, 2, 0x7FFE, 0xBFFF, FX+FZ, FN, dn
        TO_EA   roxr.l, "#1,", l, 4, 0x80000001, 0x40000000, 0, FX+FC, dn
        TO_EA   roxr.l, "#3,", l, 4, 0x40000000, 0x28000000, FX+FV, 0, dn
        TO_EA   roxr.l, "#8,", l, 4, 0x80000001, 0x3800000, FX+FN+FZ+FV+FC, 0, dn
        move.l  #0x0,%d1
        TO_EA   roxr.l, "%d1,", l, 4, 0x80000001, 0x80000001, FX+FV+FC, FX+FN+FC, dn
        move.l  #0xFFFFFF05,%d1
        TO_EA   roxr.l, "%d1,", l, 4, 0x40000000, 0x2000000, 0, 0, dn
        move.l  #0x11,%d1
        TO_EA   roxr.l, "%d1,", l, 4, 0x80000001, 0x1C000, FX, 0, dn
        move.l  #0xFFFFFF1F,%d1
        TO_EA   roxr.l, "%d1,", l, 4, 0x40000000, 0x2, FX+FZ, FX+FC, dn
        move.l  #0x21,%d1
        TO_EA   roxr.l, "%d1,", l, 4, 0x80000001, 0x80000001, FX+FV+FC, FX+FN+FC, dn
        move.l  #0xFFFFFF3F,%d1
        TO_EA   roxr.l, "%d1,", l, 4, 0x40000000, 0x1, 0, 0, dn
        move.l  #0x40,%d1
        TO_EA   roxr.l, "%d1,", l, 4, 0x80000001, 0x80000001, FX, FX+FN+FC, dn
        move.l  #0xFFFFFF41,%d1
        TO_EA   roxr.l, "%d1,", l, 4, 0x40000000, 0xA0000000, FX+FZ, FN, dn
        TO_EA   roxr.w, "", w, 2, 0x8001, 0x4000, 0, FX+FC, ind,inc,dec,disp,idx,absw,absl
        TO_EA   roxr.w, "", w, 2, 0x4000, 0xA000, FX+FV, FN, ind,inc,dec,disp,idx,absw,absl

        EPILOGUE
