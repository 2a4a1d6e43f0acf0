// The three 65536-entry decode tables: the opcode map (OpMap, declared in
// OpMapEntry.h), the disassembly templates (OpText) and the pre-decoded index
// extension words (ExtWordTable), and the builders that fill them for the
// current CPU model (CpuType) and physical-move option (MovePhysEn).
//
// Start-up and the rebuild command:  ClearOpMap, ClearOpText, SelectCpu68010,
//                                    BuildOpMap, BuildExtWordTable.
// MC68000 <-> MC68010:               the model selection, then MapMoveFromSr.
// to or from CPU32:                  ClearOpMap, ClearOpText, the selection,
//                                    BuildOpMap, BuildExtWordTable.
// physical-move option toggled:      MovePhysEn := new state, MapMovePhysical.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tables/OpMapEntry.h"
#include "tables/Types.h"

namespace korva {

// Disassembly template of one opcode word.
struct OpTextEntry {
  uint16_t FormatCode;  // how the disassembler reads the extension words; 0 when unmapped
  uint32_t Value;       // per-opcode counter kept by the disassembler side
  std::string Text;     // template such as "ORI.B #data,(A3)+"; "" when unmapped
};

// Pre-decoded brief or full index extension word.
struct ExtWordEntry {
  uint16_t DA;        // 0 data register index, 1 address register
  uint16_t WL;        // 0 sign-extended word index, 1 long index
  uint16_t Reg;       // index register number 0-7
  uint16_t Scale;     // bits 10-9 on CPU32, else 0
  int32_t Disp8;      // bits 7-0 sign-extended
  uint16_t RegField;  // bits 15-12: 0-7 D0-D7, 8-15 A0-A7
  VBool Full;         // full-format extension word (CPU32 only)
  VBool BS;           // base register suppressed (full format)
  VBool IS;           // index suppressed (full format)
  uint16_t BDSize;    // base displacement size (full format)
  uint16_t IIS;       // index/indirect selection (full format)
  VBool Unsupported;  // full format this processor does not decode
};

extern OpTextEntry OpText[65536];
extern ExtWordEntry ExtWordTable[65536];

void ClearOpMap();
void ClearOpText();
// Runs the sixteen line builders and the defaulting pass. Expects CpuType and
// MovePhysEn set and both tables cleared.
void BuildOpMap();
void BuildExtWordTable();

// MOVE from SR, privileged except on the MC68000; also run alone on a switch
// between the MC68000 and the MC68010.
void MapMoveFromSr();
// (Re)writes 0xFE00-0xFFFF from MovePhysEn; also run alone when it toggles.
void MapMovePhysical();

void MapLine0000();
void MapLine0001();
void MapLine0010();
void MapLine0011();
void MapLine0100();
void MapLine0101();
void MapLine0110();
void MapLine0111();
void MapLine1000();
void MapLine1001();
void MapLine1010();
void MapLine1011();
void MapLine1100();
void MapLine1101();
void MapLine1110();
void MapLine1111();

// Every distinct SupervisorStart and UserStart in OpMap, ascending.
std::vector<uint32_t> OpMapStartAddresses();

}  // namespace korva
