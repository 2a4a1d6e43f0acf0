// The control-store image. Each chain is written from its block address; T is the
// tail (trace 186, interrupt 85, fetch 68) that ends almost every instruction.
#include "cpu/ControlStore.h"

namespace korva {

McEntry Microcode[McStoreSize];

namespace {

// Image notation: a number 1-196 is a call; T expands to the tail; J(a) is a jump.
constexpr int T = -1;
constexpr int J(int target) { return -1000 - target; }
constexpr int End = -999;  // ends a chain in the table below

// Block address followed by its words, each chain closed by End.
constexpr int kImage[] = {
    // Fixed entries.
    16, 152, 68, End,                 // reset, then the first fetch
    32, 57, J(32), End,               // idle loop
    48, 82, J(32), End,               // halt
    64, 84, J(48), End,               // microcode fault: internal-error report, then halt
    80, 68, End,                      // start entry of Execute and Go
    96, 68, End,                      // fast fetch
    112, T, End,                      // the tail alone
    128, 195, T, End,                 // STOP wait
    144, 29, 68, End,                 // bus error
    160, 12, 68, End,                 // address error
    176, 30, 68, End,                 // MC68000 bus error chain (not entered)
    192, 13, 68, End,                 // MC68000 address error chain (not entered)
    208, 64, 68, End,                 // format error
    224, 142, 85, 68, End,            // privilege violation
    240, 31, 85, 68, End,             // illegal instruction, second entry
    256, 83, 85, 68, End,             // illegal instruction
    272, 14, 85, 68, End,             // line 1010
    288, 71, 85, 68, End,             // line 1111
    304, 187, T, End,                 // TRAP
    320, 189, 190, T, End,            // TRAPV
    336, 188, 190, T, End,            // TRAPcc without operand
    352, 66, 188, 190, T, End,        // TRAPcc with an operand
    368, 39, 75, 73, 41, 42, T, End,  // CHK
    384, 65, 39, 77, 46, 42, T, End,  // CMP2, CHK2
    400, 163, T, End,                 // MC68000 RTE chain (not entered)
    416, 162, T, End,                 // RTE
    432, 165, T, End,                 // RTS
    448, 164, T, End,                 // RTR
    464, 161, T, End,                 // RTD
    480, 133, T, End,                 // NOP
    496, 70, 168, 195, T, End,        // STOP
    // EXG, EXT, MOVPHY, MOVEQ
    512, 62, T, End, 528, 63, T, End, 544, 111, T, End, 560, 112, T, End,
    // MOVE.B
    576, 115, T, End, 592, 39, 76, 97, T, End, 608, 118, 37, 145, T, End,
    624, 39, 76, 100, 37, 145, T, End,
    // MOVE.W
    640, 117, T, End, 656, 39, 81, 99, T, End, 672, 120, 37, 149, T, End,
    688, 39, 81, 102, 37, 149, T, End,
    // MOVE.L
    704, 116, T, End, 720, 39, 79, 98, T, End, 736, 119, 37, 148, T, End,
    752, 39, 79, 101, 37, 148, T, End,
    // MOVEA
    768, 114, T, End, 784, 39, 81, 96, T, End, 800, 113, T, End, 816, 39, 79, 95, T, End,
    // MOVEP register to memory, memory to register
    832, 78, 110, 37, 196, T, End, 848, 39, 150, 110, 147, T, End,
    // MOVEM
    864, 65, 37, 106, T, End, 880, 65, 37, 108, T, End, 896, 65, 39, 104, T, End,
    912, 65, 37, 107, T, End, 928, 65, 37, 109, T, End, 944, 65, 39, 105, T, End,
    // LEA, PEA, LINK, UNLK
    960, 39, 87, T, End, 976, 39, 141, T, End, 992, 70, 88, T, End, 1008, 67, 88, T, End,
    1024, 194, T, End,
    // ADD, ADDA, ADDI, ADDQ, ADDX
    1040, 10, T, End, 1056, 37, 72, 3, 144, T, End, 1072, 39, 75, 5, T, End,
    1088, 39, 75, 4, T, End, 1104, 9, T, End, 1120, 66, 37, 72, 2, 144, T, End,
    1136, 37, 72, 8, 144, T, End, 1152, 7, T, End, 1168, 6, T, End,
    1184, 78, 73, 11, 147, T, End, 1200, 39, 75, 37, 72, 11, 144, T, End,
    // SUB, SUBA, SUBI, SUBQ, SUBX
    1216, 177, T, End, 1232, 37, 72, 170, 144, T, End, 1248, 39, 75, 172, T, End,
    1264, 39, 75, 171, T, End, 1280, 176, T, End, 1296, 66, 37, 72, 169, 144, T, End,
    1312, 37, 72, 175, 144, T, End, 1328, 173, T, End, 1344, 174, T, End,
    1360, 78, 73, 178, 147, T, End, 1376, 39, 75, 37, 72, 178, 144, T, End,
    // CMP, CMPA, CMPI, CMPM
    1392, 39, 75, 48, T, End, 1408, 50, T, End, 1424, 39, 75, 47, T, End, 1440, 49, T, End,
    1456, 66, 37, 72, 45, T, End, 1472, 39, 75, 37, 72, 45, T, End,
    // MULS, MULU, MULx.L, DIVS, DIVU, DIVx.L
    1488, 39, 75, 126, T, End, 1504, 39, 75, 127, T, End, 1520, 65, 39, 75, 128, T, End,
    1536, 39, 75, 54, 53, T, End, 1552, 39, 75, 55, 53, T, End, 1568, 65, 39, 75, 56, 53, T, End,
    // AND, ANDI
    1584, 16, T, End, 1600, 37, 72, 17, 144, T, End, 1616, 39, 75, 18, T, End,
    1632, 66, 37, 72, 15, 144, T, End,
    // OR, ORI
    1648, 137, T, End, 1664, 37, 72, 138, 144, T, End, 1680, 39, 75, 139, T, End,
    1696, 66, 37, 72, 136, 144, T, End,
    // EOR, EORI
    1712, 59, T, End, 1728, 37, 72, 60, 144, T, End, 1744, 66, 37, 72, 58, 144, T, End,
    // NOT, NEG, NEGX
    1760, 134, T, End, 1776, 37, 72, 135, 144, T, End, 1792, 130, T, End,
    1808, 37, 72, 131, 144, T, End, 1824, 37, 72, 132, 144, T, End,
    // CLR, TST, TAS, SWAP
    1840, 43, T, End, 1856, 37, 44, 144, T, End, 1872, 192, T, End, 1888, 191, T, End,
    1904, 37, 72, 193, T, End, 1920, 37, 180, T, End, 1936, 179, T, End,
    // ASL, ASR
    1952, 20, T, End, 1968, 20, T, End, 1984, 37, 74, 21, 149, T, End,
    2000, 22, T, End, 2016, 22, T, End, 2032, 37, 74, 23, 149, T, End,
    // LSL, LSR
    2048, 90, T, End, 2064, 90, T, End, 2080, 37, 74, 91, 149, T, End,
    2096, 92, T, End, 2112, 92, T, End, 2128, 37, 74, 93, 149, T, End,
    // ROL, ROR
    2144, 153, T, End, 2160, 153, T, End, 2176, 37, 74, 154, 149, T, End,
    2192, 155, T, End, 2208, 155, T, End, 2224, 37, 74, 156, 149, T, End,
    // ROXL, ROXR
    2240, 157, T, End, 2256, 157, T, End, 2272, 37, 74, 158, 149, T, End,
    2288, 159, T, End, 2304, 159, T, End, 2320, 37, 74, 160, 149, T, End,
    // BCHG, BCLR, BSET, BTST (dynamic, static)
    2336, 78, 37, 72, 27, 144, T, End, 2352, 70, 37, 72, 27, 144, T, End,
    2368, 78, 37, 72, 28, 144, T, End, 2384, 70, 37, 72, 28, 144, T, End,
    2400, 78, 37, 72, 35, 144, T, End, 2416, 70, 37, 72, 35, 144, T, End,
    2432, 78, 37, 72, 36, T, End, 2448, 70, 37, 72, 36, T, End,
    // ABCD, SBCD, NBCD
    2464, 78, 73, 1, 147, T, End, 2480, 39, 75, 37, 72, 1, 144, T, End,
    2496, 78, 73, 166, 147, T, End, 2512, 39, 75, 37, 72, 166, 144, T, End,
    2528, 37, 72, 129, 144, T, End,
    // BRA, Bcc, BSR
    2544, 32, T, End, 2560, 65, 34, T, End, 2576, 67, 33, T, End,
    2592, 24, T, End, 2608, 65, 26, T, End, 2624, 67, 25, T, End,
    2640, 143, 32, T, End, 2656, 65, 143, 34, T, End, 2672, 67, 143, 33, T, End,
    // DBcc, Scc, JMP, JSR
    2688, 65, 52, T, End, 2704, 37, 167, 144, T, End, 2720, 39, 86, T, End,
    2736, 39, 143, 86, T, End,
    // moves of CCR and SR, MOVEC
    2752, 39, 75, 103, T, End, 2768, 124, 37, 144, T, End, 2784, 70, 19, T, End,
    2800, 70, 140, T, End, 2816, 70, 61, T, End, 2832, 65, 94, T, End,
    // MOVES: the decode sets mcPC itself; the two jumps are never executed
    2848, 65, 39, 121, J(2864), J(2880), End, 2864, 80, 123, T, End, 2880, 122, 146, T, End,
    // MOVE USP, RESET
    2896, 125, T, End, 2912, 151, T, End,
    // CPU32 line F800 (micro-routine 51 sets mcPC itself)
    2928, 65, 51, End, 2944, 184, T, End, 2960, 39, 181, 77, 185, T, End,
    2976, 182, T, End, 2992, 39, 181, 77, 183, T, End, 3008, 70, 89, 195, T, End,
    // second illegal entry, and a chain no path enters
    3024, 31, 85, 68, End,
    3040, 40, 38, 69, End,
};

}  // namespace

void LoadMicrocode() {
  constexpr int n = static_cast<int>(sizeof(kImage) / sizeof(kImage[0]));
  int i = 0;
  while (i < n) {
    uint32_t at = static_cast<uint32_t>(kImage[i++]);
    for (; i < n && kImage[i] != End; ++i) {
      const int w = kImage[i];
      if (w == T) {
        Microcode[at++] = {McCall, 186};
        Microcode[at++] = {McCall, 85};
        Microcode[at++] = {McCall, 68};
      } else if (w <= -1000) {
        Microcode[at++] = {McJump, static_cast<uint32_t>(-1000 - w)};
      } else {
        Microcode[at++] = {McCall, static_cast<uint32_t>(w)};
      }
    }
    ++i;  // past End
  }
}

void InitMicrocode() {
  for (auto& e : Microcode) e = {McUnfilled, 0};
  LoadMicrocode();
}

void PatchMicrocodeCalls(uint32_t from, uint32_t to) {
  for (auto& e : Microcode)
    if (e.Kind == McCall && e.Arg == from) e.Arg = to;
}

}  // namespace korva
