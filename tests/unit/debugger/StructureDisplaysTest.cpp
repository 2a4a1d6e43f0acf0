// The VersaDOS, crash-save and system-control-module displays over one prepared
// memory image, each compared with a reviewed text in tests/data/debugger.
// KORVA_UPDATE_GOLDEN=1 rewrites those texts from the current output.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "board/SCM.h"
#include "debugger/DebuggerCore.h"
#include "debugger/ScmDisplays.h"
#include "debugger/VdosDisplays.h"
#include "support/TestMachine.h"

namespace korva::test {
namespace {

constexpr uint32_t kSyspar = 0x600, kCcb = 0x3000, kCrash = 0xA00;

// Golden texts are kept with LF line ends; the displays end every line with CR LF.
std::string WithLf(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

void ExpectGolden(const std::string& name, const std::string& text) {
  const std::string path = std::string(KORVA_SOURCE_DIR) + "/tests/data/debugger/" + name;
  // Every line break is CR LF: no CR or LF stands alone.
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      EXPECT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << name << " at " << i;
    }
    if (text[i] == '\n') {
      EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << name << " at " << i;
    }
  }
  if (std::getenv("KORVA_UPDATE_GOLDEN")) {
    std::ofstream(path, std::ios::binary) << WithLf(text);
    return;
  }
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in) << "missing " << path;
  std::stringstream golden;
  golden << in.rdbuf();
  EXPECT_EQ(WithLf(text), golden.str()) << name;
}

class StructureDisplays : public ::testing::Test {
 protected:
  TestMachine m;

  void SetUp() override {
    InitScmState();
    VersionNumber = 43;
    // SYSPAR: byte k holds k; the long at +8 its own address.
    for (uint32_t k = 0; k < 152; ++k) m.WriteByte(kSyspar + k, static_cast<uint8_t>(k));
    m.WriteLong(kSyspar + 8, kSyspar);
    // CCB: byte k holds 0x80 + k, then a tag, a mnemonic and a status word.
    for (uint32_t k = 0; k < 144; ++k) m.WriteByte(kCcb + k, static_cast<uint8_t>(0x80 + k));
    m.WriteLong(kCcb, 0x43C3420D);
    m.WriteLong(kCcb + 20, 0x54455231);  // "TER1"
    m.WriteWord(kCcb + 72, 0x8107);
    // Crash save: word k holds 0xA000 + k.
    for (uint32_t k = 0; k < 48; ++k) m.WriteWord(kCrash + 2 * k, static_cast<uint16_t>(0xA000 + k));
    // The module: registers, memories and display cells.
    ScmCR0 = 0xA5, ScmCR1 = 0x60, ScmCR2 = 0x5A, ScmCR3 = 0x81, ScmCR4 = 0x42, ScmCR5 = 0xC9, ScmCR6 = 0x3E;
    ScmGoffset = 0x32, ScmVGCursor = 0x0123, ScmHGCursor = 0x0456;
    for (uint32_t i = 0; i < 2048; ++i) {
      ScmCharGenRam[i] = static_cast<uint8_t>(i ^ (i >> 4));
      ScmAttrGenRam[i] = static_cast<uint8_t>(i * 7);
      ScmDisplayRam[i] = static_cast<uint16_t>(((i >> 8) << 8) | (i & 0xFF));
    }
    const char* letters = "ABCDEFGH";
    for (uint32_t i = 0; i < 8; ++i) ScmDisplayRam[0x800 + i] = static_cast<uint16_t>(0x0700 | letters[i]);
    ScmDisplayRam[0x808] = 0x070D;
  }
  void TearDown() override { VersionNumber = 43; }
};

TEST_F(StructureDisplays, EqualTheReviewedTexts) {
  FindVdosSYSPAR();
  ASSERT_EQ(SysparAddress, static_cast<int32_t>(kSyspar));
  const std::string syspar43 = DisplaySYSPAR(kSyspar);
  ExpectGolden("syspar43.txt", syspar43);
  ExpectGolden("ccb.txt", DisplayCCB(kCcb));
  ExpectGolden("cs43.txt", DisplayCrashSave(kCrash));
  EXPECT_EQ(DisplayCrashSave3(kCrash), DisplayCrashSave(kCrash));
  VersionNumber = 45;
  const std::string syspar45 = DisplaySYSPAR(kSyspar);
  ExpectGolden("syspar45.txt", syspar45);
  std::string cs5;
  for (uint16_t format = 0; format <= 7; ++format) {
    m.WriteWord(kCrash, format);
    cs5 += DisplayCrashSave5(kCrash);
    EXPECT_EQ(DisplayCrashSave(kCrash), DisplayCrashSave5(kCrash));
  }
  ExpectGolden("cs5.txt", cs5);
  ExpectGolden("scm.txt", DisplaySCM());
  ExpectGolden("gram.txt", DisplayCharGenRam());
  ExpectGolden("aram.txt", DisplayCharAttrRam());
  ExpectGolden("dram0.txt", DisplayCharDispRam(0));
  ExpectGolden("dram1.txt", DisplayCharDispRam(1));
  EXPECT_EQ(DisplayCharDispRam(5), DisplayCharDispRam(0));
  ExpectGolden("addresses.txt", DisplayAddresses());

  // Spot checks.
  EXPECT_NE(syspar43.find(" EXCSTACK      = 00000600\r\n"), std::string::npos);
  const size_t panel = syspar43.find(" PANEL         = ");
  const size_t panelEnd = syspar43.find("\r\n", panel) + 2;
  EXPECT_EQ(syspar43.substr(0, panelEnd), syspar45.substr(0, panelEnd));
  EXPECT_NE(syspar43.substr(panelEnd, 40), syspar45.substr(panelEnd, 40));
  EXPECT_NE(syspar43.find(" SEMTCB   = 7879 7A7B 7C7D \r\n"), std::string::npos);  // offset 120
  EXPECT_NE(syspar45.find(" SEMTCB   = 7A7B 7C7D 7E7F \r\n"), std::string::npos);  // offset 122
  const std::string ccb = DisplayCCB(kCcb);
  EXPECT_NE(ccb.find(" CCB Tag = 43C3420D - CCB.\r\n"), std::string::npos);
  EXPECT_NE(ccb.find(" CCBSTR  = 8107\r\n ATTACHED  CHANNEL IS OFF-LINE  EXCLUSIVE VECTORING  SUPERVISOR CHANNEL "
                     " ONLY SYSTEM TASKS \r\n"),
            std::string::npos);
  m.WriteWord(kCrash, 7);
  EXPECT_EQ(DisplayCrashSave5(kCrash), "Crashsave at 00000A00\r\n\r\n Format(0007) is not Valid\r\n");
  EXPECT_NE(DisplaySCM().find("CR1 = 60\r\n :IG = 0 :S1-0 = 3 :HighRes = 0 :GRE3-1 = 0 :Unswap* = 0\r\n"),
            std::string::npos);
  EXPECT_EQ(DisplayCharDispRam(1).substr(0, 19), "\r\n0800: 07-41 07-42");
  EXPECT_NE(DisplayCharDispRam(1).find(" ABCDEFGH\r\n0808: 07-0D"), std::string::npos);
  const std::string gram = DisplayCharGenRam();
  EXPECT_EQ(std::count(gram.begin(), gram.end(), '\n'), 128);
}

TEST_F(StructureDisplays, EdgesOfTheLayouts) {
  // Only multiples of 0x100 from 0x500 are tried: an area at 0x580 is not found.
  m.WriteLong(kSyspar + 8, 0);
  m.WriteLong(0x588, 0x580);
  FindVdosSYSPAR();
  EXPECT_EQ(SysparAddress, -1);
  // A version outside 43-45 drops the time block and the two flags: SPURCNT at 62.
  VersionNumber = 46;
  const std::string other = DisplaySYSPAR(kSyspar);
  EXPECT_NE(other.find(" PANEL         = 3A3B3C3D\r\n SPURCNT   = 3E3F\r\n"), std::string::npos);
  EXPECT_EQ(other.find("TINTFLAG"), std::string::npos);
  EXPECT_EQ(DisplayCrashSave(kCrash), "");
  // The older layout read by CS5 takes the PC's high word as the format.
  m.WriteWord(kCrash, 0x0005);
  EXPECT_NE(DisplayCrashSave5(kCrash).find("Format 0005 Bus Error"), std::string::npos);
  // Blocks near the top of memory read wrapped words (clean under ASan).
  m.WriteWord(0xFFFFF0, 0x0001);
  m.WriteWord(0x000000, 0xBEEF);  // word 8 of a block at FFFFF0: D2 of the older layout
  m.WriteWord(0x000004, 0xCAFE);  // word 10: D0 of the format-coded layout
  EXPECT_NE(DisplayCrashSave5(0xFFFFF0).find(" D0=CAFE"), std::string::npos);
  EXPECT_NE(DisplayCrashSave3(0xFFFFF0).find(" D2=BEEF"), std::string::npos);
  EXPECT_NE(DisplayCCB(0xFFFFFE).find(" CCB Tag = "), std::string::npos);
}

TEST_F(StructureDisplays, ScmDisplayChangesNothingButTheStatusImage) {
  const uint8_t before[] = {ScmCR0, ScmCR1, ScmCR2, ScmCR3, ScmCR4, ScmCR5, ScmCR6, ScmGoffset};
  ScmSR = 0;
  KbdLock = False;
  const std::string text = DisplaySCM();
  const uint8_t after[] = {ScmCR0, ScmCR1, ScmCR2, ScmCR3, ScmCR4, ScmCR5, ScmCR6, ScmGoffset};
  EXPECT_TRUE(std::equal(std::begin(before), std::end(before), std::begin(after)));
  EXPECT_EQ(ScmSR & 0x10, 0x10);  // rebuilt: keyboard not locked
  EXPECT_NE(text.find("SR = " + std::string(1, "0123456789ABCDEF"[ScmSR >> 4])), std::string::npos);
}

// The commands append the displays' texts as they are, or their usage texts.
TEST_F(StructureDisplays, CommandsShowTheDisplaysOrTheirUsage) {
  ResetDebuggerState();
  struct Case {
    const char* line;
    std::string printed;  // after the echo's CR LF
  };
  const Case found[] = {
      {"SYSPAR", DisplaySYSPAR(kSyspar)},
      {"syspar $600", DisplaySYSPAR(kSyspar)},
      {"SYSPAR X", " usage SYSPAR[ <SYSPARaddress>]"},
      {"CCB $3000", DisplayCCB(kCcb)},
      {"CCB", " usage CCB[ <CCBAddress>]"},
      {"CS", DisplayCrashSave3(kCrash)},
      {"CRASHSAVE X", " usage CrashSave[ <CrashsaveAddress>]"},
      {"CS3 $A00", DisplayCrashSave3(kCrash)},
      {"CRASHSAVE3 X", " usage CrashSave3[ <CrashsaveAddress>]\r\n"},
      {"CS5", DisplayCrashSave5(kCrash)},
      {"CS5 X", " usage CrashSave5[ <CrashsaveAddress>]\r\n"},
      {"CS5 $FFFFF0", DisplayCrashSave5(0xFFFFF0)},
      {"SCM", DisplaySCM()},
      {"GRAM", DisplayCharGenRam()},
      {"ARAM", DisplayCharAttrRam()},
      {"DRAM", DisplayCharDispRam(0)},
      {"DRAM 1", DisplayCharDispRam(1)},
      {"DRAM 300", DisplayCharDispRam(0)},
      {"ADDR", DisplayAddresses()},
      {"ADDRESS", DisplayAddresses()},
      {"ADDRESSES", DisplayAddresses()},
  };
  for (const Case& c : found) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(Execute(c.line), "\r\n" + c.printed);
  }
  Execute("VERSION 45");
  EXPECT_EQ(Execute("CS"), "\r\n" + DisplayCrashSave5(kCrash));
  EXPECT_EQ(Execute("SYSPAR"), "\r\n" + DisplaySYSPAR(kSyspar));
  // The area at 0x580 is not looked for.
  m.WriteLong(kSyspar + 8, 0);
  m.WriteLong(0x588, 0x580);
  EXPECT_EQ(Execute("SYSPAR"), "\r\n usage SYSPAR[ <SYSPARaddress>]  -- SYSPAR Address NOT found");
  ResetDebuggerState();
}

// A guest that writes its SYSPAR area through the bus and stops: the display
// of the stopped machine equals the reviewed one.
TEST_F(StructureDisplays, GuestWrittenSysparShowsTheReviewedText) {
  for (uint32_t k = 0; k < 152; ++k) m.WriteByte(kSyspar + k, 0);
  uint32_t start = 0;
  ASSERT_TRUE(m.LoadSrec("vdos_syspar.s19", &start));
  m.SetPC(start);
  ASSERT_EQ(m.RunUntilStop(10000), Stop::StopInstr);
  FindVdosSYSPAR();
  ASSERT_EQ(SysparAddress, static_cast<int32_t>(kSyspar));
  ExpectGolden("syspar43.txt", DisplaySYSPAR(static_cast<uint32_t>(SysparAddress)));
}

}  // namespace
}  // namespace korva::test
