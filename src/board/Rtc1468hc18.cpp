#include "board/Rtc1468hc18.h"

#include <cmath>
#include <cstdio>
#include <optional>

#include "bus/Exceptions.h"
#include "host/DateTime.h"
#include "host/Host.h"
#include "host/HostTimer.h"
#include "host/Settings.h"
#include "board/BoardSettings.h"
#include "tables/Helpers.h"
#include "tables/TextFormat.h"

namespace korva {

class1468hc18 Rtc;

namespace {

constexpr char Section[] = "MC1468HC18";
constexpr double DefaultOffset = -10227;  // days: the clock starts 28 years behind the host
constexpr const char* TimeKeys[10] = {"Seconds", "SecondsAlarm", "Minutes", "MinutesAlarm", "Hours",
                                      "HoursAlarm", "DayOfWeek", "Day", "Month", "Year"};
// Periodic interval in milliseconds by RS (0: no ticks).
constexpr int32_t RateInterval[16] = {0, 1, 1, 1, 1, 1, 1, 2, 4, 8, 16, 31, 63, 125, 250, 500};

std::string CmosKey(int index) {
  return std::string("CMOS") + static_cast<char>('0' + index / 10) + static_cast<char>('0' + index % 10);
}

uint8_t LoadByte(const char* key) { return static_cast<uint8_t>(GetSettingLong(Section, key, 0, 0, 255)); }

}  // namespace

class1468hc18::class1468hc18() {
  static constexpr uint8_t days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  for (int i = 0; i < 12; ++i) {
    daysInMonth_[i] = days[i];
    const uint8_t h = static_cast<uint8_t>(i == 0 ? 12 : i);  // 12 AM, 1 AM ... 11 AM
    hour12Bin_[i] = h;
    hour12Bin_[i + 12] = static_cast<uint8_t>(h | 0x80);
    hour12Bcd_[i] = BinaryToBcd(h);
    hour12Bcd_[i + 12] = static_cast<uint8_t>(BinaryToBcd(h) | 0x80);
  }
}

// ---- Settings ----

void class1468hc18::LoadSettings() {
  HostServices& host = Host();
  const double now = host.Now();
  UIP_ = False;
  terminateTime_ = ParseDateText(host.GetSetting(Section, "TerminateTime", DateText(now))).value_or(now);
  // A hand-edited value may hold any number: only its bits of the field count.
  DV_ = static_cast<uint8_t>(GetSettingLong(Section, "DV", 0) & 7);
  RS_ = static_cast<uint8_t>(GetSettingLong(Section, "RS", 0) & 15);
  SET_ = GetSettingBool(Section, "SET", False);
  DM_ = GetSettingBool(Section, "DM", False);
  H24_ = GetSettingBool(Section, "H24x12", False);
  DSE_ = GetSettingBool(Section, "DSE", False);
  const std::optional<double> offset =
      ParseNumberText(host.GetSetting(Section, "DateTimeOffset", NumberText(DefaultOffset)));
  dateTimeOffset_ = offset && IsDateInRange(now + *offset) ? *offset : DefaultOffset;
  work_[RtcSecondsAlarm] = LoadByte("SecondsAlarm");
  work_[RtcMinutesAlarm] = LoadByte("MinutesAlarm");
  work_[RtcHoursAlarm] = LoadByte("HoursAlarm");
  for (int r : {RtcSeconds, RtcMinutes, RtcHours, RtcDayOfMonth, RtcMonth, RtcYear}) work_[r] = LoadByte(TimeKeys[r]);
  century_ = GetSettingLong(Section, "Century", 19, 0, 255);
  work_[RtcDayOfWeek] = LoadByte("DayOfWeek");
  for (int i = RtcCmosFirst; i < RtcRegisterCount; ++i) regs_[i] = LoadByte(CmosKey(i).c_str());
  VRT_ = GetSettingBool(Section, "VRT", True);
  machineOff_ = now - terminateTime_;

  host.PeriodicTimer().OnTick = [this] { Periodic(); };
  RtcSetRate(RS_);
  RtcSetDivider(DV_);
  emulatedTime_ = now + dateTimeOffset_;
  CalcTimeRegs();
  PIE_ = AIE_ = UIE_ = SQWE_ = False;
  IRQF_ = PF_ = AF_ = UF_ = False;
  for (int i = 0; i < RtcRegA; ++i) regs_[i] = 0;
  // The image of A holds the loaded rate, so that the guest's first write of A
  // acts on the rate and divider bits that really change (RS 0 stops a loaded rate).
  imageA_ = static_cast<uint8_t>(DV_ << 4 | RS_);
  imageB_ = 0;
}

void class1468hc18::SaveSettings() {
  HostServices& host = Host();
  SaveSettingLong(Section, "DV", DV_);
  SaveSettingLong(Section, "RS", RS_);
  SaveSettingBool(Section, "SET", SET_);
  SaveSettingBool(Section, "DM", DM_);
  SaveSettingBool(Section, "H24x12", H24_);
  SaveSettingBool(Section, "DSE", DSE_);
  host.SaveSetting(Section, "DateTimeOffset", NumberText(dateTimeOffset_));
  for (int r : {RtcSecondsAlarm, RtcMinutesAlarm, RtcHoursAlarm, RtcSeconds, RtcMinutes, RtcHours, RtcDayOfMonth,
                RtcMonth, RtcYear})
    SaveSettingLong(Section, TimeKeys[r], work_[r]);
  SaveSettingLong(Section, "Century", century_);
  SaveSettingLong(Section, "DayOfWeek", work_[RtcDayOfWeek]);
  for (int i = RtcCmosFirst; i < RtcRegisterCount; ++i) SaveSettingLong(Section, CmosKey(i), regs_[i]);
  SaveSettingBool(Section, "VRT", VRT_);
  host.SaveSetting(Section, "TerminateTime", DateText(host.Now()));
}

// ---- Counting ----

int class1468hc18::RtcDaysInMonth(int month, int year) const {
  // A month outside 1-12 has no length: the day steps to 1 and the month on.
  if (month < 1 || month > 12) return 0;
  return month == 2 && year % 4 == 0 ? 29 : daysInMonth_[month - 1];
}

bool class1468hc18::RtcIncrementBinary(uint8_t& reg, int min, int max) const {
  if (reg <= max && reg + 1 <= max) {
    ++reg;
    return false;
  }
  reg = static_cast<uint8_t>(min);
  return true;
}

bool class1468hc18::RtcIncrementBcd(uint8_t& reg, int min, int max) const {
  if (!IsBcdByte(reg)) return false;  // not a BCD value: left alone
  const int b = BcdToBinary(reg);
  if (b <= max && b + 1 <= max) {
    reg = BinaryToBcd(static_cast<uint8_t>(b + 1));
    return false;
  }
  reg = BinaryToBcd(static_cast<uint8_t>(min));
  return true;
}

namespace {
bool StepInSequence(uint8_t& reg, const uint8_t (&seq)[24]) {
  for (int i = 0; i < 24; ++i)
    if (seq[i] == reg) {
      reg = seq[(i + 1) % 24];
      return i == 23;
    }
  return false;  // not an hour of the sequence: it stays
}
}  // namespace

bool class1468hc18::RtcIncrementHour12Bin(uint8_t& reg) const { return StepInSequence(reg, hour12Bin_); }
bool class1468hc18::RtcIncrementHour12Bcd(uint8_t& reg) const { return StepInSequence(reg, hour12Bcd_); }

void class1468hc18::IncrementTimeRegs(bool binary) {
  const StepFn step = binary ? &class1468hc18::RtcIncrementBinary : &class1468hc18::RtcIncrementBcd;
  auto Step = [&](int r, int min, int max) { return (this->*step)(work_[r], min, max); };
  if (!Step(RtcSeconds, 0, 59) || !Step(RtcMinutes, 0, 59)) return;
  const bool hourCarry = H24_ ? Step(RtcHours, 0, 23)
                              : binary ? RtcIncrementHour12Bin(work_[RtcHours]) : RtcIncrementHour12Bcd(work_[RtcHours]);
  if (!hourCarry) return;
  Step(RtcDayOfWeek, 1, 7);
  const int month = binary ? work_[RtcMonth] : BcdToBinary(work_[RtcMonth]);
  const int year = binary ? work_[RtcYear] : BcdToBinary(work_[RtcYear]);
  if (!Step(RtcDayOfMonth, 1, RtcDaysInMonth(month, year))) return;
  if (!Step(RtcMonth, 1, 12)) return;
  Step(RtcYear, 0, 99);
}

void class1468hc18::IncrementBinTimeRegs() { IncrementTimeRegs(true); }
void class1468hc18::IncrementBcdTimeRegs() { IncrementTimeRegs(false); }

VBool class1468hc18::IsAlarmMatch() const {
  auto match = [this](int reg, int alarm) { return work_[reg] == work_[alarm] || work_[alarm] >= 0xC0; };
  return ToVBool(match(RtcSeconds, RtcSecondsAlarm) && match(RtcMinutes, RtcMinutesAlarm) &&
                 match(RtcHours, RtcHoursAlarm));
}

void class1468hc18::Update(double pDateTime) {
  if (SET_) return;  // the clock stands still while the guest sets it
  emulatedTime_ = pDateTime + dateTimeOffset_;
  IncrementTimeRegs(DM_ != 0);
  if (IsAlarmMatch()) RtcRaiseAF();
  RtcRaiseUF();
  UIP_ = False;
}

void class1468hc18::Periodic() { RtcRaisePF(); }

// ---- Date and time ----

void class1468hc18::SetDateTimeOffset(double dateTime) { dateTimeOffset_ = dateTime - Host().Now(); }

void class1468hc18::CalcTimeRegs() {
  const DateParts p = SplitDate(emulatedTime_);
  auto conv = [this](int v) { return DM_ ? static_cast<uint8_t>(v) : BinaryToBcd(static_cast<uint8_t>(v)); };
  work_[RtcSeconds] = conv(p.Second);
  work_[RtcMinutes] = conv(p.Minute);
  work_[RtcDayOfMonth] = conv(p.Day);
  work_[RtcMonth] = conv(p.Month);
  work_[RtcYear] = conv(p.Year % 100);
  work_[RtcDayOfWeek] = static_cast<uint8_t>(p.Weekday);
  if (H24_)
    work_[RtcHours] = conv(p.Hour);
  else if (p.Hour == 0)
    work_[RtcHours] = conv(12);
  else if (p.Hour < 12)
    work_[RtcHours] = conv(p.Hour);
  else
    work_[RtcHours] = static_cast<uint8_t>(conv(p.Hour == 12 ? 12 : p.Hour % 12) | 0x80);
}

double class1468hc18::CalcNewTime() const {
  // A value that is not BCD in BCD mode reads as -1, which no field accepts.
  auto bin = [this](uint8_t v) { return DM_ ? v : IsBcdByte(v) ? BcdToBinary(v) : -1; };
  int hour;
  if (H24_) {
    hour = bin(work_[RtcHours]);
  } else {
    const int h12 = bin(static_cast<uint8_t>(work_[RtcHours] & 0x7F));
    hour = h12 < 1 || h12 > 12 ? -1 : h12 % 12 + ((work_[RtcHours] & 0x80) ? 12 : 0);
  }
  const int year = bin(work_[RtcYear]);
  const std::optional<double> date =
      year < 0 ? std::nullopt
               : DateSerial(century_ * 100 + year, bin(work_[RtcMonth]), bin(work_[RtcDayOfMonth]), hour,
                            bin(work_[RtcMinutes]), bin(work_[RtcSeconds]));
  return date ? *date : Host().Now() + DefaultOffset;
}

// ---- Registers ----

void class1468hc18::RtcLatchTimeRegs() {
  for (int r : {RtcSeconds, RtcMinutes, RtcHours, RtcDayOfWeek, RtcDayOfMonth, RtcMonth, RtcYear}) regs_[r] = work_[r];
}

uint8_t class1468hc18::RegisterA() const { return static_cast<uint8_t>((UIP_ ? 0x80 : 0) | DV_ << 4 | RS_); }
uint8_t class1468hc18::RegisterB() const { return MakeByteFromBits(SET_, PIE_, AIE_, UIE_, SQWE_, DM_, H24_, DSE_); }
uint8_t class1468hc18::RegisterC() const { return MakeByteFromBits(IRQF_, PF_, AF_, UF_, 0, 0, 0, 0); }

uint8_t class1468hc18::Reg(uint32_t index) {
  index &= RtcRegisterCount - 1;
  switch (index) {
    case RtcHours:
      if (VdosVersion == 1027) RtcLatchTimeRegs();
      return regs_[index];
    case RtcSecondsAlarm:
    case RtcMinutesAlarm:
    case RtcHoursAlarm:
      return work_[index];
    case RtcRegA: {
      const uint8_t v = RegisterA();
      RtcLatchTimeRegs();
      return v;
    }
    case RtcRegB:
      return RegisterB();
    case RtcRegC: {
      const uint8_t v = RegisterC();
      IRQF_ = PF_ = AF_ = UF_ = False;
      Exceptions.ClrIP(IntEntryClock);
      RtcLatchTimeRegs();
      return v;
    }
    case RtcRegD:
      VRT_ = True;
      return 0x80;
    default:
      return regs_[index];  // latched time registers and CMOS bytes
  }
}

void class1468hc18::Reg(uint32_t index, uint8_t value) {
  index &= RtcRegisterCount - 1;
  if (index < RtcRegA) {
    work_[index] = value;
    regs_[index] = value;
    return;
  }
  switch (index) {
    case RtcRegA:
      DV_ = static_cast<uint8_t>(value >> 4 & 7);
      RS_ = static_cast<uint8_t>(value & 15);
      if (BitsChanged(imageA_, value, 0x0F)) RtcSetRate(RS_);
      if (BitsChanged(imageA_, value, 0x70)) RtcSetDivider(DV_);
      imageA_ = value;
      return;
    case RtcRegB:
      SET_ = ToVBool(value & 0x80);
      if (SET_) UIP_ = False;
      RtcSetPIE(ToVBool(value & 0x40));
      RtcSetAIE(ToVBool(value & 0x20));
      RtcSetUIE(ToVBool(value & 0x10));
      SQWE_ = ToVBool(value & 0x08);
      DM_ = ToVBool(value & 0x04);
      H24_ = ToVBool(value & 0x02);
      DSE_ = ToVBool(value & 0x01);
      // Clearing SET makes the time the guest wrote the emulated time.
      if (BitsChanged(imageB_, value, 0x80) && !SET_) SetDateTimeOffset(CalcNewTime());
      imageB_ = value;
      return;
    case RtcRegC:
    case RtcRegD:
      return;  // read-only
    default:
      regs_[index] = value;  // CMOS byte
  }
}

// ---- Periodic rate and interrupts ----

void class1468hc18::RtcSetRate(uint8_t rs) {
  HostTimer& timer = Host().PeriodicTimer();
  if ((rs & 15) == 0) {
    timer.Enabled(false);
    timer.Interval(0);
  } else {
    timer.Interval(RateInterval[rs & 15]);
    timer.Enabled(true);
  }
}

void class1468hc18::RtcSetDivider(uint8_t dv) {
  if (dv <= 2)
    Host().PeriodicTimer().Enabled(true);
  else if (dv >= 6)
    Host().PeriodicTimer().Enabled(false);
}

void class1468hc18::RtcRaisePF() {
  PF_ = True;
  if (PIE_) {
    IRQF_ = True;
    Exceptions.SetIP(IntEntryClock);
  }
}
void class1468hc18::RtcRaiseAF() {
  AF_ = True;
  if (AIE_) {
    IRQF_ = True;
    Exceptions.SetIP(IntEntryClock);
  }
}
void class1468hc18::RtcRaiseUF() {
  UF_ = True;
  if (UIE_) {
    IRQF_ = True;
    Exceptions.SetIP(IntEntryClock);
  }
}
void class1468hc18::RtcSetPIE(VBool on) {
  PIE_ = on;
  if (PIE_ && PF_) RtcRaisePF();
}
void class1468hc18::RtcSetAIE(VBool on) {
  AIE_ = on;
  if (AIE_ && AF_) RtcRaiseAF();
}
void class1468hc18::RtcSetUIE(VBool on) {
  UIE_ = on;
  if (UIE_ && UF_) RtcRaiseUF();
}

void class1468hc18::Reset() { PIE_ = AIE_ = UIE_ = SQWE_ = IRQF_ = PF_ = AF_ = UF_ = False; }

// ---- Dumps ----

std::string class1468hc18::DisplayClock() const {
  static const char CrLf[] = "\r\n";
  auto field = [this](uint8_t v) {
    if (!DM_) return HexByte(v);
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return std::string(buf);
  };
  std::string s;
  s += "Seconds - " + HexByte(work_[RtcSeconds]) + CrLf;
  s += "Minutes - " + HexByte(work_[RtcMinutes]) + CrLf;
  s += "Hours   - " + HexByte(work_[RtcHours]) + CrLf;
  s += "DayOfweek - " + HexByte(work_[RtcDayOfWeek]) + CrLf;
  s += "Day   - " + HexByte(work_[RtcDayOfMonth]) + CrLf;
  s += "Month - " + HexByte(work_[RtcMonth]) + CrLf;
  s += "Year  - " + HexByte(work_[RtcYear]) + CrLf;
  s += "Date/Time - (y/m/d h:m:s) = " + field(work_[RtcYear]) + "/" + field(work_[RtcMonth]) + "/" +
       field(work_[RtcDayOfMonth]) + " " + field(static_cast<uint8_t>(work_[RtcHours] & 0x7F)) + ":" +
       field(work_[RtcMinutes]) + ":" + field(work_[RtcSeconds]);
  if (!H24_) s += (work_[RtcHours] & 0x80) ? " PM" : " AM";
  s += CrLf;
  s += "SecondsAlarm - " + HexByte(work_[RtcSecondsAlarm]) + CrLf;
  s += "MinutesAlarm - " + HexByte(work_[RtcMinutesAlarm]) + CrLf;
  s += "HoursAlarm   - " + HexByte(work_[RtcHoursAlarm]) + CrLf;
  s += "RegisterA   - " + HexByte(RegisterA()) + CrLf;
  s += " - UIP = " + BoolText(UIP_) + " - DV = " + HexLongTrim(DV_) + " - RS = " + HexLongTrim(RS_) + CrLf;
  s += "RegisterB   - " + HexByte(RegisterB()) + CrLf;
  s += " - Set=" + BoolText(SET_) + " - PIE=" + BoolText(PIE_) + " - AIE=" + BoolText(AIE_) +
       " - UIE=" + BoolText(UIE_) + CrLf;
  s += " - SQWE=" + BoolText(SQWE_) + " - DM=" + BoolText(DM_) + " - 24/12=" + BoolText(H24_) +
       " - DSE=" + BoolText(DSE_) + CrLf;
  s += "RegisterC   - " + HexByte(RegisterC()) + CrLf;
  s += " - IRQF=" + BoolText(IRQF_) + " - PF=" + BoolText(PF_) + " - AF=" + BoolText(AF_) + " - UF=" + BoolText(UF_) +
       CrLf;
  s += "RegisterD   - " + HexByte(VRT_ ? 0x80 : 0) + CrLf;
  s += " - VRT=" + BoolText(VRT_) + CrLf;
  s += "DateTimeOffset   - " + DisplayNumberText(dateTimeOffset_) + CrLf;
  s += "Date/Time        - " + DateText(emulatedTime_) + CrLf;
  s += "Seconds Machine Off - " + DisplayNumberText(std::round(machineOff_ * 86400.0)) + CrLf;
  return s;
}

std::string class1468hc18::DisplayCMOS() const {
  std::string s;
  for (int i = 0; i < RtcRegisterCount; ++i) {
    s += (i < RtcCmosFirst ? std::string("xx") : HexByte(regs_[i])) + " ";
    if (i % 16 == 15) s += "\r\n";
  }
  return s;
}

}  // namespace korva
