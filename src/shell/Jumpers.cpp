// The jumper values: their settings keys and their exchange with the machine.
#include "shell/Jumpers.h"

#include "board/BoardSettings.h"
#include "disk/DiskSettings.h"
#include "disk/RWIN.h"
#include "host/Settings.h"
#include "serial/MC6821.h"
#include "serial/MVME400.h"

namespace korva {

void SaveJumperSettings(const JumperFields& f) {
  SettingsBatch batch;
  SaveSettingBool("SCM", "SrSW0", f.SrSW0);
  SaveSettingBool("SCM", "SrSW1", f.SrSW1);
  SaveSettingBool("SCM", "SrSW2", f.SrSW2);
  SaveSettingBool("SCM", "SrIOchEN", f.SrIOchEN);
  SaveSettingLong("IOC", "M400C0N7201Int", f.M400C0N7201Int);
  SaveSettingLong("IOC", "M400C0IRQAInt", f.M400C0IRQAInt);
  SaveSettingLong("IOC", "M400C0IRQBInt", f.M400C0IRQBInt);
  SaveSettingLong("IOC", "M400C0BaudA", f.M400C0BaudA);
  SaveSettingLong("IOC", "M400C0BaudB", f.M400C0BaudB);
  SaveSettingLong("IOC", "M400C1N7201Int", f.M400C1N7201Int);
  SaveSettingLong("IOC", "M400C1IRQAInt", f.M400C1IRQAInt);
  SaveSettingLong("IOC", "M400C1IRQBInt", f.M400C1IRQBInt);
  SaveSettingLong("IOC", "M400C1BaudA", f.M400C1BaudA);
  SaveSettingLong("IOC", "M400C1BaudB", f.M400C1BaudB);
  SaveSettingLong("IOC", "M410P1IRQAInt", f.M410P1IRQAInt);
  SaveSettingLong("IOC", "M410P1IRQBInt", f.M410P1IRQBInt);
  SaveSettingLong("IOC", "M410P2IRQAInt", f.M410P2IRQAInt);
  SaveSettingLong("IOC", "M410P2IRQBInt", f.M410P2IRQBInt);
  SaveSettingLong("IOC", "RWINDATAInt", f.RWINDATAInt);
  SaveSettingLong("IOC", "RWINCMDInt", f.RWINCMDInt);
  SaveSettingLong("RWIN", "RwinDiskType2", f.RwinDiskType2);
  SaveSettingLong("RWIN", "RwinDiskType3", f.RwinDiskType3);
  SaveSettingBool("RWIN", "RwinDiskAuto2", f.RwinDiskAuto2);
  SaveSettingBool("RWIN", "RwinDiskAuto3", f.RwinDiskAuto3);
  SaveSettingBool("RWIN", "J16TPI48or96A0", f.J16TPI48or96A0);
  SaveSettingBool("RWIN", "J16Size5or8A1", f.J16Size5or8A1);
  SaveSettingBool("RWIN", "J16TPI48or96", f.J16TPI48or96);
  SaveSettingBool("RWIN", "J16Size5or8", f.J16Size5or8);
  SaveSettingBool("RWIN", "J16FSR0", f.J16FSR0);
  SaveSettingBool("RWIN", "J16FSR1", f.J16FSR1);
  SaveSettingBool("RWIN", "J16FixOrCartW1", f.J16FixOrCartW1);
  SaveSettingBool("RWIN", "J16BuffOrUnbuffW1", f.J16BuffOrUnbuffW1);
  SaveSettingBool("RWIN", "J16FixOrCartW0", f.J16FixOrCartW0);
  SaveSettingBool("RWIN", "J16BuffOrUnbuffW0", f.J16BuffOrUnbuffW0);
}

// The controller's jumper array holds FSR0 before FSR1:
// 48/96, 5/8, FSR0, FSR1, F/C W1, B/U W1, F/C W0, B/U W0.
JumperFields JumperFieldsFromMachine() {
  JumperFields f;
  f.SrSW0 = SrSW0;
  f.SrSW1 = SrSW1;
  f.SrSW2 = SrSW2;
  f.SrIOchEN = SrIOchEN;
  f.M400C0N7201Int = MVME400C0.N7201Int();
  f.M400C0IRQAInt = MVME400C0.IRQA();
  f.M400C0IRQBInt = MVME400C0.IRQB();
  f.M400C0BaudA = MVME400C0.BaudA();
  f.M400C0BaudB = MVME400C0.BaudB();
  f.M400C1N7201Int = MVME400C1.N7201Int();
  f.M400C1IRQAInt = MVME400C1.IRQA();
  f.M400C1IRQBInt = MVME400C1.IRQB();
  f.M400C1BaudA = MVME400C1.BaudA();
  f.M400C1BaudB = MVME400C1.BaudB();
  f.M410P1IRQAInt = MVME410PIA1.IRQA();
  f.M410P1IRQBInt = MVME410PIA1.IRQB();
  f.M410P2IRQAInt = MVME410PIA2.IRQA();
  f.M410P2IRQBInt = MVME410PIA2.IRQB();
  f.RWINDATAInt = Rwin.DataIRQ();
  f.RWINCMDInt = Rwin.CmdIRQ();
  f.RwinDiskAuto2 = RwinDiskAuto[2];
  f.RwinDiskAuto3 = RwinDiskAuto[3];
  f.RwinDiskType2 = RwinDiskType[2];
  f.RwinDiskType3 = RwinDiskType[3];
  f.J16TPI48or96A0 = RwinJ16A[0];
  f.J16Size5or8A1 = RwinJ16A[1];
  f.J16TPI48or96 = RwinJ16[0];
  f.J16Size5or8 = RwinJ16[1];
  f.J16FSR0 = RwinJ16[2];
  f.J16FSR1 = RwinJ16[3];
  f.J16FixOrCartW1 = RwinJ16[4];
  f.J16BuffOrUnbuffW1 = RwinJ16[5];
  f.J16FixOrCartW0 = RwinJ16[6];
  f.J16BuffOrUnbuffW0 = RwinJ16[7];
  return f;
}

namespace {
inline uint8_t Line(int16_t v) { return static_cast<uint8_t>(v); }
}  // namespace

bool ApplyJumperFields(const JumperFields& f) {
  SrSW0 = f.SrSW0;
  const bool sw1Changed = SrSW1 != f.SrSW1;
  SrSW1 = f.SrSW1;
  SrSW2 = f.SrSW2;
  SrIOchEN = f.SrIOchEN;
  MVME400C0.N7201Int(Line(f.M400C0N7201Int));
  MVME400C0.IRQA(Line(f.M400C0IRQAInt));
  MVME400C0.IRQB(Line(f.M400C0IRQBInt));
  MVME400C0.BaudA(f.M400C0BaudA);
  MVME400C0.BaudB(f.M400C0BaudB);
  MVME400C1.N7201Int(Line(f.M400C1N7201Int));
  MVME400C1.IRQA(Line(f.M400C1IRQAInt));
  MVME400C1.IRQB(Line(f.M400C1IRQBInt));
  MVME400C1.BaudA(f.M400C1BaudA);
  MVME400C1.BaudB(f.M400C1BaudB);
  MVME410PIA1.IRQA(Line(f.M410P1IRQAInt));
  MVME410PIA1.IRQB(Line(f.M410P1IRQBInt));
  MVME410PIA2.IRQA(Line(f.M410P2IRQAInt));
  MVME410PIA2.IRQB(Line(f.M410P2IRQBInt));
  Rwin.DataIRQ(Line(f.RWINDATAInt));
  Rwin.CmdIRQ(Line(f.RWINCMDInt));
  RwinDiskAuto[2] = f.RwinDiskAuto2;
  RwinDiskAuto[3] = f.RwinDiskAuto3;
  RwinDiskType[2] = f.RwinDiskType2;
  RwinDiskType[3] = f.RwinDiskType3;
  RwinJ16A[0] = f.J16TPI48or96A0;
  RwinJ16A[1] = f.J16Size5or8A1;
  RwinJ16[0] = f.J16TPI48or96;
  RwinJ16[1] = f.J16Size5or8;
  RwinJ16[2] = f.J16FSR0;
  RwinJ16[3] = f.J16FSR1;
  RwinJ16[4] = f.J16FixOrCartW1;
  RwinJ16[5] = f.J16BuffOrUnbuffW1;
  RwinJ16[6] = f.J16FixOrCartW0;
  RwinJ16[7] = f.J16BuffOrUnbuffW0;
  return sw1Changed;
}

}  // namespace korva
