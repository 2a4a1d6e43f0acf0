#include "serial/MVME400.h"

namespace korva {

classMVME400 MVME400C0;
classMVME400 MVME400C1;

uint8_t classMVME400::RxDataA() { return Get(4, "RxDataA"); }
uint8_t classMVME400::RxDataB() { return Get(5, "RxDataB"); }
uint8_t classMVME400::StatusA() { return Get(6, "StatusA"); }
uint8_t classMVME400::StatusB() { return Get(7, "StatusB"); }
void classMVME400::TxDataA(uint8_t v) { Set(4, "TxDataA", v); }
void classMVME400::TxDataB(uint8_t v) { Set(5, "TxDataB", v); }
void classMVME400::ControlA(uint8_t v) { Set(6, "ControlA", v); }
void classMVME400::ControlB(uint8_t v) { Set(7, "ControlB", v); }

void classMVME400::DoTxEandRxE() { ++PollCount; }

void classMVME400::Reset() {
  ClearRegisters();
}

}  // namespace korva
