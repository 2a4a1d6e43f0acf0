#include "disk/RWIN.h"
#include "cpu/FetchDecode.h"

namespace korva {

classRWIN Rwin;

uint8_t classRWIN::R0() { return Get(0, "R0"); }
void classRWIN::R0(uint8_t v) { Set(0, "R0", v); }
uint8_t classRWIN::R1() { return Get(1, "R1"); }
void classRWIN::R1(uint8_t v) { Set(1, "R1", v); }
uint8_t classRWIN::R2() { return Get(2, "R2"); }
void classRWIN::R2(uint8_t v) { Set(2, "R2", v); }
uint8_t classRWIN::R3() { return Get(3, "R3"); }
void classRWIN::R3(uint8_t v) { Set(3, "R3", v); }
uint8_t classRWIN::R4to7() { return Get(4, "R4to7"); }
void classRWIN::R4to7(uint8_t v) { Set(4, "R4to7", v); }

void classRWIN::Reset() {
  ClearRegisters();
}

void classRWIN::DoCmdComplete() {
  ++CompleteCount;
  RwinCmdPending = False;
}

}  // namespace korva
