// The real-time clock: counting in binary and BCD, 12- and 24-hour hours, the
// flags and interrupt entry 14, the periodic rate, setting the time, the
// settings section and the debugger dumps. The host's clock and periodic timer
// are scripted; no test waits on the wall clock.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "board/Rtc1468hc18.h"
#include "bus/Exceptions.h"
#include "host/DateTime.h"
#include "support/ScriptedHost.h"
#include "board/BoardSettings.h"
#include "bus/Memory.h"
#include "support/GuestProgram.h"

namespace korva {
namespace {

constexpr uint8_t SetBit = 0x80, UieBit = 0x10, DmBit = 0x04, H24Bit = 0x02;

class RtcTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Exceptions.Reset();
    rtc.LoadSettings();
  }
  void TearDown() override { Exceptions.Reset(); }

  // Writes the time with SET held, then lets the clock run in the given mode.
  void SetTime(uint8_t mode, std::array<uint8_t, 7> t) {  // sec, min, hour, dow, day, month, year
    rtc.Reg(RtcRegB, static_cast<uint8_t>(SetBit | mode));
    const RtcRegister at[7] = {RtcSeconds, RtcMinutes, RtcHours, RtcDayOfWeek, RtcDayOfMonth, RtcMonth, RtcYear};
    for (int i = 0; i < 7; ++i) rtc.Reg(at[i], t[static_cast<size_t>(i)]);
    rtc.Reg(RtcRegB, mode);
  }
  // The time registers as a guest reads them after reading A.
  std::array<uint8_t, 7> Time() {
    rtc.Reg(RtcRegA);
    return {rtc.Reg(RtcSeconds), rtc.Reg(RtcMinutes), rtc.Reg(RtcHours), rtc.Reg(RtcDayOfWeek),
            rtc.Reg(RtcDayOfMonth), rtc.Reg(RtcMonth), rtc.Reg(RtcYear)};
  }
  void Tick() {
    host.AdvanceClock(1);
    rtc.Update(host.Clock);
  }
  bool Irq() const { return Exceptions.IsIP(IntEntryClock) != 0; }

  ScriptedHost host;
  class1468hc18 rtc;
};

using T7 = std::array<uint8_t, 7>;

// One second from the time written (sec, min, hour, dow, day, month, year).
TEST_F(RtcTest, OneSecondSteps) {
  const uint8_t Bin24 = DmBit | H24Bit, Bcd12 = 0, Bcd24 = H24Bit;
  const struct {
    uint8_t Mode;
    T7 From, To;
  } cases[] = {
      {Bin24, {59, 59, 23, 7, 31, 12, 99}, {0, 0, 0, 1, 1, 1, 0}},
      {Bin24, {59, 59, 23, 3, 28, 2, 24}, {0, 0, 0, 4, 29, 2, 24}},  // leap year
      {Bin24, {59, 59, 23, 3, 28, 2, 23}, {0, 0, 0, 4, 1, 3, 23}},
      {Bcd12, {0x59, 0x59, 0x11, 2, 0x15, 0x06, 0x24}, {0, 0, 0x92, 2, 0x15, 0x06, 0x24}},  // 11 AM -> 12 PM
      {Bcd12, {0x59, 0x59, 0x91, 2, 0x30, 0x06, 0x24}, {0, 0, 0x12, 3, 0x01, 0x07, 0x24}},  // 11 PM -> 12 AM
      {Bcd12, {0x59, 0x59, 0x13, 2, 0x30, 0x06, 0x24}, {0, 0, 0x13, 2, 0x30, 0x06, 0x24}},  // no such hour
      {Bcd12, {0x5A, 0x59, 0x01, 2, 0x30, 0x06, 0x24}, {0x5A, 0x59, 0x01, 2, 0x30, 0x06, 0x24}},  // not BCD
      // Months outside the year step safely (13, 0x99 and BCD 0xFF: the guest program rtc_clock.s).
      {Bin24, {59, 59, 23, 1, 5, 0xFF, 30}, {0, 0, 0, 2, 1, 1, 31}},
      {Bcd24, {0x59, 0x59, 0x23, 1, 0x05, 0x00, 0x30}, {0, 0, 0, 2, 0x01, 0x01, 0x30}},
  };
  for (const auto& c : cases) {
    SetTime(c.Mode, c.From);
    Tick();
    EXPECT_EQ(Time(), c.To) << "from " << testing::PrintToString(c.From);
  }
}

TEST_F(RtcTest, FlagsAndInterruptEntry14) {
  EXPECT_EQ(rtc.Reg(RtcRegD), 0x80);
  EXPECT_EQ(rtc.Reg(RtcRegA) & 0x80, 0);  // UIP
  for (RtcRegister a : {RtcSecondsAlarm, RtcMinutesAlarm, RtcHoursAlarm}) rtc.Reg(a, 0xC0);
  rtc.Reg(RtcRegB, DmBit | H24Bit);
  for (int second = 0; second < 3; ++second) {
    Tick();
    EXPECT_FALSE(Irq());  // flags without their enables raise nothing
    EXPECT_EQ(rtc.Reg(RtcRegC), 0x30) << second;  // AF and UF every second
  }
  Tick();
  rtc.Reg(RtcRegB, UieBit | DmBit | H24Bit);  // UF still set: raised at once
  EXPECT_TRUE(Irq());
  EXPECT_EQ(rtc.Reg(RtcRegC), 0xB0);
  EXPECT_FALSE(Irq());
  EXPECT_EQ(rtc.Reg(RtcRegC), 0x00);
  rtc.Reg(RtcSecondsAlarm, 0x30);  // no match
  Tick();
  EXPECT_EQ(rtc.Reg(RtcRegC), 0x90);

  // While SET is held the clock stands still; the periodic flag goes on.
  rtc.Reg(RtcRegB, SetBit | 0x40 | UieBit | DmBit | H24Bit);
  const T7 held = Time();
  Tick();
  EXPECT_EQ(Time(), held);
  EXPECT_FALSE(Irq());
  rtc.Periodic();
  EXPECT_TRUE(Irq());
  EXPECT_EQ(rtc.Reg(RtcRegC), 0xC0);

  rtc.Reset();  // enables and flags cleared, the time kept
  EXPECT_EQ(rtc.Reg(RtcRegB), SetBit | DmBit | H24Bit);
  EXPECT_EQ(Time(), held);
  EXPECT_EQ(rtc.Reg(RtcSecondsAlarm), 0x30);
}

TEST_F(RtcTest, HoursReadLatchesOnlyForVersion1027) {
  SetTime(DmBit | H24Bit, {10, 20, 8, 1, 1, 1, 1});
  Time();
  Tick();
  EXPECT_EQ(rtc.Reg(RtcSeconds), 10);  // the last latch
  VdosVersion = 1028;
  rtc.Reg(RtcHours);
  EXPECT_EQ(rtc.Reg(RtcSeconds), 10);
  VdosVersion = 1027;
  rtc.Reg(RtcHours);
  EXPECT_EQ(rtc.Reg(RtcSeconds), 11);
}

TEST_F(RtcTest, RegisterASetsThePeriodicTimer) {
  ScriptedTimer& timer = host.Timer;
  rtc.Reg(RtcRegA, 0x26);
  EXPECT_EQ(timer.Interval(), 1);
  EXPECT_TRUE(timer.Enabled());
  const int32_t changes = timer.Changes;
  rtc.Reg(RtcRegA, 0x26);  // the same RS and DV: the timer is not touched
  EXPECT_EQ(timer.Changes, changes);
  rtc.Reg(RtcRegA, 0x2F);
  EXPECT_EQ(timer.Interval(), 500);
  EXPECT_EQ(timer.Fire(3), 3);  // each tick sets PF
  EXPECT_EQ(rtc.Reg(RtcRegC), 0x40);
  rtc.Reg(RtcRegA, 0x20);
  EXPECT_FALSE(timer.Enabled());
  EXPECT_EQ(timer.Interval(), 0);

  rtc.Reg(RtcRegA, 0x2F);
  rtc.Reg(RtcRegA, 0x6F);  // DV 6 stops the timer, the interval stays
  EXPECT_FALSE(timer.Running());
  EXPECT_EQ(timer.Interval(), 500);
  for (uint8_t dv : {3, 4, 5}) rtc.Reg(RtcRegA, static_cast<uint8_t>(dv << 4 | 0xF));
  EXPECT_FALSE(timer.Enabled());  // DV 3-5 leave it
  rtc.Reg(RtcRegA, 0x0F);
  EXPECT_TRUE(timer.Running());
  rtc.Reg(RtcRegA, 0x4F);
  EXPECT_TRUE(timer.Running());
  rtc.Reg(RtcRegA, 0x00);  // DV 0 enables, RS 0 gives no ticks
  EXPECT_TRUE(timer.Enabled() && !timer.Running());
  EXPECT_EQ(timer.Fire(), 0);
}

TEST_F(RtcTest, ClearingSetMakesTheWrittenTimeTheEmulatedTime) {
  rtc.Century(20);
  SetTime(DmBit | H24Bit, {30, 20, 10, 2, 14, 3, 5});
  rtc.Update(host.Clock);
  EXPECT_DOUBLE_EQ(rtc.GetEmulatorTime(), *DateSerial(2005, 3, 14, 10, 20, 30));
  host.AdvanceClock(3600);
  rtc.Update(host.Clock);
  EXPECT_EQ(DateText(rtc.GetEmulatorTime()), "2005-03-14 11:20:30");

  SetTime(0, {0x00, 0x45, 0x91, 2, 0x31, 0x12, 0x99});  // BCD 11 PM
  rtc.Update(host.Clock);
  EXPECT_EQ(DateText(rtc.GetEmulatorTime()), "2099-12-31 23:45:00");
  SetTime(0, {0x00, 0x45, 0x92, 2, 0x31, 0x12, 0x99});  // 12 PM is noon
  rtc.Update(host.Clock);
  EXPECT_EQ(DateText(rtc.GetEmulatorTime()), "2099-12-31 12:45:00");

  // A time that is no time gives the fallback: 10227 days behind the host.
  for (T7 bad : {T7{0, 0, 0x12, 1, 0x30, 2, 0x24}, T7{0x5A, 0, 0x12, 1, 1, 1, 0x24}, T7{0, 0, 0x13, 1, 1, 1, 0x24},
                 T7{0, 0, 0x80, 1, 1, 1, 0x24}}) {
    SetTime(0, bad);
    EXPECT_DOUBLE_EQ(rtc.DateTimeOffset(), -10227);
  }
}

TEST_F(RtcTest, SettingsDefaultsAndRoundTrip) {
  // Defaults: the clock 10227 days behind the host, computed into the registers.
  EXPECT_DOUBLE_EQ(rtc.DateTimeOffset(), -10227);
  EXPECT_EQ(rtc.Century(), 19);
  EXPECT_EQ(DateText(rtc.GetEmulatorTime()), "1996-06-15 12:00:00");
  rtc.Reg(RtcRegA, 0x2A);
  rtc.Reg(RtcRegB, H24Bit | 1);
  rtc.Reg(RtcHoursAlarm, 0xC1);
  rtc.Reg(20, 0x5E);
  rtc.Reg(63, 0xFF);
  rtc.SaveSettings();
  class1468hc18 again;  // everything but the time registers, which follow the offset, comes back
  again.LoadSettings();
  const auto fromAlarms = [](const std::string& t) { return t.substr(t.find("SecondsAlarm")); };
  EXPECT_EQ(fromAlarms(again.DisplayClock()), fromAlarms(rtc.DisplayClock()));
  EXPECT_EQ(again.DisplayCMOS(), rtc.DisplayCMOS());
  EXPECT_EQ(*host.StoredSetting("MC1468HC18", "H24x12"), "True");
  EXPECT_EQ(*host.StoredSetting("MC1468HC18", "TerminateTime"), "2024-06-15 12:00:00");
}

TEST_F(RtcTest, BadSettingsGiveDefinedValues) {
  const char* S = "MC1468HC18";
  host.PresetSetting(S, "RS", "22");  // only the field's bits count: 6
  host.PresetSetting(S, "DV", "-1");  // 7: stopped
  host.PresetSetting(S, "DateTimeOffset", "1e300");
  host.PresetSetting(S, "Century", "1000");
  host.PresetSetting(S, "SecondsAlarm", "300");
  host.PresetSetting(S, "CMOS14", "x");
  host.PresetSetting(S, "TerminateTime", "yesterday");
  class1468hc18 c;
  c.LoadSettings();
  EXPECT_EQ(c.Reg(RtcRegA), 0x76);
  EXPECT_EQ(host.Timer.Interval(), 1);
  EXPECT_FALSE(host.Timer.Enabled());
  EXPECT_DOUBLE_EQ(c.DateTimeOffset(), -10227);
  EXPECT_EQ(c.Century(), 19);
  EXPECT_EQ(c.Reg(RtcSecondsAlarm), 0);
  EXPECT_EQ(c.Reg(14), 0);
  EXPECT_NE(c.DisplayClock().find("Seconds Machine Off - 0\r\n"), std::string::npos);
}

TEST_F(RtcTest, DumpTextsDecodeTheRegisters) {
  SetTime(0, {0x05, 0x04, 0x83, 6, 0x21, 0x09, 0x07});  // BCD 3 PM
  rtc.Reg(RtcRegA, 0x26);
  rtc.Reg(RtcRegB, 0x40);
  rtc.Periodic();
  rtc.Reg(17, 0xAB);
  const std::string clock = rtc.DisplayClock();
  for (const char* part : {"Hours   - 83\r\n", "= 07/09/21 03:04:05 PM\r\n", " - UIP = False - DV = 2 - RS = 6\r\n",
                           " - Set=False - PIE=True - AIE=False", " - IRQF=True - PF=True - AF=False - UF=False\r\n"})
    EXPECT_NE(clock.find(part), std::string::npos) << part << " in\n" << clock;
  rtc.Reg(RtcRegB, DmBit | H24Bit);  // binary registers shown in decimal
  EXPECT_NE(rtc.DisplayClock().find("= 07/09/33 03:04:05\r\n"), std::string::npos);
  std::string cmos = "xx xx xx xx xx xx xx xx xx xx xx xx xx xx 00 00 \r\n00 AB ";
  for (int i = 18; i < 64; ++i) cmos += i % 16 == 15 ? "00 \r\n" : "00 ";
  EXPECT_EQ(rtc.DisplayCMOS(), cmos);
  EXPECT_EQ(rtc.Reg(RtcRegC), 0xC0);  // the dumps cleared nothing
}

// The clock as guest software meets it through the bus: rtc_clock.s writes the
// time (months 13, 0x99 and 0xFF among them), waits for the update flag and
// reads the time back, while the host side calls the once-a-second update.
TEST(RtcGuest, ProgramSetsAndReadsTheClock) {
  test::TestMachine m;
  ScriptedHost host;
  m.SetDeviceCode(0xF1A080, 0xF1A0FF, DcRtc);
  Rtc.LoadSettings();
  ASSERT_TRUE(m.LoadSrec("rtc_clock.s19"));
  ASSERT_EQ(m.ResetCpu(), test::Stop::Fetch);
  test::Stop stop = test::Stop::Fetch;
  int updates = 0;
  for (int i = 1; i <= 200000 && stop == test::Stop::Fetch; ++i) {
    stop = m.StepInstruction();
    if (i % 300 == 0) {  // the one-second timer, between two instructions
      host.AdvanceClock(1);
      Rtc.Update(host.Clock);
      ++updates;
    }
  }
  ASSERT_EQ(stop, test::Stop::StopInstr) << test::StopName(stop);
  test::ExpectChecksPassed(m, "rtc_clock.s19", 23);
  EXPECT_LT(updates, 20);  // each case waited for one update, not for the poll limit
}

}  // namespace
}  // namespace korva
