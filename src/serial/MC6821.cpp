#include "serial/MC6821.h"

namespace korva {

classMC6821 MVME410PIA1;
classMC6821 MVME410PIA2;

void classMC6821::Reset() {
  ClearRegisters();
}

}  // namespace korva
