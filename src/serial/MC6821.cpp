#include "serial/MC6821.h"

namespace korva {

classMC6821 MVME410PIA1;
classMC6821 MVME410PIA2;

uint8_t classMC6821::DDRxORA() { return Get(0, "DDRxORA"); }
void classMC6821::DDRxORA(uint8_t v) { Set(0, "DDRxORA", v); }
uint8_t classMC6821::CRA() { return Get(1, "CRA"); }
void classMC6821::CRA(uint8_t v) { Set(1, "CRA", v); }
uint8_t classMC6821::DDRxORB() { return Get(2, "DDRxORB"); }
void classMC6821::DDRxORB(uint8_t v) { Set(2, "DDRxORB", v); }
uint8_t classMC6821::CRB() { return Get(3, "CRB"); }
void classMC6821::CRB(uint8_t v) { Set(3, "CRB", v); }

void classMC6821::Reset() {
  ClearRegisters();
}

}  // namespace korva
