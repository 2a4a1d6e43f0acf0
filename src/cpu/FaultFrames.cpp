// Bus and address error processing and RTE.
//
// MC68010 and CPU32: a faulted access stacks the 29-word format-8 frame, which
// holds the complete internal state of the interrupted micro-routine (access
// latches, resume point, operand-passing registers). RTE of that frame reloads
// the state and continues the micro-routine at the failed access, so every
// instruction is restartable. MC68000: a 7-word group-0 frame, and RTE pops
// only SR and PC.
//
// Format-8 frame, by word (byte offset = 2 x word):
//   0 SR   1-2 PC   3 0x8000 | vector offset   4 SSW   5-6 access address
//   7 0   8 data out   9 0   10 data in   11 0   12 instruction in
//   13 0x3400 | resume step   14 resume control-store address
//   15 CpuEaFc : internal status   16 opcode   17 extra word   18 extension word
//   19-20 CpuEa   21-22 CpuSop   23-24 CpuDop   25 temp word   26 ext count
//   27-28 instruction address
#include "cpu/AccessSteps.h"
#include "cpu/ControlStore.h"
#include "cpu/ResumeSteps.h"
#include "cpu/classCPU.h"

namespace korva {
namespace {

constexpr uint16_t SswStackWrite = 0x1005;
constexpr uint16_t SswFrameRead = 0x1105;
constexpr int Format8Words = 29;
constexpr int Group0Words = 7;
constexpr uint16_t Format8Marker = 0x3400;  // word 13: frame version bits
constexpr uint16_t Format8MarkerMask = 0x3C00;

// A stacking write or vector read of the error routines faulted: the processor
// cannot take a fault here (double fault) and halts.
inline bool Halted() {
  if (!FaultFlag) return false;
  AbortOnBusFault();
  if (mcPC != McHalt) {  // a fault flagged without its cause still halts
    mcStage = 1;
    mcPC = McHalt;
  }
  return true;
}

inline void PrepareFrameRead(uint32_t address) {
  AccAddress = address;
  SetAccSSW(SswFrameRead);
}
inline void ReadFrameWord(uint32_t address) {
  PrepareFrameRead(address);
  BusReadWord();
}

// A frame RTE cannot take: nothing is popped, on to the format-error exception.
inline void FormatError() {
  mcStage = 1;
  mcPC = McFormatError;
}

// RTE steps 1-4, common to all frames: SR into CpuDop (step 2), the PC's high
// word into CpuTempWord (3) and its low word (4). True with the PC in `pc` when
// all three reads have succeeded.
bool ReadSrAndPc(uint32_t sp, uint32_t& pc) {
  switch (mcStage) {
    case 1:
      PrepareFrameRead(sp);
      [[fallthrough]];
    case 2:
      if (!StepReadWord(2)) return false;
      CpuDop = AccDataIn;  // SR
      PrepareFrameRead(sp + 2);
      [[fallthrough]];
    case 3:
      if (!StepReadWord(3)) return false;
      CpuTempWord = AccDataIn;  // PC high
      PrepareFrameRead(sp + 4);
      [[fallthrough]];
    case 4:
      if (!StepReadWord(4)) return false;
      pc = MakeLong(CpuTempWord, AccDataIn);
      return true;
    default:
      McrMicrocodeFault();
      return false;
  }
}

// Enter the error exception: supervisor mode without trace, stack `words` words
// of the frame buffer below A7 and load the new PC from the vector. Any fault
// halts the processor.
void StackErrorFrame(classCPU& cpu, int words, uint16_t vectorOffset) {
  cpu.srTmode(False);
  cpu.srSmode(True);
  CpuAReg[7] -= static_cast<uint32_t>(2 * words);
  for (int i = 0; i < words; ++i) {
    AccAddress = CpuAReg[7] + static_cast<uint32_t>(2 * i);
    AccDataOut = cpu.FrameBuffer[i];
    SetAccSSW(SswStackWrite);
    BusWriteWord();
    if (Halted()) return;
  }
  ReadFrameWord(CpuVBR + vectorOffset);
  if (Halted()) return;
  const uint16_t high = AccDataIn;
  ReadFrameWord(CpuVBR + vectorOffset + 2);
  if (Halted()) return;
  CpuPC = MakeLong(high, AccDataIn);
  McrEnd();  // on to the fetch: no trace or interrupt step follows
}

}  // namespace

void classCPU::BuildFaultFrame(uint16_t vectorOffset) {
  uint16_t* f = FaultFrame;
  f[0] = SR();
  f[1] = HiWord(CpuPC);
  f[2] = LoWord(CpuPC);
  f[3] = static_cast<uint16_t>(0x8000 | (vectorOffset & 0x0FFC));
  f[4] = SSW();
  f[5] = HiWord(AccAddress);
  f[6] = LoWord(AccAddress);
  f[7] = 0;
  f[8] = AccDataOut;
  f[9] = 0;
  f[10] = AccDataIn;
  f[11] = 0;
  f[12] = AccInstIn;
  f[13] = static_cast<uint16_t>(Format8Marker | FaultMcStage);
  f[14] = static_cast<uint16_t>(FaultMcPC);
  f[15] = static_cast<uint16_t>((static_cast<uint16_t>(CpuEaFc) << 8) | InternalSW());
  f[16] = static_cast<uint16_t>(CpuOpcode);
  f[17] = CpuExtraWord;
  f[18] = static_cast<uint16_t>(CpuExtWord);
  f[19] = HiWord(CpuEa);
  f[20] = LoWord(CpuEa);
  f[21] = HiWord(CpuSop);
  f[22] = LoWord(CpuSop);
  f[23] = HiWord(CpuDop);
  f[24] = LoWord(CpuDop);
  f[25] = CpuTempWord;
  f[26] = CpuExtCount;
  f[27] = HiWord(CpuInstrAddr);
  f[28] = LoWord(CpuInstrAddr);
  for (int i = 0; i < Format8Words; ++i) FrameBuffer[i] = f[i];
}

// Everything of the frame but SR and PC, from FaultFrame; mcPC and mcStage
// become the resume point of the faulted micro-routine.
void classCPU::RestoreFaultFrame() {
  const uint16_t* f = FaultFrame;
  SSW(f[4]);
  AccAddress = MakeLong(f[5], f[6]);
  AccDataOut = f[8];
  if (AccRR) {  // the access is not performed again: its result comes from the frame
    AccDataIn = f[10];
    AccInstIn = f[12];
  }
  mcStage = static_cast<uint8_t>(f[13] & 0xFF);
  mcPC = f[14];
  CpuEaFc = static_cast<uint8_t>(f[15] >> 8);
  InternalSW(static_cast<uint8_t>(f[15] & 0xFF));
  CpuOpcode = f[16];
  CpuExtraWord = f[17];
  CpuExtWord = f[18];
  CpuEa = MakeLong(f[19], f[20]);
  CpuSop = MakeLong(f[21], f[22]);
  CpuDop = MakeLong(f[23], f[24]);
  CpuTempWord = f[25];
  CpuExtCount = f[26];
  CpuInstrAddr = MakeLong(f[27], f[28]);
}

// MC68000 group-0 frame: status word (FC, 8 for a data access, 16 for a read),
// access address, opcode, SR, PC. The vector offset is not part of it.
void classCPU::BuildGroup0Frame(uint16_t /*vectorOffset*/) {
  const uint16_t ssw = SSW();
  uint16_t status = static_cast<uint16_t>(ssw & 7);
  if (ssw & 0x1000) status |= 8;
  if (ssw & 0x0100) status |= 16;
  uint16_t* f = FrameBuffer;
  f[0] = status;
  f[1] = HiWord(AccAddress);
  f[2] = LoWord(AccAddress);
  f[3] = static_cast<uint16_t>(CpuOpcode);
  f[4] = SR();
  f[5] = HiWord(CpuPC);
  f[6] = LoWord(CpuPC);
}

// ---- Bus and address error: MC68010 / CPU32, MC68000 ----

void classCPU::mcrBerr() {
  BuildFaultFrame(0x08);
  StackErrorFrame(*this, Format8Words, 0x08);
}

void classCPU::mcrAerr() {
  BuildFaultFrame(0x0C);
  StackErrorFrame(*this, Format8Words, 0x0C);
}

void classCPU::mcrBerr000() {
  BuildGroup0Frame(0x08);
  StackErrorFrame(*this, Group0Words, 0x08);
}

void classCPU::mcrAerr000() {
  BuildGroup0Frame(0x0C);
  StackErrorFrame(*this, Group0Words, 0x0C);
}

// ---- RTE (MC68010 / CPU32) ----
// Steps 2-5 read SR, PC and the format word; 6 reads word 13 of a format-8
// frame, 7 word 28 and then the rest of its body. Each of these reads is
// restartable; the words already read are held in registers the long frame
// saves (SR and the format word in CpuDop, PC in CpuSop, its high half in
// CpuTempWord between two reads, word 13 in CpuEa), so a fault on a later read
// does not lose them. A fault while reading the body of a format-8 frame halts.
void classCPU::mcrRTE() {
  const uint32_t sp = CpuAReg[7];
  switch (mcStage) {
    case 1:
    case 2:
    case 3:
    case 4:
      if (!ReadSrAndPc(sp, CpuSop)) return;
      PrepareFrameRead(sp + 6);
      [[fallthrough]];
    case 5: {
      if (!StepReadWord(5)) return;
      const uint16_t format = AccDataIn;
      CpuDop = (static_cast<uint32_t>(format) << 16) | (CpuDop & 0xFFFF);
      const uint16_t kind = format >> 12;
      // Short frames: 4 or 6 words. Format 2 is what the trace, TRAPV, CHK and
      // divide-by-zero exceptions stack with UseFormat2Stack set: the CPU32
      // always takes it, the MC68010 only while it builds such frames.
      if (kind == 0 || (kind == 2 && (CpuType == Cpu32 || UseFormat2Stack))) {
        CpuPC = CpuSop;
        CpuAReg[7] = sp + (kind == 0 ? 8 : 12);
        SR(static_cast<uint16_t>(CpuDop));
        return McrEnd();
      }
      if (kind != 8) return FormatError();
      PrepareFrameRead(sp + 26);
      [[fallthrough]];
    }
    case 6:
      if (!StepReadWord(6)) return;
      CpuEa = AccDataIn;  // word 13
      // A frame whose version bits are wrong, or whose resume point (word 14,
      // the step in word 13) is none a fault could leave, is not ours to
      // resume: format error.
      if ((AccDataIn & Format8MarkerMask) != Format8Marker) return FormatError();
      PrepareFrameRead(sp + 56);
      [[fallthrough]];
    case 7: {
      if (!StepReadWord(7)) return;
      uint16_t frame[Format8Words];
      frame[28] = AccDataIn;
      frame[13] = static_cast<uint16_t>(CpuEa);
      for (int i = 4; i < 28; ++i) {
        if (i == 13) continue;
        ReadFrameWord(sp + static_cast<uint32_t>(2 * i));
        if (Halted()) return;
        frame[i] = AccDataIn;
      }
      // The resume point must be one a fault of this frame's instruction
      // could leave: a step of the routine called there, on a path that the
      // saved opcode runs on this model.
      if (!IsResumePoint(frame[14], static_cast<uint8_t>(frame[13] & 0xFF)) || !IsOnPathOf(frame[16], frame[14]))
        return FormatError();
      frame[0] = static_cast<uint16_t>(CpuDop);
      frame[1] = HiWord(CpuSop);
      frame[2] = LoWord(CpuSop);
      frame[3] = static_cast<uint16_t>(CpuDop >> 16);
      for (int i = 0; i < Format8Words; ++i) FaultFrame[i] = frame[i];
      RestoreFaultFrame();  // sets mcPC and mcStage to the resume point
      CpuPC = MakeLong(frame[1], frame[2]);
      CpuAReg[7] = sp + 2 * Format8Words;
      SR(frame[0]);  // the stack pointers swap after A7 has moved past the frame
      return;
    }
    default:
      return McrMicrocodeFault();
  }
}

// ---- RTE (MC68000): SR and PC only ----
void classCPU::mcrRTE000() {
  const uint32_t sp = CpuAReg[7];
  if (!ReadSrAndPc(sp, CpuPC)) return;
  CpuAReg[7] = sp + 6;
  SR(static_cast<uint16_t>(CpuDop));
  McrEnd();
}

}  // namespace korva
