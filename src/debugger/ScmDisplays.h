// Text displays of the system control module and the board's I/O address map.
// They read the module's register images and memories as it keeps them, never
// through the bus; only the status register is rebuilt (as any read of it does).
#pragma once
#include <cstdint>
#include <string>

namespace korva {

// The control and status registers, each with a line of its bit fields.
std::string DisplaySCM();
// The 2048-byte character-generator and attribute-generator memories, 16 bytes
// a line, each line begun by CR LF and its index.
std::string DisplayCharGenRam();
std::string DisplayCharAttrRam();
// One page of display memory: page 1 is cells 2048-4095, any other page cells
// 0-2047; 8 cells a line as attribute-character pairs, then the characters.
std::string DisplayCharDispRam(int16_t page);
// The fixed address map of the on-board devices and the I/O channel boards.
std::string DisplayAddresses();

}  // namespace korva
