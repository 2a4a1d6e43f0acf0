// The clock as guest software meets it through the bus: rtc_clock.s writes the
// time (months 13, 0x99 and 0xFF among them), waits for the update flag and
// reads the time back, while the host side calls the once-a-second update.
#include <gtest/gtest.h>

#include "board/Rtc1468hc18.h"
#include "bus/Memory.h"
#include "cpu/CpuState.h"
#include "support/ScriptedHost.h"
#include "support/GuestProgram.h"

namespace korva {
namespace {

using test::Stop;

TEST(RtcGuest, ProgramSetsAndReadsTheClock) {
  test::TestMachine m;
  ScriptedHost host;
  m.SetDeviceCode(0xF1A080, 0xF1A0FF, DcRtc);
  Rtc.LoadSettings();
  ASSERT_TRUE(m.LoadSrec("rtc_clock.s19"));
  ASSERT_EQ(m.ResetCpu(), Stop::Fetch);
  Stop stop = Stop::Fetch;
  int updates = 0;
  for (int i = 1; i <= 200000 && stop == Stop::Fetch; ++i) {
    stop = m.StepInstruction();
    if (i % 300 == 0) {  // the one-second timer, between two instructions
      host.AdvanceClock(1);
      Rtc.Update(host.Clock);
      ++updates;
    }
  }
  ASSERT_EQ(stop, Stop::StopInstr) << test::StopName(stop) << " at PC " << std::hex << CpuPC;
  test::ExpectChecksPassed(m, "rtc_clock.s19", 23);
  EXPECT_LT(updates, 20);  // each case waited for one update, not for the poll limit
}

}  // namespace
}  // namespace korva
