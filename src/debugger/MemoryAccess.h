// The debugger's memory elements, fills and dumps, each in two forms: through
// the memory cell array (data words only: no device, no MMU, no fault) or
// through the bus dispatchers (device registers answer and react, unmapped
// addresses and misaligned words set the fault flags).
//
// Fills and dumps clear DebugAbort when they start and stop after the element
// during which it was set; they let window events run as they go.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace korva {

// ---- Elements ----
// Through WriteMemory (never forced). A long is two word writes, high word first.
void WriteByteBus(uint32_t address, uint8_t value);
void WriteWordBus(uint32_t address, uint16_t value);
void WriteLongBus(uint32_t address, uint32_t value);
// Into the cell array: the high byte of the cell for an even address, the low
// byte for an odd one; a word is the cell of the address; a long the cell and
// the next one, high word first (the cell after the last one is cell 0).
void WriteByteArray(uint32_t address, uint8_t value);
void WriteWordArray(uint32_t address, uint16_t value);
void WriteLongArray(uint32_t address, uint32_t value);

// From the cell array at address, which then advances by 1, 2 or 4 (32-bit
// wrap); word indexes wrap at 16 MB.
uint8_t ReadArrayByte(uint32_t& address);
uint16_t ReadArrayWord(uint32_t& address);
uint32_t ReadArrayLong(uint32_t& address);

// ---- Fills ----
// length elements from address on, the address advancing by the element's size;
// a length below 1 writes nothing. The bus fills go on after a fault.
void FillBytesArray(uint32_t address, uint8_t value, int32_t length);
void FillBytesBus(uint32_t address, uint8_t value, int32_t length);
void FillWordsArray(uint32_t address, uint16_t value, int32_t length);
void FillWordsBus(uint32_t address, uint16_t value, int32_t length);
void FillLongsArray(uint32_t address, uint32_t value, int32_t length);
void FillLongsBus(uint32_t address, uint32_t value, int32_t length);

// ---- Dumps ----
// Each receives the dump's text piece by piece: every finished line (lines after
// the first begin with CR LF), then the closing CR LF. An aborted dump hands on
// what it has of its current line and ends without the closing text.
using DumpSink = std::function<void(std::string_view)>;

// Lines of 16 bytes, 8 words or 4 longs: the address of the line's first element,
// ":", the elements, " : " and the line's bytes as characters. Through the bus an
// element is " " + its hex digits ("00001000: 4E 71 ... : Nq"); from the array
// ":" + its digits ("00001000::4E:71... : Nq"), and a long ": 1234" "5678 ".
// A count below 1 prints only the closing CR LF.
void DumpBytesBus(uint32_t address, int32_t count, const DumpSink& out);
void DumpWordsBus(uint32_t address, int32_t count, const DumpSink& out);
void DumpLongsBus(uint32_t address, int32_t count, const DumpSink& out);
void DumpBytesArray(uint32_t address, int32_t count, const DumpSink& out);
void DumpWordsArray(uint32_t address, int32_t count, const DumpSink& out);
void DumpLongsArray(uint32_t address, int32_t count, const DumpSink& out);

// After a bus-path command: "Bus Error" then "Address Error" (each with CR LF)
// for the flags that are set, clearing each one reported.
std::string BusFaultReport();

}  // namespace korva
