// The printer console without a window: the on-line switch with its pulses and
// status byte, the return-value questions, strobed bytes on the page, in the
// print file and acknowledged, closing, saving the page, the options kept in
// the settings, the Edit commands, and a guest printing by handshake.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "serial/Consoles.h"
#include "serial/MC6821.h"
#include "serial/Printer.h"
#include "serial/PrinterFiles.h"
#include "support/GuestProgram.h"
#include "support/ScriptedHost.h"
#include "support/TestMachine.h"
#include "unit/serial/BoardMap.h"

namespace korva {
namespace {

namespace fs = std::filesystem;

// Counts the view's calls.
class CountingView final : public PrinterView {
 public:
  void ShowWindow() override { ++shows; }
  void HideWindow() override { ++hides; }
  void SetCaption(const std::string& c) override { caption = c; }
  void PageChanged() override {}
  void StatusChanged() override { ++statuses; }
  void LoadPlacement(const std::string&) override {}
  void SavePlacement(const std::string&) override {}
  // With deferLater the calls wait for RunLater, as for the window's next pump.
  void Later(std::function<void()> f) override {
    if (deferLater) later.push_back(std::move(f));
    else f();
  }
  void RunLater() {
    auto calls = std::move(later);
    later.clear();
    for (auto& f : calls) f();
  }
  int shows = 0, hides = 0, statuses = 0;
  std::string caption;
  bool deferLater = false;
  std::vector<std::function<void()>> later;
};

std::string ReadFile(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

class PrinterTest : public ::testing::Test {
 protected:
  PrinterTest() {
    ConsoleType = {};
    ConsoleFactories.Printer = [this](int16_t) -> std::unique_ptr<PrinterConsoleWindow> {
      auto p = std::make_unique<PrinterConsole>(&view);
      made = p.get();
      return p;
    };
    dir = fs::temp_directory_path() / ("korva-printer-" + std::to_string(::getpid()));
    fs::create_directories(dir);
  }
  ~PrinterTest() override {
    DestroyConsoleWindows();
    ConsoleFactories = {};
    ConsoleType = {};
    fs::remove_all(dir);
  }
  // Opens the printer of port 8 through the opener; the PIA's flags cleared after.
  PrinterConsole& Open8() {
    ConsoleType[8] = ConsolePrinter;
    OpenPrinterConsole(8);
    ClearFlags();
    return *made;
  }
  static void ClearFlags() {
    pia().CRA(0x04);
    pia().CRB(0x04);
    pia().DDRxORA();
    pia().DDRxORB();
  }
  static classMC6821& pia() { return MVME410PIA1; }
  static bool Ack() { return (pia().CRA() & 0x80) != 0; }
  static bool Fault() { return (pia().CRB() & 0x80) != 0; }
  static void Strobe(PrinterConsole& p, const std::string& bytes) {
    for (const char c : bytes) p.Outchar(static_cast<uint8_t>(c));
  }

  test::TestMachine machine;
  ScriptedHost host;
  CountingView view;
  PrinterConsole* made = nullptr;
  fs::path dir;
};

TEST_F(PrinterTest, OnLineSwitchGivesStatusAndPulses) {
  PrinterConsole& p = Open8();
  EXPECT_EQ(view.caption, " DEV8 - LPT");
  EXPECT_EQ(view.statuses, 3);  // the lamps at load, then off line by the window's open and by the opener
  EXPECT_EQ(p.GetStatus(), 0);
  EXPECT_EQ(p.IsOnLine(), False);

  p.SetOnLine(True);
  EXPECT_EQ(p.GetStatus(), 1);
  EXPECT_EQ(p.OnLineCaption(), "On Line");
  EXPECT_TRUE(Fault());
  EXPECT_TRUE(Ack());
  EXPECT_EQ(pia().DDRxORB() & 7, 1);  // the guest reads bit 0 set
  ClearFlags();
  p.SetOnLine(True);  // pulses also when the state stays
  EXPECT_TRUE(Fault() && Ack());

  ClearFlags();
  p.SetSendFault(false);
  p.SetSendAck(false);
  p.ToggleOnLine();
  EXPECT_EQ(p.GetStatus(), 0);
  EXPECT_FALSE(Fault() || Ack());

  // The return value questions: "300" is refused and asked again; the answer is saved at once.
  host.AnswerInput("300");
  host.AnswerInput("0x85");
  p.AskOnLineReturnValue();
  const auto asks = host.CallsOf(HostCall::Kind::InputBox);
  ASSERT_EQ(asks.size(), 2u);
  EXPECT_EQ(asks[0].Text, "Input On Line Return Value (Decimal or 0xHex)");
  EXPECT_EQ(asks[0].Title, "Return on Input");
  EXPECT_EQ(asks[0].Value, "1");
  EXPECT_EQ(p.OnLineReturnCaption(), "Set On Line Return Value=0x85 ...");
  EXPECT_EQ(host.StoredSetting("LPT8", "OnLineReturnValue"), "133");
  EXPECT_EQ(p.GetStatus(), 0);  // not before the next switch
  p.SetOnLine(True);
  EXPECT_EQ(p.GetStatus(), 0x85);
  EXPECT_EQ(pia().DDRxORB() & 7, 5);
  host.AnswerInput("");  // Cancel keeps the value
  p.AskOnLineReturnValue();
  host.CancelInput();
  p.AskOffLineReturnValue();
  EXPECT_EQ(p.OnLineReturnValue, 0x85);
  EXPECT_EQ(p.OffLineReturnCaption(), "Set Off Line Return Value=0x00 ...");
}

TEST_F(PrinterTest, StrobedBytesAreShownFiledAndAcknowledged) {
  PrinterConsole& p = Open8();
  const fs::path prn = dir / "out.prn";
  { std::ofstream(prn, std::ios::binary) << "an older and much longer print file"; }
  host.AnswerFile(prn.string());
  p.PrintToFileItem();
  ASSERT_TRUE(p.PrintToFile);
  EXPECT_EQ(p.PrintFileCaption(), "Close - " + prn.string());
  ASSERT_EQ(host.FileDialogs.size(), 1u);
  EXPECT_EQ(host.FileDialogs[0].DefaultExtension, "prn");

  // Off line: shown, filed and acknowledged all the same.
  Strobe(p, "Hi");
  EXPECT_TRUE(Ack());
  ClearFlags();
  p.SetASCII(true);
  p.Outchar(0xC1);
  EXPECT_TRUE(Ack());
  EXPECT_EQ(p.Page().Text(), "HiA");
  p.PrintToFileItem();  // closes
  EXPECT_FALSE(p.PrintToFile);
  EXPECT_EQ(p.PrintFileCaption(), "Print to File ...");
  EXPECT_EQ(ReadFile(prn), "Hi\xC1");  // the new bytes only, unmasked

  // Neither screen nor file: dropped, still acknowledged.
  p.PrintToScreen = false;
  ClearFlags();
  p.Outchar('Z');
  EXPECT_TRUE(Ack());
  EXPECT_EQ(p.Page().Text(), "HiA");

  // A file that cannot be opened leaves printing to file off, and says why.
  const fs::path missing = dir / "missing" / "x.prn";
  host.AnswerFile(missing.string());
  p.OpenPrintFile();
  EXPECT_FALSE(p.PrintToFile);
  const auto boxes = host.CallsOf(HostCall::Kind::MessageBox);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Title, "Print to File Error");
  EXPECT_EQ(boxes[0].Text, "Error # 2 was generated by Korvan\r" + missing.string() + ": No such file or directory");
}

// The print file is made anew: a FIFO is refused at once and left there, a link
// is replaced and its target kept byte for byte, a replaced file's mode stays.
TEST_F(PrinterTest, PrintFileRefusesFifosAndReplacesLinks) {
  PrinterConsole& p = Open8();
  const fs::path fifo = dir / "fifo.prn";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  host.AnswerFile(fifo.string());
  p.OpenPrintFile();  // an open of the FIFO would wait here for a reader
  EXPECT_FALSE(p.PrintToFile);
  ASSERT_EQ(host.CallsOf(HostCall::Kind::MessageBox).size(), 1u);
  EXPECT_EQ(host.CallsOf(HostCall::Kind::MessageBox)[0].Text,
            "Error # 75 was generated by Korvan\r" + fifo.string() + ": it is not a regular file");
  EXPECT_TRUE(fs::is_fifo(fifo));

  const fs::path precious = dir / "precious.txt", link = dir / "link.prn";
  { std::ofstream(precious, std::ios::binary) << "keep me"; }
  fs::create_symlink(precious, link);
  host.AnswerFile(link.string());
  p.OpenPrintFile();
  ASSERT_TRUE(p.PrintToFile);
  Strobe(p, "job");
  p.ClosePrintFile();
  EXPECT_FALSE(fs::is_symlink(link));
  EXPECT_EQ(ReadFile(link), "job");
  EXPECT_EQ(ReadFile(precious), "keep me");

  fs::permissions(link, fs::perms::owner_read | fs::perms::owner_write);
  host.AnswerFile(link.string());
  p.OpenPrintFile();
  Strobe(p, "again");
  p.ClosePrintFile();
  EXPECT_EQ(ReadFile(link), "again");
  EXPECT_EQ(fs::status(link).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(host.CallsOf(HostCall::Kind::MessageBox).size(), 1u);
}

// A write that fails (a full disk) closes the print file and says so in one box,
// shown after the strobe that met it; the bytes written before stay.
TEST_F(PrinterTest, AFailedWriteClosesThePrintFileWithOneBox) {
  PrinterConsole& p = Open8();
  view.deferLater = true;
  const fs::path prn = dir / "out.prn";
  host.AnswerFile(prn.string());
  p.OpenPrintFile();
  PrintFileFailAfter = 45056;
  Strobe(p, std::string(132000, 'x'));  // buffers fill and are written inside the strobes
  PrintFileFailAfter = -1;
  EXPECT_FALSE(p.PrintToFile);
  EXPECT_EQ(p.PrintFileCaption(), "Print to File ...");
  EXPECT_TRUE(host.CallsOf(HostCall::Kind::MessageBox).empty());
  view.RunLater();
  const auto boxes = host.CallsOf(HostCall::Kind::MessageBox);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Title, "Print to File Error");
  EXPECT_EQ(boxes[0].Text, "Error # 28 was generated by Korvan\r" + prn.string() +
                               ": No space left on device\rThe print file is closed; the bytes written before stay in it.");
  EXPECT_EQ(ReadFile(prn), std::string(45056, 'x'));

  // A short burst is written at the next pump; a failure there is told at once.
  host.ClearCalls();
  host.AnswerFile(prn.string());
  p.OpenPrintFile();
  Strobe(p, "abc");
  EXPECT_EQ(ReadFile(prn), "");
  PrintFileFailAfter = 1;
  view.RunLater();
  PrintFileFailAfter = -1;
  EXPECT_EQ(host.CallsOf(HostCall::Kind::MessageBox).size(), 1u);
  EXPECT_FALSE(p.PrintToFile);
  EXPECT_EQ(ReadFile(prn), "a");
  Strobe(p, "more");
  view.RunLater();
  EXPECT_EQ(host.CallsOf(HostCall::Kind::MessageBox).size(), 1u);
}

TEST_F(PrinterTest, ClosingResetsTheKindAndAClosedWindowStillAnswers) {
  PrinterConsole& p = Open8();
  p.SetOnLine(True);
  Strobe(p, "x");
  p.SetASCII(true);
  p.SetNewlineIs(1);
  p.Unload();  // the user's close box
  EXPECT_EQ(ConsoleType[8], ConsoleNone);
  EXPECT_EQ(PrinterForms[8], &p);  // still asked by the board
  EXPECT_EQ(view.hides, 1);
  EXPECT_EQ(host.StoredSetting("LPT8", "Ascii"), "True");
  EXPECT_EQ(host.StoredSetting("LPT8", "NewlineIs"), "1");
  EXPECT_EQ(host.StoredSetting("LPT8", "SendFAULT"), "True");

  // The guest's strobe is acknowledged and dropped; port B reads the last status.
  ClearFlags();
  pia().CRA(0x3C);  // CA2 a manual output, high
  pia().DDRxORA(0x41);
  pia().CRA(0x34);  // low: strobed
  EXPECT_TRUE(Ack());
  EXPECT_EQ(pia().DDRxORB() & 7, 1);
  EXPECT_EQ(p.Page().Text(), "x");

  // An opener loads it again with an empty page and the stored options.
  ConsoleType[8] = ConsolePrinter;
  OpenPrinterConsole(8);
  EXPECT_TRUE(p.Loaded());
  EXPECT_EQ(p.Page().Text(), "");
  EXPECT_TRUE(p.Ascii);
  EXPECT_EQ(p.NewlineIs, 1);
  EXPECT_EQ(p.GetStatus(), 0);

  // A kind the console dialog changed is left alone.
  ConsoleType[8] = ConsoleTTY;
  p.ClosePrinter();
  EXPECT_EQ(ConsoleType[8], ConsoleTTY);
  EXPECT_FALSE(p.Loaded());
}

TEST_F(PrinterTest, StoredOptionsAreCheckedAndFontsSaved) {
  host.PresetSetting("LPT8", "NewlineIs", "7");
  host.PresetSetting("LPT8", "Parity", "9");
  host.PresetSetting("LPT8", "OnLineReturnValue", "300");
  host.PresetSetting("LPT8", "OffLineReturnValue", "2");
  host.PresetSetting("LPT8", "SendACK", "False");
  host.PresetSetting("LPT8", "FontName", "Serif One");
  host.PresetSetting("LPT8", "FontSize", "huge");
  host.PresetSetting("LPT8", "FontBold", "True");
  host.PresetSetting("LPT8", "ShowLEDs", "False");
  PrinterConsole& p = Open8();
  EXPECT_EQ(p.NewlineIs, 0);
  EXPECT_EQ(p.Parity, 0);
  EXPECT_EQ(p.OnLineReturnValue, 1);
  EXPECT_EQ(p.GetStatus(), 2);
  EXPECT_FALSE(p.SendACK);
  EXPECT_FALSE(p.ShowLEDs);
  EXPECT_EQ(p.WindowFont.Name, "Serif One");
  EXPECT_EQ(p.JobFontName, "Serif One");
  EXPECT_EQ(p.WindowFont.Size, 10.0f);
  EXPECT_TRUE(p.Page().Insertion().Bold);

  p.WindowFont.Size = 10.5f;
  p.SaveFont();
  EXPECT_EQ(host.StoredSetting("LPT8", "FontSize"), "10.5");
  EXPECT_EQ(host.StoredSetting("LPT8", "FontBold"), "True");
  EXPECT_EQ(host.StoredSetting("LPT8", "FontItalic"), "False");
  EXPECT_EQ(host.StoredSetting("LPT8", "JobFontName"), "Serif One");
}

TEST_F(PrinterTest, EditCommandsWorkOnTheSelection) {
  PrinterConsole& p = Open8();
  EXPECT_EQ(p.EditMenuEnables(false).SelectAll, false);
  EXPECT_EQ(p.EditMenuEnables(false).Clear, true);
  Strobe(p, "one\rtwo");
  p.Select(1, 2);
  const auto e = p.EditMenuEnables(true);
  EXPECT_TRUE(e.Cut && e.Copy && e.Delete && e.SelectAll && e.Paste);
  EXPECT_EQ(p.Copy(), "ne");
  EXPECT_EQ(p.Cut(), "ne");
  EXPECT_EQ(p.Page().Text(), "o\r\ntwo");
  EXPECT_FALSE(p.EditMenuEnables(false).Cut);
  p.Select(1, 3);  // over the line break
  p.Paste("A\nB");
  EXPECT_EQ(p.Page().Text(), "oA\r\nBwo");
  p.Select(3, 0);  // between CR and LF: behind the break
  EXPECT_EQ(p.Page().SelStart(), 4u);
  p.Select(2, 2);
  EXPECT_EQ(p.Page().SelLength(), 2u);
  p.Delete();
  EXPECT_EQ(p.Page().Text(), "oABwo");
  p.SelectAll();
  EXPECT_EQ(p.Copy(), "oABwo");
  p.ClearPage();
  EXPECT_EQ(p.Page().Text(), "");
  Strobe(p, "after");  // the guest prints at the end again
  EXPECT_EQ(p.Page().Text(), "after");
}

TEST_F(PrinterTest, PageSavesAsTextAndRichTextBesideTheTarget) {
  PrinterConsole& p = Open8();
  Strobe(p, "AB\r\nC");
  const fs::path txt = dir / "page.txt";
  host.AnswerFile(txt.string());
  p.SaveAsTXT();
  EXPECT_EQ(ReadFile(txt), "AB\r\nC");
  EXPECT_EQ(host.FileDialogs.back().DefaultExtension, "txt");

  // A bold, coloured selection through the font choice of the selection.
  p.Select(0, 2);
  PrinterFontChoice c = p.FontChoiceStart(1);
  EXPECT_TRUE(c.Effects);
  EXPECT_EQ(c.Font.Name, p.WindowFont.Name);
  c.Font.Bold = true;
  c.Color = RGB(200, 10, 30);
  p.ApplyFontChoice(1, c);
  const fs::path rtf = dir / "page.rtf";
  host.AnswerFile(rtf.string());
  p.SaveAsRTF();
  const std::string r = ReadFile(rtf);
  EXPECT_EQ(r.rfind("{\\rtf1\\ansi\\ansicpg1252", 0), 0u) << r;
  EXPECT_NE(r.find("{\\colortbl ;\\red200\\green10\\blue30;\\red0\\green0\\blue0;}"), std::string::npos) << r;
  EXPECT_NE(r.find("\\b\\cf1 AB\\b0\\cf2\\par"), std::string::npos) << r;
  EXPECT_NE(r.find("\\par\r\nC\\par"), std::string::npos) << r;

  // A failed save shows the box and leaves the old target and no temporary.
  PrinterSaveFailure = 13;
  host.AnswerFile(txt.string());
  p.Outchar('D');
  p.SaveAsTXT();
  EXPECT_EQ(ReadFile(txt), "AB\r\nC");
  const auto boxes = host.CallsOf(HostCall::Kind::MessageBox);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Title, "Save As TXT Error");
  // The number's line and the description are parted by a CR alone.
  EXPECT_EQ(boxes[0].Text.rfind("Error # 13 was generated by Korvan\r", 0), 0u) << boxes[0].Text;
  EXPECT_EQ(boxes[0].Text.find('\n'), std::string::npos) << boxes[0].Text;
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
}

// A page saved over a file keeps the file's mode and a link to it; a read-only
// file is refused and stays.
TEST_F(PrinterTest, PageSavesKeepModesLinksAndReadOnlyFiles) {
  PrinterConsole& p = Open8();
  Strobe(p, "page");
  const auto mode = [](const fs::path& f) { return fs::status(f).permissions() & fs::perms::all; };
  const fs::path priv = dir / "private.txt", target = dir / "target.txt", link = dir / "link.txt",
                 locked = dir / "locked.txt";
  for (const fs::path& f : {priv, target, locked}) std::ofstream(f, std::ios::binary) << "old";
  fs::permissions(priv, fs::perms::owner_read | fs::perms::owner_write);
  fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::create_symlink(target, link);
  for (const fs::path& f : {priv, link, locked}) {
    host.AnswerFile(f.string());
    p.SaveAsTXT();
  }
  EXPECT_EQ(ReadFile(priv), "page");
  EXPECT_EQ(mode(priv), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadFile(target), "page");
  EXPECT_EQ(ReadFile(locked), "old");
  const auto boxes = host.CallsOf(HostCall::Kind::MessageBox);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Title, "Save As TXT Error");
  EXPECT_EQ(boxes[0].Text, "Error # 75 was generated by Korvan\r" + locked.string() + ": the file is read-only");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 4);
}

TEST_F(PrinterTest, GuestPrintsHelloByHandshake) {
  test::MapSerialBoards(machine);
  PrinterConsole& p = Open8();
  const fs::path prn = dir / "hello.prn";
  host.AnswerFile(prn.string());
  p.OpenPrintFile();
  test::RunSelfCheckingProgram(machine, "pia_hello.s19", 2);
  EXPECT_EQ(p.Page().Text(), "HELLO");
  p.ClosePrintFile();
  EXPECT_EQ(ReadFile(prn), "HELLO");
}

}  // namespace
}  // namespace korva
