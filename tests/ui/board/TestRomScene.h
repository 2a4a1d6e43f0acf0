// The picture the screen part of our test ROM draws, for the picture test and
// the screen window's tests: the ROM runs as the boot ROM after a power-on reset
// until it stops.
#pragma once
#include <sstream>
#include <string>

#include "cpu/CpuState.h"
#include "cpu/SystemReset.h"
#include "support/TestMachine.h"
#include "unit/board/BoardFixture.h"

namespace korva::ui::test {

// Boots tests/guest/testrom_screen.s on a fresh machine; host answers the
// start-up's settings. Returns an empty text when the ROM ended well, else
// what went wrong. The machine's globals keep the picture afterwards.
inline std::string DrawTestRomScene(ScriptedHost& host) {
  korva::test::TestMachine m;
  SetHost(&host);
  host.PresetSetting("General", "RomFilename", std::string(KORVA_GUEST_DIR) + "/testrom_screen.s19");
  host.PresetSetting("General", "FontFilename", std::string(KORVA_GUEST_DIR) + "/no-font-here.s19");
  korva::test::ResetBoardState();
  ResetDevices(True);
  std::ostringstream why;
  if (m.ResetCpu() != korva::test::Stop::Fetch) why << "no reset; ";
  const korva::test::Stop stop = m.RunUntilStop(5000000);
  if (stop != korva::test::Stop::StopInstr) why << "ended by " << korva::test::StopName(stop) << "; ";
  if (CpuDReg[7] != 0x600DC0DEu) why << "D7 " << std::hex << CpuDReg[7];
  Exceptions.Reset();
  IMaskFlag = False;
  return why.str();
}

}  // namespace korva::ui::test
