// Access latches, fault flags and their setters.
#include "bus/BusState.h"

namespace korva {

AccessLatchSet AccLatches = {0};
uint32_t AccAddress = 0;
uint16_t AccDataOut = 0, AccDataIn = 0, AccInstIn = 0;

FaultFlagSet FaultFlags = {False, False, False, False};

uint32_t FaultMcPC = 0;
uint8_t FaultMcStage = 1;

VBool SetBusError() {
  BusErrorFlag = True;
  FaultFlag = True;
  return True;
}

VBool SetAddressError() {
  AddressErrorFlag = True;
  FaultFlag = True;
  return True;
}

void SetMmuFault() {
  MmuFaultFlag = True;
  FaultFlag = True;
}

void ClearBusError() {
  BusErrorFlag = False;
  FaultFlag = False;
}

void ClearAddressError() {
  AddressErrorFlag = False;
  FaultFlag = False;
}

void ClearBusFaults() {
  FaultFlag = MmuFaultFlag = AddressErrorFlag = BusErrorFlag = False;
}

void ResetBusState() {
  AccSSW = 0;  // every latch cleared, function code 0
  AccAddress = 0;
  AccDataOut = AccDataIn = AccInstIn = 0;
  ClearBusFaults();
  FaultMcPC = 0;
  FaultMcStage = 1;
}

}  // namespace korva
