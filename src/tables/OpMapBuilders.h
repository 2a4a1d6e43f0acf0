// The instruction builders the line builders run, and the small writers they
// share. Each builder walks its opcode range in ascending order, accepts an
// opcode by its operand and size masks and fixed-bit tests, and writes only the
// fields it names; a later builder overwrites what an earlier one wrote.
#pragma once
#include <cstdint>
#include <string>
#include <utility>

#include "tables/Helpers.h"
#include "tables/McNames.h"
#include "tables/OpMap.h"
#include "tables/OperandFields.h"

namespace korva {

// Opcode fields by bit range (inclusive), through the shared BitField.
inline uint16_t OpField(uint32_t opcode, int bitA, int bitB) {
  return static_cast<uint16_t>(BitField(opcode, bitA, bitB));
}
inline uint16_t OpReg(uint32_t opcode) { return OpField(opcode, 2, 0); }     // n
inline uint16_t OpMode(uint32_t opcode) { return OpField(opcode, 5, 3); }    // ea mode
inline uint16_t OpSize(uint32_t opcode) { return OpField(opcode, 7, 6); }
inline uint16_t OpReg2(uint32_t opcode) { return OpField(opcode, 11, 9); }   // r

inline void SetTemplate(uint32_t opcode, uint16_t formatCode, std::string text) {
  OpTextEntry& t = OpText[opcode & 0xFFFF];
  t.FormatCode = formatCode;
  t.Text = std::move(text);
}

inline void SetStart(uint32_t opcode, uint32_t start) { OpMap[opcode & 0xFFFF].SupervisorStart = start; }

inline void SetPrivileged(uint32_t opcode) {
  OpMapEntry& e = OpMap[opcode & 0xFFFF];
  e.UserStart = McPrivilege;
  e.Privileged = 0xFFFF;
}

inline void SetSize(uint32_t opcode, uint16_t size) { OpMap[opcode & 0xFFFF].Size = size; }
inline void SetExtra1(uint32_t opcode, int32_t v) { OpMap[opcode & 0xFFFF].Extra1 = v; }
inline void SetExtra2(uint32_t opcode, int32_t v) { OpMap[opcode & 0xFFFF].Extra2 = v; }

// Line 0000
void MapOri();
void MapAndi();
void MapEori();
void MapAddi();
void MapSubi();
void MapCmpi();
void MapMoves();
void MapBitStatic();
void MapBitDynamicAll();
void MapBitDynamic(uint16_t r);
void MapMovep();
void MapCmp2Chk2();

// Line 0100
void MapNegx();
void MapChkAll();
void MapChk(uint16_t r);
void MapLeaAll();
void MapLea(uint16_t r);
void MapClr();
void MapMoveFromCcr();
void MapNeg();
void MapMoveToCcr();
void MapNot();
void MapMoveToSr();
void MapNbcd();
void MapSwap();
void MapBkpt();
void MapPea();
void MapExt();
void MapMovemToMem();
void MapTst();
void MapTas();
void MapIllegal();
void MapMovemToReg();
void MapTrap();
void MapLink();
void MapUnlk();
void MapMoveToUsp();
void MapMoveFromUsp();
void MapReset();
void MapNop();
void MapStop();
void MapRte();
void MapRtd();
void MapRts();
void MapTrapv();
void MapRtr();
void MapMovec();
void MapJsr();
void MapJmp();
void MapMulLong();
void MapDivLong();

// Lines 0001 to 0111
void MapMoveByte();
void MapMoveWord();
void MapMoveLong();
void MapMoveaWord();
void MapMoveaLong();
void MapAddq();
void MapSubq();
void MapScc();
void MapDbcc();
void MapTrapcc();
void MapBcc();
void MapMoveq();

// Lines 1000 to 1110
void MapOr();
void MapSbcd();
void MapDivWord();
void MapSub();
void MapSuba();
void MapSubx();
void MapEorCmp();
void MapCmpa();
void MapCmpm();
void MapAnd();
void MapAbcd();
void MapMulWord();
void MapExg();
void MapAdd();
void MapAdda();
void MapAddx();
void MapShiftRegister();
void MapShiftMemory();

}  // namespace korva
