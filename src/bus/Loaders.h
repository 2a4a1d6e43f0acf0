// Memory-image loaders: Motorola S-record text files, CP/M-68K command files
// and VersaDOS load modules, read into emulated physical memory (forced byte
// writes, so ROM words are written too) or into the 64 KB ROM image.
//
// Each loader reads its file from beginning to end in one call and returns True
// when it read the file to its end, False when it gave up; it then has shown a
// message box (OK only) naming the reason and the file. What was written before
// the failure stays written. The loaders leave the bus fault flags as they found
// them, so a load started from inside a bus cycle does not disturb it.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include "tables/Types.h"

namespace korva {

// Results of the last load.
extern uint32_t LoadStartAddress;  // S7/S8/S9 address, CP/M text start, load-module entry point
extern VBool LoadStartValid;       // cleared once a load has its file open; set with LoadStartAddress
extern uint32_t LoadIplPC;         // long at bytes 4-7 of a load module's first load-table entry
extern uint32_t LoadIplSP;         // long at bytes 0-3 of the same entry

// With report, a message titled "S-REC" shows the lowest and highest address written.
// A bad checksum does not end the load: the first gets a box of its own, the
// others are counted in one box at the end. A file without a single line is a
// failed load.
VBool LoadSrecFile(const std::string& fileName, VBool toRom, VBool report);
VBool LoadCpmCommandFile(const std::string& fileName, VBool toRom);
VBool LoadVersadosLoadModule(const std::string& fileName, VBool toRom);

// The byte into the ROM image word (address >> 1) AND 0x7FFF: the high half for
// an even address, the low half for an odd one.
void PutRomByte(int32_t address, uint8_t value);

// ---- Field readers of the S-record loader (positions are 1-based) ----

// Position of the first "S" or "s" in line; 0 when there is none.
int32_t FindSrecLead(std::string_view line);
// The 2 x byteCount characters from position (fewer at the end of the line);
// position advances by 2 x byteCount.
std::string TakeHexChars(std::string_view line, int32_t& position, int32_t byteCount);
// Hexadecimal text to a number: blanks around it dropped; more than 8 characters give 0; a
// character that is no hexadecimal digit counts as 0; "FFFFFFFF" gives -1.
int32_t HexTextToLong(std::string_view text);

}  // namespace korva
