| ABCD, SBCD (register and predecrement forms) and NBCD in every
| data-alterable mode. Z only ever clears; V is never touched.
        .include "alu_operands.inc"
        PROLOGUE

        XFORMS  abcd, b, 1, 0x01, 0x99, 0x00, FZ, FX+FZ+FC
        XFORMS  abcd, b, 1, 0x01, 0x99, 0x00, 0, FX+FC
        XFORMS  abcd, b, 1, 0x38, 0x45, 0x83, FZ, FN
        XFORMS  abcd, b, 1, 0x38, 0x45, 0x84, FX+FZ+FV, FN+FV
        XFORMS  abcd, b, 1, 0x50, 0x50, 0x01, FX+FZ+FV, FX+FV+FC
        XFORMS  abcd, b, 1, 0x19, 0x28, 0x47, FN+FV+FC, FV
        XFORMS  sbcd, b, 1, 0x01, 0x00, 0x99, 0, FX+FN+FC
        XFORMS  sbcd, b, 1, 0x13, 0x42, 0x28, FX+FZ, 0
        XFORMS  sbcd, b, 1, 0x25, 0x25, 0x00, FZ+FV, FZ+FV
        XFORMS  sbcd, b, 1, 0x25, 0x25, 0x99, FX+FZ, FX+FN+FC
        TO_EA   nbcd, "", b, 1, 0x00, 0x00, FZ, FZ, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   nbcd, "", b, 1, 0x00, 0x99, FX+FZ, FX+FN+FC, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   nbcd, "", b, 1, 0x10, 0x90, FV, FX+FN+FV+FC, dn,ind,inc,dec,disp,idx,absw,absl
        TO_EA   nbcd, "", b, 1, 0x01, 0x98, FX+FZ, FX+FN+FC, dn,absl

        EPILOGUE
