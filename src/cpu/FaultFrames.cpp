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
#include "bus/BusCycles.h"
#include "cpu/ControlStore.h"
#include "cpu/CpuState.h"
#include "cpu/classCPU.h"

namespace korva {
namespace {

constexpr uint16_t SswStackWrite = 0x1005;
constexpr uint16_t SswFrameRead = 0x1105;
constexpr int Format8Words = 29;
constexpr int Group0Words = 7;
constexpr uint16_t Format8Marker = 0x3400;  // word 13: frame version bits
constexpr uint16_t Format8MarkerMask = 0x3C00;
constexpr uint32_t ControlStoreWords = 4096;

inline uint16_t Hi(uint32_t v) { return static_cast<uint16_t>(v >> 16); }
inline uint16_t Lo(uint32_t v) { return static_cast<uint16_t>(v); }
inline uint32_t Long(uint16_t hi, uint16_t lo) { return (static_cast<uint32_t>(hi) << 16) | lo; }

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

inline void ReadFrameWord(uint32_t address) {
  AccAddress = address;
  SetAccSSW(SswFrameRead);
  BusReadWord();
}

// Stack `words` words of the frame buffer from A7 (already lowered) and load the
// new PC from the vector. Any fault halts the processor.
void StackErrorFrame(const uint16_t* frame, int words, uint16_t vectorOffset) {
  for (int i = 0; i < words; ++i) {
    AccAddress = CpuAReg[7] + static_cast<uint32_t>(2 * i);
    AccDataOut = frame[i];
    SetAccSSW(SswStackWrite);
    BusWriteWord();
    if (Halted()) return;
  }
  ReadFrameWord(CpuVBR + vectorOffset);
  if (Halted()) return;
  const uint16_t high = AccDataIn;
  ReadFrameWord(CpuVBR + vectorOffset + 2);
  if (Halted()) return;
  CpuPC = Long(high, AccDataIn);
  McrEnd();  // on to the fetch: no trace or interrupt step follows
}

}  // namespace

void classCPU::BuildFaultFrame(uint16_t vectorOffset) {
  uint16_t* f = FaultFrame;
  f[0] = SR();
  f[1] = Hi(CpuPC);
  f[2] = Lo(CpuPC);
  f[3] = static_cast<uint16_t>(0x8000 | (vectorOffset & 0x0FFC));
  f[4] = SSW();
  f[5] = Hi(AccAddress);
  f[6] = Lo(AccAddress);
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
  f[19] = Hi(CpuEa);
  f[20] = Lo(CpuEa);
  f[21] = Hi(CpuSop);
  f[22] = Lo(CpuSop);
  f[23] = Hi(CpuDop);
  f[24] = Lo(CpuDop);
  f[25] = CpuTempWord;
  f[26] = CpuExtCount;
  f[27] = Hi(CpuInstrAddr);
  f[28] = Lo(CpuInstrAddr);
  for (int i = 0; i < Format8Words; ++i) FrameBuffer[i] = f[i];
}

// Everything of the frame but SR and PC, from FaultFrame; mcPC and mcStage
// become the resume point of the faulted micro-routine.
void classCPU::RestoreFaultFrame() {
  const uint16_t* f = FaultFrame;
  SSW(f[4]);
  AccAddress = Long(f[5], f[6]);
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
  CpuEa = Long(f[19], f[20]);
  CpuSop = Long(f[21], f[22]);
  CpuDop = Long(f[23], f[24]);
  CpuTempWord = f[25];
  CpuExtCount = f[26];
  CpuInstrAddr = Long(f[27], f[28]);
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
  f[1] = Hi(AccAddress);
  f[2] = Lo(AccAddress);
  f[3] = static_cast<uint16_t>(CpuOpcode);
  f[4] = SR();
  f[5] = Hi(CpuPC);
  f[6] = Lo(CpuPC);
}

// ---- MC68010 / CPU32 bus and address error ----

void classCPU::mcrBerr() {
  BuildFaultFrame(0x08);
  srTmode(False);
  srSmode(True);
  CpuAReg[7] -= 2 * Format8Words;
  StackErrorFrame(FrameBuffer, Format8Words, 0x08);
}

void classCPU::mcrAerr() {
  BuildFaultFrame(0x0C);
  srTmode(False);
  srSmode(True);
  CpuAReg[7] -= 2 * Format8Words;
  StackErrorFrame(FrameBuffer, Format8Words, 0x0C);
}

// ---- MC68000 bus and address error ----

void classCPU::mcrBerr000() {
  BuildGroup0Frame(0x08);
  srTmode(False);
  srSmode(True);
  CpuAReg[7] -= 2 * Group0Words;
  StackErrorFrame(FrameBuffer, Group0Words, 0x08);
}

void classCPU::mcrAerr000() {
  BuildGroup0Frame(0x0C);
  srTmode(False);
  srSmode(True);
  CpuAReg[7] -= 2 * Group0Words;
  StackErrorFrame(FrameBuffer, Group0Words, 0x0C);
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
      ReadFrameWord(sp);
      goto read2;
    case 2:
      BusReadWord();
    read2:
      if (FaultFlag) return EnterBusFault(2);
      CpuDop = AccDataIn;  // SR
      ReadFrameWord(sp + 2);
      goto read3;
    case 3:
      BusReadWord();
    read3:
      if (FaultFlag) return EnterBusFault(3);
      CpuTempWord = AccDataIn;  // PC high
      ReadFrameWord(sp + 4);
      goto read4;
    case 4:
      BusReadWord();
    read4:
      if (FaultFlag) return EnterBusFault(4);
      CpuSop = Long(CpuTempWord, AccDataIn);  // PC
      ReadFrameWord(sp + 6);
      goto read5;
    case 5:
      BusReadWord();
    read5: {
      if (FaultFlag) return EnterBusFault(5);
      const uint16_t format = AccDataIn;
      CpuDop = (static_cast<uint32_t>(format) << 16) | (CpuDop & 0xFFFF);
      switch (format >> 12) {
        case 0:
          CpuPC = CpuSop;
          CpuAReg[7] = sp + 8;
          SR(static_cast<uint16_t>(CpuDop));
          return McrEnd();
        case 2:
          if (CpuType != Cpu32) break;
          CpuPC = CpuSop;
          CpuAReg[7] = sp + 12;
          SR(static_cast<uint16_t>(CpuDop));
          return McrEnd();
        case 8:
          ReadFrameWord(sp + 26);
          goto read6;
        default:
          break;
      }
      mcStage = 1;  // format error; nothing is popped
      mcPC = McFormatError;
      return;
    }
    case 6:
      BusReadWord();
    read6:
      if (FaultFlag) return EnterBusFault(6);
      CpuEa = AccDataIn;  // word 13
      // A frame whose version bits are wrong, or whose resume address lies
      // outside the control store, is not ours to resume: format error.
      if ((AccDataIn & Format8MarkerMask) != Format8Marker) {
        mcStage = 1;
        mcPC = McFormatError;
        return;
      }
      ReadFrameWord(sp + 56);
      goto read7;
    case 7:
      BusReadWord();
    read7: {
      if (FaultFlag) return EnterBusFault(7);
      uint16_t frame[Format8Words];
      frame[28] = AccDataIn;
      frame[13] = static_cast<uint16_t>(CpuEa);
      for (int i = 4; i < 28; ++i) {
        if (i == 13) continue;
        ReadFrameWord(sp + static_cast<uint32_t>(2 * i));
        if (Halted()) return;
        frame[i] = AccDataIn;
      }
      if (frame[14] >= ControlStoreWords) {
        mcStage = 1;
        mcPC = McFormatError;
        return;
      }
      frame[0] = static_cast<uint16_t>(CpuDop);
      frame[1] = Hi(CpuSop);
      frame[2] = Lo(CpuSop);
      frame[3] = static_cast<uint16_t>(CpuDop >> 16);
      for (int i = 0; i < Format8Words; ++i) FaultFrame[i] = frame[i];
      RestoreFaultFrame();  // sets mcPC and mcStage to the resume point
      CpuPC = Long(frame[1], frame[2]);
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
  switch (mcStage) {
    case 1:
      ReadFrameWord(sp);
      goto read2;
    case 2:
      BusReadWord();
    read2:
      if (FaultFlag) return EnterBusFault(2);
      CpuDop = AccDataIn;
      ReadFrameWord(sp + 2);
      goto read3;
    case 3:
      BusReadWord();
    read3:
      if (FaultFlag) return EnterBusFault(3);
      CpuTempWord = AccDataIn;
      ReadFrameWord(sp + 4);
      goto read4;
    case 4:
      BusReadWord();
    read4:
      if (FaultFlag) return EnterBusFault(4);
      CpuPC = Long(CpuTempWord, AccDataIn);
      CpuAReg[7] = sp + 6;
      SR(static_cast<uint16_t>(CpuDop));
      return McrEnd();
    default:
      return McrMicrocodeFault();
  }
}

}  // namespace korva
