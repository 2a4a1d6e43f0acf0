// The printer page's language: byte strings in, the page's runs out; the rich
// text of a job read back by a small reader; a guest printing a job through
// the parallel board; random bytes leaving a consistent page.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "serial/Consoles.h"
#include "serial/MC6821.h"
#include "serial/Printer.h"
#include "serial/PrinterFiles.h"
#include "support/ScriptedHost.h"
#include "support/TestMachine.h"
#include "unit/serial/BoardMap.h"

namespace korva {
namespace {

constexpr char kEsc = 27;

// A printer as loaded, its window font "Win" at 10 points, its job font "Job".
struct LoadedPrinter {
  LoadedPrinter() {
    p.SetWindowFont(PrinterFont{"Win", 10, false, false, false, false});
    p.PageFont = p.WindowFont;
    p.PortNumber(8);
    p.Load();
    p.JobFontName = "Job";
  }
  void Print(const std::string& bytes) {
    for (const char c : bytes) p.Outchar(static_cast<uint8_t>(c));
  }
  PrinterConsole p;
};

// The page's runs as text: each run's characters, then its format's fields
// that differ from the window font's plain black: {b,i,u,s,f=,pt=,c=RRGGBB,o=}.
std::string Runs(const PrinterPage& page) {
  std::string out;
  size_t at = 0;
  for (const PrinterPage::Run& r : page.Runs()) {
    const PrinterCharFormat& f = page.FormatOf(r.Format);
    out += page.Text().substr(at, r.Length) + "{";
    std::string a;
    const auto add = [&a](const std::string& s) { a += (a.empty() ? "" : ",") + s; };
    if (f.Bold) add("b");
    if (f.Italic) add("i");
    if (f.Underline) add("u");
    if (f.Strike) add("s");
    if (f.FontName != "Win") add("f=" + f.FontName);
    if (f.Size != 10) add("pt=" + std::to_string(static_cast<int>(f.Size)));
    if (f.Color != 0) {
      char c[16];
      std::snprintf(c, sizeof c, "c=%02X%02X%02X", f.Color & 0xFF, (f.Color >> 8) & 0xFF, (f.Color >> 16) & 0xFF);
      add(c);
    }
    if (f.Offset != 0) add("o=" + std::to_string(f.Offset));
    out += a + "}";
    at += r.Length;
  }
  return out;
}

std::string Esc(std::initializer_list<int> bytes) {
  std::string s;
  for (const int b : bytes) s += {kEsc, static_cast<char>(b)};
  return s;
}

TEST(PrinterRenderTest, BytesBecomeRuns) {
  struct Case {
    const char* what;
    std::string in, runs;
    int16_t newlineIs = 0;
    bool marks = false, hex = false, ascii = false;
  };
  const std::vector<Case> cases = {
      {"CR as newline, LF ignored", "AB\r\nC", "AB\r\nC{}"},
      {"LF as newline, CR ignored", "AB\r\nC", "AB\r\nC{}", 1},
      {"colour 2", Esc({'2'}) + "X", "X{c=008F00}"},
      {"colour 2 high", Esc({'H', '2'}) + "X", "X{c=00F000}"},
      {"colour 2, then high", Esc({'2', 'H'}) + "X" + Esc({'L'}) + "Y", "X{c=00F000}Y{c=008F00}"},
      {"colour 7 is white", Esc({'7'}) + "X" + Esc({'H', '7'}) + "Y", "XY{c=FFFFFF}"},
      {"colour 0 is black after high", Esc({'H', '4', '0'}) + "X", "X{}"},
      {"bold on, bold off", Esc({2}) + "A" + Esc({3}) + "A", "A{b}A{}"},
      {"toggles", Esc({1, 4, 7, 10}) + "x" + Esc({1, 4, 7, 10}) + "y", "x{b,i,u,s}y{}"},
      {"an escape without an entry is swallowed", Esc({'Q'}) + "Z", "Z{}"},
      {"ESC ESC swallows the second", Esc({kEsc}) + "2X", "2X{}"},
      {"a job: its font at 12 points, black", Esc({'2', 25}) + "A" + Esc({28}) + "B", "A{f=Job,pt=12}B{}"},
      {"raised in a job", Esc({25, 19, 14}) + "x" + Esc({15, 17}) + "y" + Esc({14}) + "z",
       "x{f=Job,pt=12,o=50}y{f=Job,pt=12,o=-50}z{f=Job,pt=12}"},
      {"no raise outside a job without a pitch", Esc({14}) + "x", "x{}"},
      {"a pitch gives the raise", Esc({20, 14}) + "x" + Esc({21}) + "y", "x{o=50}y{pt=8,o=50}"},
      {"the end of a job takes the raise away", Esc({25, 28, 14}) + "x", "x{}"},
      {"tab and newline keep the insertion format", Esc({2}) + "\t\r" + "A", "\t\r\n{}A{b}"},
      {"control names", std::string("\x01\x1B\x00\x7F", 4) + "Q", "<^A><^[><NUL><DEL>Q{}", 0, true},
      {"a named LF as newline", "\n", "<^J>\r\n{}", 1, true},
      {"in hex", "\n", "<0A>\r\n{}", 1, true, true},
      {"unnamed controls print nothing", std::string("\x00\x1F", 2), ""},
      {"7 bits: 0x9B is ESC, shown as nothing", "\x9B" "2X", "X{c=008F00}", 0, true, false, true},
      {"7 bits: C1 prints A", "\xC1", "A{}", 0, false, false, true},
      {"8 bits: E9 prints itself", "\xE9", "\xE9{}"},
      {"BS takes the last character", "AB\b", "A{}"},
      {"BS keeps a line break", "A\r\b", "A\r\n{}"},
      {"BS on an empty page", "\b", ""},
      {"DEL is ignored", "A\x7F", "A{}"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScriptedHost host;
    LoadedPrinter lp;
    lp.p.SetNewlineIs(c.newlineIs);
    lp.p.ShowCNTR = c.marks;
    lp.p.InHex = c.hex;
    lp.p.SetASCII(c.ascii);
    lp.Print(c.in);
    EXPECT_EQ(Runs(lp.p.Page()), c.runs);
    EXPECT_EQ(lp.p.SeqChar, 0);
  }
}

TEST(PrinterRenderTest, BellResetAndTheWindowFont) {
  ScriptedHost host;
  LoadedPrinter lp;
  lp.Print("\x07");
  EXPECT_EQ(host.CallsOf(HostCall::Kind::Beep).size(), 1u);
  EXPECT_EQ(lp.p.Page().Text(), "");

  // "Reset" leaves the job and the escape state.
  lp.Print(Esc({25}) + "\x1B");
  lp.p.ResetPrinter();
  EXPECT_TRUE(lp.p.InJob);
  EXPECT_TRUE(lp.p.InEscape);
  lp.Print("2x");  // the escape goes on: colour 2, in the window font
  EXPECT_EQ(Runs(lp.p.Page()), "x{c=008F00}");

  // The window font chosen outside a job is the print format at once; inside a job it waits.
  lp.Print(Esc({28}));
  PrinterFontChoice c = lp.p.FontChoiceStart(0);
  c.Font.Italic = true;
  c.Color = RGB(1, 2, 3);
  lp.p.ApplyFontChoice(0, c);
  lp.Print("y" + Esc({25}));
  c.Font.Underline = true;
  lp.p.ApplyFontChoice(0, c);
  lp.p.Select(lp.p.Page().Length(), 0);  // a view reporting its caret at the end
  lp.Print("z");
  EXPECT_EQ(Runs(lp.p.Page()), "x{c=008F00}y{i,c=010203}z{f=Job,pt=12}");
}

// A reader of the rich text the page is saved as: the text and each
// character's format, from the control words the writer uses.
struct RtfChar {
  char c;
  std::string font;
  int halfPoints;
  bool b, i, u, s;
  uint32_t color;
  int up;
};

std::vector<RtfChar> ReadRtf(const std::string& rtf) {
  std::vector<std::string> fonts;
  std::vector<uint32_t> colors;
  size_t body = 0;
  // The font table: {\fN\fnil\fcharset0 Name;}.
  for (size_t at = rtf.find("{\\f", rtf.find("{\\fonttbl") + 1); at != std::string::npos && at < rtf.find("{\\colortbl");
       at = rtf.find("{\\f", at + 1)) {
    const size_t name = rtf.find(' ', at) + 1;
    fonts.push_back(rtf.substr(name, rtf.find(';', name) - name));
  }
  const size_t tbl = rtf.find("{\\colortbl ;");
  size_t at = tbl + 12;
  while (rtf[at] != '}') {
    unsigned r = 0, g = 0, b = 0;
    std::sscanf(rtf.c_str() + at, "\\red%u\\green%u\\blue%u", &r, &g, &b);
    colors.push_back(RGB(r, g, b));
    at = rtf.find(';', at) + 1;
  }
  body = rtf.find("\\pard\\plain", at) + 11;
  std::vector<RtfChar> out;
  RtfChar st{0, fonts.at(0), 24, false, false, false, false, 0, 0};
  for (size_t i = body; i < rtf.size();) {
    const char ch = rtf[i];
    if (ch == '}' || ch == '\r' || ch == '\n') {
      ++i;
    } else if (ch == '\\' && (rtf[i + 1] == '\\' || rtf[i + 1] == '{' || rtf[i + 1] == '}')) {
      st.c = rtf[i + 1];
      out.push_back(st);
      i += 2;
    } else if (ch == '\\' && rtf[i + 1] == '\'') {
      st.c = static_cast<char>(std::stoi(rtf.substr(i + 2, 2), nullptr, 16));
      out.push_back(st);
      i += 4;
    } else if (ch == '\\') {
      size_t j = i + 1;
      while (j < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[j]))) ++j;
      const std::string word = rtf.substr(i + 1, j - i - 1);
      size_t k = j;
      while (k < rtf.size() && (std::isdigit(static_cast<unsigned char>(rtf[k])) || rtf[k] == '-')) ++k;
      const bool hasNum = k > j;
      const int n = hasNum ? std::stoi(rtf.substr(j, k - j)) : 1;
      if (k < rtf.size() && rtf[k] == ' ') ++k;
      i = k;
      if (word == "f") st.font = fonts.at(static_cast<size_t>(n));
      else if (word == "fs") st.halfPoints = n;
      else if (word == "b") st.b = n != 0;
      else if (word == "i") st.i = n != 0;
      else if (word == "ul") st.u = true;
      else if (word == "ulnone") st.u = false;
      else if (word == "strike") st.s = n != 0;
      else if (word == "cf") st.color = n == 0 ? 0 : colors.at(static_cast<size_t>(n - 1));
      else if (word == "up") st.up = n * 10;
      else if (word == "dn") st.up = -n * 10;
      else if (word == "tab") {
        st.c = '\t';
        out.push_back(st);
      } else if (word == "par") {
        st.c = '\r';
        out.push_back(st);
        st.c = '\n';
        out.push_back(st);
      }
    } else {
      st.c = ch;
      out.push_back(st);
      ++i;
    }
  }
  return out;
}

TEST(PrinterRenderTest, AJobPageSavesAsRichTextThatReadsBack) {
  ScriptedHost host;
  LoadedPrinter lp;
  lp.Print(Esc({25}) + "Caf\xE9 " + Esc({'2', 2}) + "{green}\\" + Esc({3, 14}) + "2" + Esc({15, 28}) + "\r\tnext");
  const std::string rtf = PageAsRtf(lp.p.Page(), {lp.p.JobFontName});
  for (const char* want : {"{\\fonttbl{\\f0\\fnil\\fcharset0 Job;}{\\f1\\fnil\\fcharset0 Win;}}", "\\fs24",
                           "\\red0\\green143\\blue0;", "\\b\\cf", "\\b0", "\\up5", "\\par", "Caf\\'e9",
                           "\\{green\\}\\\\"})
    EXPECT_NE(rtf.find(want), std::string::npos) << want << " in\n" << rtf;
  std::vector<RtfChar> back = ReadRtf(rtf);
  // The last paragraph's mark ends the document; it is not a line of the page.
  ASSERT_GE(back.size(), 2u);
  back.resize(back.size() - 2);
  const PrinterPage& page = lp.p.Page();
  ASSERT_EQ(back.size(), page.Length()) << rtf;
  for (size_t i = 0; i < back.size(); ++i) {
    SCOPED_TRACE(i);
    const PrinterCharFormat& f = page.FormatAt(i);
    const RtfChar& r = back[i];
    EXPECT_EQ(r.c, page.Text()[i]);
    EXPECT_EQ(r.font, f.FontName);
    EXPECT_EQ(r.halfPoints, static_cast<int>(f.Size * 2));
    EXPECT_EQ(r.b, f.Bold);
    EXPECT_EQ(r.i, f.Italic);
    EXPECT_EQ(r.u, f.Underline);
    EXPECT_EQ(r.s, f.Strike);
    EXPECT_EQ(r.color, f.Color);
    EXPECT_EQ(r.up, f.Offset);
  }
}

TEST(PrinterRenderTest, AGuestPrintsAJobThroughTheParallelBoard) {
  ScriptedHost host;
  test::TestMachine m;
  test::MapSerialBoards(m);
  ConsoleType = {};
  ConsoleType[8] = ConsolePrinter;
  PrinterConsole* p = nullptr;
  ConsoleFactories.Printer = [&p](int16_t) -> std::unique_ptr<PrinterConsoleWindow> {
    auto w = std::make_unique<PrinterConsole>();
    w->SetWindowFont(PrinterFont{"Win", 10, false, false, false, false});
    w->PageFont = w->WindowFont;
    p = w.get();
    return w;
  };
  OpenPrinterConsole(8);
  ASSERT_NE(p, nullptr);
  p->JobFontName = "Job";
  ASSERT_TRUE(m.LoadSrec("printer_job_rom.s19"));
  ASSERT_EQ(m.ResetCpu(), test::Stop::Fetch);
  EXPECT_EQ(m.RunUntilStop(2000000), test::Stop::StopInstr);
  // After the end of the job the newline keeps the last character's size and
  // offset: it is inserted without the print path's attribute step.
  EXPECT_EQ(Runs(p->Page()),
            "Job {f=Job,pt=12}GREEN GREEN GREEN{b,f=Job,pt=12,c=008F00} x{f=Job,pt=12}2{f=Job,pt=12,o=50}"
            "\r\n{pt=12,o=50}");
  EXPECT_FALSE(p->InJob);
  DestroyConsoleWindows();
  ConsoleFactories = {};
  ConsoleType = {};
}

TEST(PrinterRenderTest, RandomBytesLeaveAConsistentPage) {
  ScriptedHost host;
  LoadedPrinter lp;
  std::mt19937 rng(42);
  std::string bytes(1 << 20, '\0');
  for (char& c : bytes) c = static_cast<char>(rng());
  lp.p.ShowCNTR = true;
  lp.Print(bytes.substr(0, bytes.size() / 2));
  lp.p.ShowCNTR = false;
  lp.p.SetASCII(true);
  lp.Print(bytes.substr(bytes.size() / 2));
  const PrinterPage& page = lp.p.Page();
  size_t total = 0;
  for (const PrinterPage::Run& r : page.Runs()) {
    ASSERT_GT(r.Length, 0u);
    total += r.Length;
  }
  EXPECT_EQ(total, page.Length());
  EXPECT_GT(page.Length(), 100000u);
  // Line breaks stay whole: every CR is followed by LF and every LF follows a CR.
  const std::string& t = page.Text();
  for (size_t i = 0; i < t.size(); ++i) {
    if (t[i] == '\r') {
      ASSERT_TRUE(i + 1 < t.size() && t[i + 1] == '\n') << i;
    }
    if (t[i] == '\n') {
      ASSERT_TRUE(i > 0 && t[i - 1] == '\r') << i;
    }
  }
  EXPECT_EQ(lp.p.SeqChar, 0);
}

}  // namespace
}  // namespace korva
