// The register pane and the memory-watch panes of the debugger.
#pragma once
#include <cstdint>
#include <string>

namespace korva {

// One memory watch: Kind 0 none, 1 a fixed address, 2 the address held in an
// address register (Address is then the register number 0-7); Count bytes (0-255).
struct MemoryWatch {
  uint8_t Kind = 0;
  uint32_t Address = 0;
  uint32_t Count = 0;
};
extern MemoryWatch MemoryWatches[2];

constexpr uint32_t PaneWhite = 0xFFFFFF;
constexpr uint32_t PanePaleRed = 0xF0F0FF;  // RGB(255, 240, 240) as 0x00BBGGRR

// What the panes show (kept while no window is loaded).
extern std::string RegistersPaneText;
extern uint32_t RegistersPaneBackground;
extern std::string WatchPaneText[2];
extern int32_t WatchPaneVisibleLines[2];  // 0 for "No Watch"
extern int32_t WatchPaneLines[2];

// Redraws the register pane: white, or pale red when the disassembler
// translates through the MMU and the PC's translation is another address; the
// registers' text; the caption; with TrackTrace the instruction at the PC in
// the output.
void DisplayRegisters();
// Redraws watch pane n (0 or 1; any other n does nothing): whole lines of 16
// bytes, at most 128, at most 8 visible.
void LoadMemoryWatch(int16_t n);
// Watches to none and the panes empty (a freshly created debugger).
void ResetPanes();

}  // namespace korva
