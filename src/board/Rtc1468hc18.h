// The MC146818-type real-time clock with 50 bytes of CMOS RAM: 64 byte registers
// (bus address F1A080 + 2 x index + 1).
//
// The emulated date and time is the host's present date and time plus a stored
// offset in days, so the clock runs on while the program is closed. The time
// registers advance one second on every Update (the main window's one-second
// timer); Periodic is called on every tick of the host's periodic timer, whose
// interval register A sets. The clock raises interrupt entry 14 for its
// periodic, alarm and update-ended events.
//
// Its state lives in the settings section "MC1468HC18": LoadSettings reads it
// once at start-up (after the settings store is chosen) and SaveSettings writes
// it in the shutdown sequence, before the general settings are saved. Neither is
// called from a constructor or destructor.
#pragma once
#include <cstdint>
#include <string>

#include "tables/Types.h"

namespace korva {

// Register indexes as the guest sees them.
enum RtcRegister : uint8_t {
  RtcSeconds = 0,
  RtcSecondsAlarm = 1,
  RtcMinutes = 2,
  RtcMinutesAlarm = 3,
  RtcHours = 4,
  RtcHoursAlarm = 5,
  RtcDayOfWeek = 6,  // 1 = Sunday ... 7 = Saturday
  RtcDayOfMonth = 7,
  RtcMonth = 8,
  RtcYear = 9,       // 0-99
  RtcRegA = 10,      // bit 7 UIP, bits 6-4 DV, bits 3-0 RS
  RtcRegB = 11,      // SET, PIE, AIE, UIE, SQWE, DM, 24/12, DSE in bits 7-0
  RtcRegC = 12,      // IRQF, PF, AF, UF in bits 7-4
  RtcRegD = 13,      // bit 7 VRT
  RtcCmosFirst = 14,
  RtcRegisterCount = 64,
};

class class1468hc18 {
 public:
  class1468hc18();

  // The start-up step: reads the section "MC1468HC18", sets the periodic timer
  // from RS and DV, attaches Periodic to its ticks and computes the time
  // registers from the emulated date/time.
  void LoadSettings();
  // The shutdown step: writes the section, the present host date/time last.
  void SaveSettings();

  // The emulated date/time as of the last Update (or LoadSettings).
  double GetEmulatorTime() const { return emulatedTime_; }
  void IncrementBinTimeRegs();
  void IncrementBcdTimeRegs();
  // The once-a-second step; pDateTime is the host's present date/time.
  void Update(double pDateTime);
  // One tick of the periodic timer.
  void Periodic();
  // The offset that makes dateTime the emulated date/time now.
  void SetDateTimeOffset(double dateTime);
  double DateTimeOffset() const { return dateTimeOffset_; }
  VBool IsAlarmMatch() const;
  void CalcTimeRegs();
  double CalcNewTime() const;

  uint8_t Reg(uint32_t index);
  void Reg(uint32_t index, uint8_t value);
  uint8_t Century() const { return static_cast<uint8_t>(century_); }
  void Century(uint8_t value) { century_ = value; }

  // Clears PIE, AIE, UIE, SQWE, IRQF, PF, AF and UF; the time, the offset, the
  // alarms and the CMOS bytes stay.
  void Reset();

  // The debugger's dumps; they read the state without latching or clearing.
  std::string DisplayClock() const;
  std::string DisplayCMOS() const;

 private:
  using StepFn = bool (class1468hc18::*)(uint8_t&, int, int) const;
  int RtcDaysInMonth(int month, int year) const;
  bool RtcIncrementBinary(uint8_t& reg, int min, int max) const;
  bool RtcIncrementBcd(uint8_t& reg, int min, int max) const;
  bool RtcIncrementHour12Bin(uint8_t& reg) const;
  bool RtcIncrementHour12Bcd(uint8_t& reg) const;
  void IncrementTimeRegs(bool binary);
  void RtcLatchTimeRegs();
  void RtcSetDivider(uint8_t dv);
  void RtcSetRate(uint8_t rs);
  void RtcSetPIE(VBool on);
  void RtcRaisePF();
  void RtcSetAIE(VBool on);
  void RtcRaiseAF();
  void RtcSetUIE(VBool on);
  void RtcRaiseUF();
  uint8_t RegisterA() const;
  uint8_t RegisterB() const;
  uint8_t RegisterC() const;

  // Tables.
  uint8_t daysInMonth_[12];
  uint8_t hour12Bin_[24];
  uint8_t hour12Bcd_[24];

  uint8_t work_[10] = {};                 // working time and alarm registers, by register index
  uint8_t regs_[RtcRegisterCount] = {};   // 0-9 the latched copy, 14-63 the CMOS bytes
  uint8_t imageA_ = 0, imageB_ = 0;       // last values written, for changed bits
  VBool UIP_ = False;
  uint8_t DV_ = 0, RS_ = 0;
  VBool SET_ = False, PIE_ = False, AIE_ = False, UIE_ = False, SQWE_ = False, DM_ = False, H24_ = False,
        DSE_ = False;
  VBool IRQF_ = False, PF_ = False, AF_ = False, UF_ = False, VRT_ = True;
  double dateTimeOffset_ = -10227;
  double emulatedTime_ = 0;
  double terminateTime_ = 0;
  double machineOff_ = 0;  // days between the last end and this start
  int32_t century_ = 19;
};

extern class1468hc18 Rtc;

}  // namespace korva
