#include "cpu/RegistersText.h"
#include "bus/Memory.h"
#include "cpu/DebuggerHooks.h"
#include "cpu/classCPU.h"
#include "tables/TextFormat.h"

namespace korva {

DebuggerHooks DebuggerHook;

std::string DisassembleStandIn(uint32_t address) { return "DC.W $" + HexWord(CellOf(address).Data); }

namespace {
const char* B(int v) { return v ? "1" : "0"; }
}  // namespace

std::string RegistersText() {
  std::string t;
  for (int n = 0; n < 8; ++n) {
    if (n == 4) t += "\r\n";
    t += " D" + std::to_string(n) + "=" + HexLong(CpuDReg[n]);
  }
  t += "\r\n";
  for (int n = 0; n < 8; ++n) {
    if (n == 4) t += "\r\n";
    t += " A" + std::to_string(n) + "=" + HexLong(CpuAReg[n]);
  }
  t += "\r\n PC=" + HexLong(CpuPC) + " : ";
  t += DebuggerHook.Disassemble ? DebuggerHook.Disassemble(CpuPC, CpuS) : DisassembleStandIn(CpuPC);
  t += "\r\n SR=" + HexWord(Cpu.SR()) + "   S=" + B(CpuS) + "  T=" + B(CpuT) +
       "  IM=" + std::to_string(CpuIMask & 7) + "  X=" + B(CpuX) + "  N=" + B(CpuN) + "  Z=" + B(CpuZ) +
       "  V=" + B(CpuV) + "  C=" + B(CpuC);
  if (CpuS)
    t += "\r\n USP=" + HexLong(CpuUSP) + " SSP=" + HexLong(CpuAReg[7]);
  else
    t += "\r\n USP=" + HexLong(CpuAReg[7]) + " SSP=" + HexLong(CpuSSP);
  t += " VBR=" + HexLong(CpuVBR) + " SFC=" + HexLongTrim(CpuSFC) + " DFC=" + HexLongTrim(CpuDFC);
  return t;
}

}  // namespace korva
