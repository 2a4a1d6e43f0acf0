// The debugger's memory-watch line, read straight from the memory cells.
#pragma once
#include <cstdint>
#include <string>

namespace korva {

// HexLong(address) + ":" and then ": " + HexWord(data) + " " for each of count
// words from the word holding address. The words are the stored data words of
// the memory cells (no device is accessed); the line wraps at 16 MB.
std::string MemoryLineText(uint32_t address, int32_t count);

}  // namespace korva
