// The winchester and floppy disk controller (registers F1C0D1-F1C0DF).
//
// Stand-in: registers are stored; no command runs, so nothing ever completes.
#pragma once
#include <cstdint>
#include "bus/DeviceProbe.h"

namespace korva {

class classRWIN : public ProbedNamedRegisters<5> {
 public:
  uint8_t R0();
  void R0(uint8_t v);
  uint8_t R1();
  void R1(uint8_t v);
  uint8_t R2();
  void R2(uint8_t v);
  uint8_t R3();
  void R3(uint8_t v);
  // One register behind all four addresses F1C0D9, DB, DD and DF.
  uint8_t R4to7();
  void R4to7(uint8_t v);
  // Controller reset: command and sense cleared, data buffer emptied.
  void Reset();
  // Ends the pending command: RwinCmdPending := False, busy cleared, the
  // command-complete interrupt raised when enabled.
  void DoCmdComplete();

  // Jumpers: I/O-channel interrupt lines of the data and the command interrupt.
  uint8_t DataIRQ() const { return dataIRQ_; }
  void DataIRQ(uint8_t v) { dataIRQ_ = v; }
  uint8_t CmdIRQ() const { return cmdIRQ_; }
  void CmdIRQ(uint8_t v) { cmdIRQ_ = v; }

  uint32_t CompleteCount = 0;  // DoCmdComplete calls

 private:
  uint8_t dataIRQ_ = 3, cmdIRQ_ = 3;
};

extern classRWIN Rwin;

}  // namespace korva
