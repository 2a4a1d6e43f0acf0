// The printer page's limit: what a guest prints beyond it pushes the oldest
// lines off the page, the newest text keeps its formats, a line cut at the
// limit stays whole from the cut on, what a view must drop is counted, and the
// print file keeps every byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

#include "serial/Printer.h"
#include "serial/PrinterFiles.h"
#include "support/ScriptedHost.h"

namespace korva {
namespace {

// The formats of [from, from + length) as (characters, format) pieces, equal
// neighbours joined.
std::vector<std::pair<size_t, PrinterCharFormat>> Pieces(const PrinterPage& page, size_t from, size_t length) {
  std::vector<std::pair<size_t, PrinterCharFormat>> out;
  size_t at = 0;
  const size_t to = from + length;
  for (const PrinterPage::Run& r : page.Runs()) {
    const size_t s = std::max(at, from), e = std::min<size_t>(at + r.Length, to);
    if (s < e) {
      const PrinterCharFormat& f = page.FormatOf(r.Format);
      if (!out.empty() && out.back().second == f) out.back().first += e - s;
      else out.emplace_back(e - s, f);
    }
    at += r.Length;
  }
  return out;
}

// The page holds the newest characters of the reference, with their formats.
void ExpectTailOf(const PrinterPage& page, const PrinterPage& reference) {
  ASSERT_LE(page.Length(), reference.Length());
  const size_t from = reference.Length() - page.Length();
  ASSERT_EQ(reference.Text().compare(from, std::string::npos, page.Text()), 0);
  EXPECT_TRUE(Pieces(page, 0, page.Length()) == Pieces(reference, from, page.Length()));
  // A line break is never split.
  EXPECT_FALSE(!page.Empty() && page.Text()[0] == '\n');
}

// Lines of mixed text and escapes as a guest prints them: colours, bold,
// underline, jobs with a pitch and superscripts, CR LF line ends.
std::string MixedLines(size_t bytes) {
  const std::string esc = "\x1B";
  std::string out;
  for (int line = 0; out.size() < bytes; ++line) {
    if (line % 40 == 0) out += esc + "\x19";
    out += esc + static_cast<char>('0' + line % 8);
    for (int word = 0; word < 1 + line % 11; ++word) {
      if (word == 2) out += esc + "\x02";
      if (word == 4) out += esc + "\x03" + esc + "\x05";
      if (word == 6) out += esc + "\x06" + esc + "\x14" + esc + "\x0E";
      for (int i = 0; i < 6; ++i) out += static_cast<char>('a' + (line + word + i) % 26);
      out += ' ';
    }
    out += esc + "\x0F";
    if (line % 40 == 39) out += esc + "\x1C";
    out += "\r\n";
  }
  return out;
}

// A printer as loaded, with no limit to its page when unbounded.
struct Loaded {
  explicit Loaded(bool unbounded = false) {
    p.SetWindowFont(PrinterFont{"Win", 10, false, false, false, false});
    p.PageFont = p.WindowFont;
    p.PortNumber(8);
    p.Load();
    p.JobFontName = "Job";
    if (unbounded) p.Page().SetLimit(SIZE_MAX);
  }
  void Print(const std::string& bytes) {
    for (const char c : bytes) p.Outchar(static_cast<uint8_t>(c));
  }
  PrinterConsole p;
};

TEST(PrinterPageTest, AGuestPrintingPastTheLimitLeavesTheNewestLinesWithTheirFormats) {
  ScriptedHost host;
  Loaded limited, reference(true);
  const PrinterPage& page = limited.p.Page();
  const std::string text = MixedLines(size_t{5} << 19);  // 2.5 MB
  size_t longestLine = 0;
  for (size_t from = 0; from < text.size();) {
    const size_t lf = text.find('\n', from);
    longestLine = std::max(longestLine, lf - from);
    from = lf + 1;
  }
  for (size_t at = 0; at < text.size(); at += 256 * 1024) {
    const std::string chunk = text.substr(at, 256 * 1024);
    limited.Print(chunk);
    reference.Print(chunk);
    ASSERT_LE(page.Length(), PrinterPage::MaxLength);
  }
  ASSERT_GT(reference.p.Page().Length(), PrinterPage::MaxLength);
  // The cut took whole lines and no more than two sixteenths of the limit beyond the excess.
  EXPECT_GE(page.Length(), PrinterPage::MaxLength - PrinterPage::MaxLength / 8 - longestLine);
  const size_t dropped = reference.p.Page().Length() - page.Length();
  EXPECT_EQ(reference.p.Page().Text()[dropped - 1], '\n');
  ExpectTailOf(page, reference.p.Page());
  // What a view must drop: every character that left, and the line breaks among them.
  const std::string& all = reference.p.Page().Text();
  EXPECT_EQ(page.Dropped(), dropped);
  EXPECT_EQ(page.DroppedBreaks(), static_cast<size_t>(std::count(all.begin(), all.begin() + dropped, '\n')));
  EXPECT_EQ(page.ChangedFrom(), 0u);  // the view never looked
  // The text file is the page that is left.
  EXPECT_EQ(PageAsText(page), page.Text());
}

TEST(PrinterPageTest, RandomLinesKeepTheNewestTextAndTheLimit) {
  // Lines both shorter and longer than a sixteenth of the limit (62): whole
  // lines leave when the cut line ends soon, else the cut falls inside it.
  std::mt19937 rng(7);
  PrinterPage page, reference;
  page.SetLimit(1000);
  reference.SetLimit(SIZE_MAX);
  for (int i = 0; i < 3000; ++i) {
    const size_t length = rng() % 4 == 0 ? rng() % 300 : rng() % 40;
    std::string line(length, static_cast<char>('a' + i % 26));
    if (rng() % 3 != 0) line += "\r\n";
    const bool bold = rng() % 2 == 0;
    const uint32_t color = rng() % 4;
    for (PrinterPage* p : {&page, &reference}) {
      p->CaretToEnd();
      p->Insertion().Bold = bold;
      p->Insertion().Color = color;
      p->Insert(line);
    }
    ASSERT_LE(page.Length(), 1000u);
    ExpectTailOf(page, reference);
    if (HasFatalFailure() || HasFailure()) return;
  }
}

TEST(PrinterPageTest, ALineCutAtTheLimitAndTheEditsAroundIt) {
  PrinterPage page;
  page.SetLimit(800);
  // One line with no end, bold and plain by turns: the cut falls inside it.
  std::string all;
  for (int i = 0; i < 30; ++i) {
    page.Insertion().Bold = i % 2 != 0;
    const std::string piece(100, static_cast<char>('A' + i % 26));
    page.Insert(piece);
    all += piece;
  }
  ASSERT_LE(page.Length(), 800u);
  EXPECT_GE(page.Length(), 800u - 2 * 50);
  EXPECT_EQ(page.Text(), all.substr(all.size() - page.Length()));
  EXPECT_EQ(page.Lines().size(), 1u);
  // The cut piece keeps its format; the next one has the other.
  const size_t cutPiece = (all.size() - page.Length()) / 100;
  EXPECT_EQ(page.FormatAt(0).Bold, cutPiece % 2 != 0);
  EXPECT_EQ(page.FormatAt(page.Length() - 1).Bold, true);
  // The line goes on, ends, and the next one begins.
  page.Insertion().Bold = false;
  page.Insert("!\r\nnext");
  EXPECT_EQ(page.Lines().back(), "next");
  EXPECT_TRUE(page.Backspace());
  EXPECT_EQ(page.Lines().back(), "nex");

  // A paste of more than the page holds, at its start: what the page would
  // hold without a limit loses its start, the paste with the caret behind it.
  const std::string before = page.Text();
  std::string paste;
  for (int i = 0; paste.size() < 2000; ++i) paste += "pasted line " + std::to_string(i) + "\r\n";
  page.Select(0, 0);
  page.Insert(paste);
  const std::string whole = paste + before;
  ASSERT_LE(page.Length(), 800u);
  EXPECT_EQ(page.Text(), whole.substr(whole.size() - page.Length()));
  EXPECT_EQ(page.SelStart(), 0u);
  EXPECT_EQ(page.SelLength(), 0u);
  // A replacement near the end of a full page: the caret stays behind what
  // was inserted while the start of the page leaves.
  page.SetLimit(page.Length());
  page.Select(page.Length() - 10, 4);
  page.Insert("yyyyyy");
  EXPECT_LT(page.Length(), page.Limit());
  ASSERT_GE(page.SelStart(), 6u);
  EXPECT_EQ(page.Text().substr(page.SelStart() - 6), "yyyyyy" + whole.substr(whole.size() - 6));
}

TEST(PrinterPageTest, AViewLearnsWhatLeftSinceItLooked) {
  PrinterPage page;
  page.SetLimit(1600);  // a sixteenth: 100
  std::string line(38, '-');
  line += "\r\n";  // 40 characters
  for (int i = 0; i < 38; ++i) page.Insert(line);
  page.MarkShown();
  EXPECT_EQ(page.Dropped(), 0u);
  EXPECT_EQ(page.ChangedFrom(), 1520u);
  page.Insert(line);
  page.Insert(line);  // 1600: at the limit, nothing leaves
  EXPECT_EQ(page.Dropped(), 0u);
  page.Insert(line);  // 1640: 140 must leave, whole lines: 160
  EXPECT_EQ(page.Length(), 1480u);
  EXPECT_EQ(page.Dropped(), 160u);
  EXPECT_EQ(page.DroppedBreaks(), 4u);
  EXPECT_EQ(page.ChangedFrom(), 1520u - 160u);  // what was added stays to be shown
  page.MarkShown();
  EXPECT_EQ(page.Dropped(), 0u);
  EXPECT_EQ(page.DroppedBreaks(), 0u);
  // A change inside what then leaves: the view shows the page anew.
  page.Select(10, 0);
  page.Insert("changed");
  for (int i = 0; i < 5; ++i) page.Insert(line);
  EXPECT_GT(page.Dropped(), 10u);
  EXPECT_EQ(page.ChangedFrom(), 0u);
  // Clearing forgets what left.
  page.Clear();
  EXPECT_EQ(page.Dropped(), 0u);
}

TEST(PrinterPageTest, ThePrintFileKeepsWhatThePageDrops) {
  namespace fs = std::filesystem;
  ScriptedHost host;
  const fs::path prn = fs::temp_directory_path() / ("korva-printer-page-" + std::to_string(::getpid()) + ".prn");
  Loaded lp;
  lp.p.Page().SetLimit(500);
  host.AnswerFile(prn.string());
  lp.p.OpenPrintFile();
  ASSERT_TRUE(lp.p.PrintToFile);
  const std::string bytes = MixedLines(5000);
  lp.Print(bytes);
  lp.p.ClosePrintFile();
  EXPECT_LE(lp.p.Page().Length(), 500u);
  std::ifstream f(prn, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  EXPECT_EQ(s.str(), bytes);
  f.close();
  fs::remove(prn);
}

}  // namespace
}  // namespace korva
