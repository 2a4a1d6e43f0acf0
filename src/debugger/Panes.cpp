// The register pane and the two memory-watch panes: their texts are kept here
// and handed to the window when one is loaded, so the main loop's redraws work
// without it.
#include "debugger/Panes.h"

#include <algorithm>

#include "bus/MMU.h"
#include "bus/MemoryWatch.h"
#include "cpu/CpuState.h"
#include "cpu/DebuggerHooks.h"
#include "cpu/RegistersText.h"
#include "debugger/DebuggerCore.h"
#include "tables/TextFormat.h"

namespace korva {

MemoryWatch MemoryWatches[2];
std::string RegistersPaneText;
uint32_t RegistersPaneBackground = PaneWhite;
std::string WatchPaneText[2] = {"No Watch", "No Watch"};
int32_t WatchPaneVisibleLines[2] = {0, 0};
int32_t WatchPaneLines[2] = {0, 0};

void DisplayRegisters() {
  RegistersPaneBackground = PaneWhite;
  if (UseMmuForDisasm) {
    uint32_t r = 0;
    Mmu.TTA(CpuPC, CpuS ? 6 : 2, r);
    if ((r & 0xFFFFFF) != CpuPC) RegistersPaneBackground = PanePaleRed;
  }
  RegistersPaneText = RegistersText();
  if (View.SetRegisters) View.SetRegisters(RegistersPaneText, RegistersPaneBackground);
  ShowStatus("");
  if (TrackTrace) {
    const std::string line = DebuggerHook.Disassemble ? DebuggerHook.Disassemble(CpuPC, CpuS) : DisassembleStandIn(CpuPC);
    AppendOutput(" " + HexLong(CpuPC) + " : " + line + "\r\n");
  }
}

void LoadMemoryWatch(int16_t n) {
  if (n != 0 && n != 1) return;
  const MemoryWatch& w = MemoryWatches[n];
  std::string& text = WatchPaneText[n];
  if (w.Kind == 0 || w.Count == 0) {
    text = "No Watch";
    WatchPaneVisibleLines[n] = 0;
    WatchPaneLines[n] = 0;
  } else {
    int32_t lines = static_cast<int32_t>((w.Count + 15) / 16);
    WatchPaneVisibleLines[n] = std::min(lines, 8);
    lines = std::min(lines, 128);
    WatchPaneLines[n] = lines;
    uint32_t address = w.Kind == 1 ? w.Address : CpuAReg[w.Address & 7];
    text.clear();
    for (int32_t i = 0; i < lines; ++i) {
      if (i > 0) text += "\r\n";
      text += MemoryLineText(address, 8);
      address += 16;
    }
  }
  if (View.SetWatch) View.SetWatch(n, text, WatchPaneVisibleLines[n]);
  ShowStatus("");
}

void ResetPanes() {
  for (MemoryWatch& w : MemoryWatches) w = MemoryWatch{};
  RegistersPaneText.clear();
  RegistersPaneBackground = PaneWhite;
  for (int i = 0; i < 2; ++i) {
    WatchPaneText[i] = "No Watch";
    WatchPaneVisibleLines[i] = 0;
    WatchPaneLines[i] = 0;
  }
}

}  // namespace korva
