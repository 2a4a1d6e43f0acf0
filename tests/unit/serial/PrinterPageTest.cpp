// The printer page's limit: what a guest prints beyond it pushes the oldest
// lines off the page while the print file keeps every byte, the newest text
// keeps its formats, a line cut at the limit stays whole from the cut on, and
// what a view must drop is counted.
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
#include "support/ScriptedHost.h"

namespace korva {
namespace {

// The formats of [from, from + length) as (characters, format) pieces, equal
// neighbours joined.
std::vector<std::pair<size_t, PrinterCharFormat>> Pieces(const PrinterPage& page, size_t from, size_t length) {
  std::vector<std::pair<size_t, PrinterCharFormat>> out;
  size_t at = 0;
  for (const PrinterPage::Run& r : page.Runs()) {
    const size_t s = std::max(at, from), e = std::min<size_t>(at + r.Length, from + length);
    if (s < e) {
      const PrinterCharFormat& f = page.FormatOf(r.Format);
      if (!out.empty() && out.back().second == f) out.back().first += e - s;
      else out.emplace_back(e - s, f);
    }
    at += r.Length;
  }
  return out;
}

// The page holds the newest characters of the reference, with their formats,
// and starts on neither half of a line break.
void ExpectTailOf(const PrinterPage& page, const PrinterPage& reference) {
  ASSERT_LE(page.Length(), reference.Length());
  const size_t from = reference.Length() - page.Length();
  ASSERT_EQ(reference.Text().compare(from, std::string::npos, page.Text()), 0);
  EXPECT_TRUE(Pieces(page, 0, page.Length()) == Pieces(reference, from, page.Length()));
  EXPECT_FALSE(!page.Empty() && page.Text()[0] == '\n');
}

TEST(PrinterPageTest, AGuestPrintingPastTheLimitLeavesTheNewestLinesWithTheirFormats) {
  namespace fs = std::filesystem;
  ScriptedHost host;
  PrinterConsole limited, reference;
  for (PrinterConsole* p : {&limited, &reference}) {
    p->PortNumber(8);
    p->Load();
  }
  reference.Page().SetLimit(SIZE_MAX);
  const fs::path prn = fs::temp_directory_path() / ("korva-printer-page-" + std::to_string(::getpid()) + ".prn");
  host.AnswerFile(prn.string());
  limited.OpenPrintFile();
  ASSERT_TRUE(limited.PrintToFile);

  // 2.5 MB of lines in colours, bold, underlined, in jobs with a pitch and raised.
  const std::string esc = "\x1B";
  std::string text;
  for (int line = 0; text.size() < (size_t{5} << 19); ++line) {
    if (line % 40 == 0) text += esc + "\x19";
    text += esc + static_cast<char>('0' + line % 8);
    for (int word = 0; word < 1 + line % 11; ++word) {
      if (word == 2) text += esc + "\x02";
      if (word == 4) text += esc + "\x03" + esc + "\x05";
      if (word == 6) text += esc + "\x06" + esc + "\x14" + esc + "\x0E";
      for (int i = 0; i < 6; ++i) text += static_cast<char>('a' + (line + word + i) % 26);
      text += ' ';
    }
    text += esc + "\x0F" + (line % 40 == 39 ? esc + "\x1C" : "") + "\r\n";
  }
  const PrinterPage& page = limited.Page();
  for (size_t at = 0; at < text.size(); at += 256 * 1024) {
    for (size_t i = at; i < std::min(text.size(), at + 256 * 1024); ++i) {
      limited.Outchar(static_cast<uint8_t>(text[i]));
      reference.Outchar(static_cast<uint8_t>(text[i]));
    }
    ASSERT_LE(page.Length(), PrinterPage::MaxLength);
  }
  limited.ClosePrintFile();
  ASSERT_GT(reference.Page().Length(), PrinterPage::MaxLength);
  // Whole lines left, and no more than two sixteenths of the limit beyond the excess.
  const std::string& all = reference.Page().Text();
  const size_t dropped = all.size() - page.Length();
  EXPECT_EQ(all[dropped - 1], '\n');
  EXPECT_GE(page.Length(), PrinterPage::MaxLength - PrinterPage::MaxLength / 8 - 100);
  ExpectTailOf(page, reference.Page());
  // What a view that never looked must drop: every character that left, and
  // the line breaks among them.
  EXPECT_EQ(page.Dropped(), dropped);
  EXPECT_EQ(page.DroppedBreaks(), static_cast<size_t>(std::count(all.begin(), all.begin() + dropped, '\n')));
  EXPECT_EQ(page.ChangedFrom(), 0u);

  std::ifstream f(prn, std::ios::binary);
  std::stringstream file;
  file << f.rdbuf();
  EXPECT_TRUE(file.str() == text);
  f.close();
  fs::remove(prn);
}

TEST(PrinterPageTest, RandomLinesKeepTheNewestTextAndTheLimit) {
  // Lines both shorter and longer than a sixteenth of the limit (62): whole
  // lines leave when the cut line ends soon, else the cut falls inside it.
  std::mt19937 rng(7);
  PrinterPage page, reference;
  page.SetLimit(1000);
  reference.SetLimit(SIZE_MAX);
  for (int i = 0; i < 3000; ++i) {
    std::string line(rng() % 4 == 0 ? rng() % 300 : rng() % 40, static_cast<char>('a' + i % 26));
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
    if (HasFailure()) return;
  }
}

TEST(PrinterPageTest, ALineCutAtTheLimitGoesOnAsALine) {
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
  EXPECT_EQ(page.Text(), all.substr(all.size() - page.Length()));
  EXPECT_GE(page.Length(), 800u - 2 * 50);
  EXPECT_EQ(page.FormatAt(0).Bold, (all.size() - page.Length()) / 100 % 2 != 0);  // the cut piece's
  page.Insertion().Bold = false;
  page.Insert("!\r\nnext");
  EXPECT_EQ(page.Lines().size(), 2u);
  EXPECT_TRUE(page.Backspace());
  EXPECT_EQ(page.Lines().back(), "nex");
  // A paste at the start of more than the page holds: the page keeps its end.
  const std::string whole = std::string(2000, 'p') + page.Text();
  page.Select(0, 0);
  page.Insert(std::string(2000, 'p'));
  EXPECT_EQ(page.Text(), whole.substr(whole.size() - page.Length()));
  EXPECT_EQ(page.SelStart(), 0u);  // the caret behind the paste left with it
}

}  // namespace
}  // namespace korva
