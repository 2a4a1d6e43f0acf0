#!/usr/bin/env bash
# Writes an assembler source holding every instruction of the MC68010 (or of
# CPU32 with its additions) in every addressing mode the assembler accepts,
# and branches of each size forward and backward; assembles it into a plain
# binary and lists that with objdump at 0x10000, for the disassembler's
# comparison with objdump.
#
#   DisasmCorpus.sh 68010|cpu32 <as> <objcopy> <objdump> <output base>
#     writes <base>.s, <base>.bin and <base>.dis
#
# Candidates are written for every mnemonic, size and operand mode; the
# assembler then says which lines it refuses, and those are dropped.
set -euo pipefail
cpu=$1 as=$2 objcopy=$3 objdump=$4 base=$5
out=$base.s
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Operand forms: one line per form in each list.
ea_all=(%d3 %a2 "(%a1)" "(%a1)+" "-(%a1)" "(16,%a1)" "(-2,%a6)" "(4,%a1,%d2.w)" "(-4,%a0,%a3.l)"
        "(0x1234).w" "(0xFFFE).w" "(0x12345678).l" "(8,%pc)" "(-6,%pc)" "(6,%pc,%d1.w)" "(-2,%pc,%a4.l)")
if [ "$cpu" = cpu32 ]; then
  ea_all+=("(4,%a1,%d2.w*4)" "(-2,%a0,%a3.l*8)" "(2,%pc,%d1.w*2)" "(0x1234,%a1,%d2.l*2)"
           "(0x12345678,%a1,%d2.w)" "(-300,%a1,%a2.l*4)" "(0x1234,%d2.w*4)" "(4,%za1,%d2.w)"
           "(4,%a1,%zd2.w)" "(0x1000,%pc,%d3.l)" "(0x123456,%pc,%d3.w*2)")
fi
imm() {  # an immediate of the size letter $1
  case $1 in b) echo "#0x7F" ;; w) echo "#0x1234" ;; *) echo "#0x12345678" ;; esac
}
conds=(t f hi ls cc cs ne eq vc vs pl mi ge lt gt le)
bconds=(ra sr hi ls cc cs ne eq vc vs pl mi ge lt gt le)

{
  echo "        .text"
  echo "corpus_start:"
  # <ea>,Dn / <ea>,An and Dn,<ea>
  for m in add sub and or cmp; do
    for s in b w l; do
      for e in "${ea_all[@]}" "$(imm $s)"; do echo "        $m.$s $e,%d5"; done
      [ $m = cmp ] && continue
      for e in "${ea_all[@]}"; do echo "        $m.$s %d5,$e"; done
    done
  done
  for s in b w l; do for e in "${ea_all[@]}"; do echo "        eor.$s %d5,$e"; done; done
  for m in adda suba cmpa movea; do
    for s in w l; do for e in "${ea_all[@]}" "$(imm $s)"; do echo "        $m.$s $e,%a3"; done; done
  done
  for m in chk.w divu.w divs.w mulu.w muls.w chk.l; do
    for e in "${ea_all[@]}" "#0x1234"; do echo "        $m $e,%d4"; done
  done
  for e in "${ea_all[@]}"; do
    echo "        lea $e,%a3"
    echo "        pea $e"
    echo "        jsr $e"
    echo "        jmp $e"
    echo "        nbcd $e"
    echo "        tas $e"
    for c in "${conds[@]}"; do echo "        s$c $e"; done
  done
  # Immediate forms, quick forms and MOVEQ
  for m in ori andi eori addi subi cmpi; do
    for s in b w l; do for e in "${ea_all[@]}"; do echo "        $m.$s $(imm $s),$e"; done; done
  done
  for m in ori andi eori; do echo "        $m.b #0x1F,%ccr"; echo "        $m.w #0x2700,%sr"; done
  for m in addq subq; do
    for s in b w l; do for e in "${ea_all[@]}"; do echo "        $m.$s #1,$e"; echo "        $m.$s #8,$e"; done; done
  done
  for v in 0 1 -1 127 -128; do echo "        moveq #$v,%d6"; done
  # One-operand instructions
  for m in clr neg negx not tst; do
    for s in b w l; do for e in "${ea_all[@]}" "$(imm $s)"; do echo "        $m.$s $e"; done; done
  done
  for r in 0 7; do echo "        swap %d$r"; echo "        ext.w %d$r"; echo "        ext.l %d$r"; echo "        extb.l %d$r"; done
  # MOVE in every pair of modes
  for s in b w l; do
    for e in "${ea_all[@]}" "$(imm $s)"; do
      for d in "${ea_all[@]}"; do echo "        move.$s $e,$d"; done
    done
  done
  for e in "${ea_all[@]}" "#0x2700"; do
    echo "        move.w $e,%sr"
    echo "        move.w $e,%ccr"
    echo "        move.w %sr,$e"
    echo "        move.w %ccr,$e"
  done
  echo "        move.l %a3,%usp"
  echo "        move.l %usp,%a4"
  # Shifts and rotates
  for m in asl asr lsl lsr rol ror roxl roxr; do
    for s in b w l; do echo "        $m.$s #1,%d1"; echo "        $m.$s #8,%d1"; echo "        $m.$s %d2,%d1"; done
    for e in "${ea_all[@]}"; do echo "        $m.w $e"; done
  done
  # Bit operations
  for m in btst bchg bclr bset; do
    for e in "${ea_all[@]}" "#0x12"; do echo "        $m #3,$e"; echo "        $m #31,$e"; echo "        $m %d1,$e"; done
  done
  # MOVEP, MOVEM
  for s in w l; do
    echo "        movep.$s (8,%a1),%d0"; echo "        movep.$s %d0,(-8,%a1)"
    for e in "${ea_all[@]}"; do
      echo "        movem.$s %d0-%d3/%a5,$e"
      echo "        movem.$s %d0,$e"
      echo "        movem.$s %a7,$e"
      echo "        movem.$s $e,%d0/%a7"
      echo "        movem.$s $e,%d0-%d7/%a0-%a6"
    done
  done
  # Register pairs
  for m in abcd sbcd; do echo "        $m %d1,%d2"; echo "        $m -(%a1),-(%a2)"; done
  for m in addx subx; do for s in b w l; do echo "        $m.$s %d1,%d2"; echo "        $m.$s -(%a1),-(%a2)"; done; done
  for s in b w l; do echo "        cmpm.$s (%a1)+,(%a2)+"; done
  echo "        exg %d1,%d2"; echo "        exg %a1,%a2"; echo "        exg %d1,%a2"
  # Program control without branches
  echo "        link.w %a6,#-8"; echo "        link.w %a0,#0x7FFF"; echo "        link.l %a6,#-100000"; echo "        unlk %a6"
  for v in 0 7 15; do echo "        trap #$v"; done
  for v in 0 7; do echo "        bkpt #$v"; done
  for m in trapv rtr rts rte nop reset illegal bgnd; do echo "        $m"; done
  echo "        rtd #8"; echo "        stop #0x2700"; echo "        lpstop #0x2700"
  for c in "${conds[@]}"; do echo "        trap$c"; echo "        trap$c.w #0x1234"; echo "        trap$c.l #0x12345678"; done
  for r in sfc dfc usp vbr; do echo "        movec %$r,%d0"; echo "        movec %a5,%$r"; done
  for s in b w l; do
    for e in "${ea_all[@]}"; do echo "        moves.$s %d0,$e"; echo "        moves.$s $e,%a1"; done
  done
  # CPU32 long multiply and divide, bounds, tables
  for e in "${ea_all[@]}" "#0x12345678"; do
    for m in mulu.l muls.l divu.l divs.l; do echo "        $m $e,%d1"; echo "        $m $e,%d2:%d1"; done
    echo "        divul.l $e,%d2:%d1"; echo "        divsl.l $e,%d2:%d1"
  done
  for s in b w l; do
    for e in "${ea_all[@]}"; do
      echo "        cmp2.$s $e,%d1"; echo "        chk2.$s $e,%a2"
      for m in tbls tblu tblsn tblun; do echo "        $m.$s $e,%d1"; done
    done
    for m in tbls tblu tblsn tblun; do echo "        $m.$s %d2:%d3,%d1"; done
  done
  # Branches: short and word forms, forward and backward, far ones, DBcc.
  k=0
  for c in "${bconds[@]}"; do
    k=$((k + 1))
    echo "back_$k:"
    echo "        nop"
    for sz in s w l; do
      echo "        b$c.$sz back_$k"
      echo "        b$c.$sz ahead_$k"
      echo "        b$c.$sz corpus_start"
    done
    echo "        nop"
    echo "ahead_$k:"
  done
  for c in "${conds[@]}" ra; do
    echo "dback_$c:"
    echo "        db$c %d0,dback_$c"
    echo "        db$c %d7,dahead_$c"
    echo "        db$c %d1,corpus_start"
    echo "dahead_$c:"
  done
  echo "        bra.s ."
  echo "        bra.w corpus_end"
  echo "        bsr.w corpus_end"
  echo "corpus_end:"
  echo "        nop"
} > "$tmp/candidates.s"

# The lines the assembler refuses, dropped; everything else kept in order.
"$as" -mcpu="$cpu" -o "$tmp/c.o" "$tmp/candidates.s" 2> "$tmp/errors" || true
grep -o '^[^:]*:[0-9]*: Error' "$tmp/errors" | sed 's/^[^:]*:\([0-9]*\): Error/\1/' | sort -un > "$tmp/refused"
awk 'NR == FNR { bad[$1] = 1; next } !(FNR in bad)' "$tmp/refused" "$tmp/candidates.s" > "$out"

"$as" -mcpu="$cpu" -o "$tmp/corpus.o" "$out"
"$objcopy" -O binary -j .text "$tmp/corpus.o" "$base.bin"
"$objdump" -D -b binary -m "m68k:$cpu" --adjust-vma=0x10000 "$base.bin" > "$base.dis"
