// The printer window's page: text in the machine's code page (Windows-1252)
// with CR LF line breaks, every character keeping the format it was inserted
// with (font name, size, bold, italic, underline, strikethrough, colour and a
// vertical offset in twips), a caret with a selection, and the format that
// inserted text takes. Adjacent characters of equal format share one run.
//
// The page keeps at most Limit() characters: text inserted beyond it pushes the
// oldest lines off the start of the page.
//
// A view shows the page by reading the text and the runs; ChangedFrom tells it
// from which position on the page changed since it last looked (MarkShown),
// Dropped how many characters left the start of the page meanwhile.
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace korva {

// RGB(red, green, blue) as the host keeps colours: 0x00BBGGRR.
constexpr uint32_t RGB(uint32_t red, uint32_t green, uint32_t blue) { return red | (green << 8) | (blue << 16); }

struct PrinterCharFormat {
  std::string FontName;
  float Size = 10;  // points
  bool Bold = false, Italic = false, Underline = false, Strike = false;
  uint32_t Color = 0;  // 0x00BBGGRR
  int32_t Offset = 0;  // twips; positive raises the character
  auto Key() const { return std::tie(FontName, Size, Bold, Italic, Underline, Strike, Color, Offset); }
  bool operator==(const PrinterCharFormat& o) const { return Key() == o.Key(); }
  bool operator<(const PrinterCharFormat& o) const { return Key() < o.Key(); }
};

// The format of a selection: each field is empty when it differs over the selection.
struct PrinterSelectionFormat {
  std::optional<std::string> FontName;
  std::optional<float> Size;
  std::optional<bool> Bold, Italic, Underline, Strike;
  std::optional<uint32_t> Color;
};

class PrinterPage {
 public:
  struct Run {
    uint32_t Length;
    uint32_t Format;  // index into the format table
  };

  // The most characters the page keeps (about 28,000 lines of 70 characters).
  static constexpr size_t MaxLength = 2'000'000;

  PrinterPage();

  const std::string& Text() const { return text_; }
  size_t Length() const { return text_.size(); }
  bool Empty() const { return text_.empty(); }
  const std::vector<Run>& Runs() const { return runs_; }
  const PrinterCharFormat& FormatOf(uint32_t index) const { return formats_[index]; }
  // The format of the character at pos (pos < Length()).
  const PrinterCharFormat& FormatAt(size_t pos) const;
  // The lines of the text, split at CR LF.
  std::vector<std::string> Lines() const;

  // ---- Caret and selection.
  size_t SelStart() const { return selStart_; }
  size_t SelLength() const { return selLength_; }
  std::string SelText() const { return text_.substr(selStart_, selLength_); }
  // Selects length characters from start, both clamped to the text; an end
  // inside a CR LF pair moves behind it. The insertion format becomes that of
  // the character before the selection (at position 0 the first character's;
  // on an empty page it stays). Selecting what is selected already changes
  // nothing.
  void Select(size_t start, size_t length);
  // An empty selection at the end of the text. When the caret is there already
  // the insertion format stays as it is.
  void CaretToEnd();

  // ---- Editing.
  // The format that inserted text takes.
  PrinterCharFormat& Insertion() { return insertion_; }
  const PrinterCharFormat& Insertion() const { return insertion_; }
  // Replaces the selection with text in the insertion format; the caret ends behind it.
  void Insert(std::string_view text);
  void InsertChar(char c);
  void DeleteSelection();
  // Removes the last character unless it is part of a line break; returns
  // whether one went.
  bool Backspace();
  void Clear();

  // ---- The selection's format; an empty selection reports the insertion format.
  PrinterSelectionFormat SelectionFormat() const;
  // Changes every character of the selection (the insertion format when it is empty).
  template <typename Change>
  void ChangeSelection(Change change);

  // ---- The limit. When an insertion takes the page beyond it, the oldest
  // characters leave the page: at least a sixteenth of the limit more than the
  // excess, up to the end of the line the cut falls in when that line ends
  // within another sixteenth (else inside the line, never inside a CR LF).
  size_t Limit() const { return limit_; }
  void SetLimit(size_t maxLength) { limit_ = maxLength; }  // tests: a smaller page

  // ---- For views.
  size_t ChangedFrom() const { return changedFrom_; }
  // Characters that left the start of the page since the view last looked, and
  // the line breaks (CR LF pairs) among them.
  size_t Dropped() const { return dropped_; }
  size_t DroppedBreaks() const { return droppedBreaks_; }
  void MarkShown() {
    changedFrom_ = text_.size();
    dropped_ = droppedBreaks_ = 0;
  }
  // Heap bytes the page holds (text, runs, formats), for the benchmark's report.
  size_t MemoryBytes() const;

 private:
  uint32_t Intern(const PrinterCharFormat& f);
  void Changed(size_t from) { changedFrom_ = std::min(changedFrom_, from); }
  // Splits the runs so that one starts at pos; returns the index of that run.
  size_t SplitAt(size_t pos);
  void MergeRuns();
  void EraseRange(size_t start, size_t length);
  void InsertionFromBefore(size_t pos);
  void DropOldest(size_t atLeast);

  std::string text_;
  std::vector<Run> runs_;
  std::vector<PrinterCharFormat> formats_;
  std::map<PrinterCharFormat, uint32_t> formatIndex_;
  PrinterCharFormat insertion_;
  uint32_t lastFormat_ = UINT32_MAX;  // the insertion format's index, when it was interned unchanged
  PrinterCharFormat lastInterned_;
  size_t selStart_ = 0, selLength_ = 0;
  size_t changedFrom_ = 0;
  size_t dropped_ = 0, droppedBreaks_ = 0;
  size_t limit_ = MaxLength;
};

template <typename Change>
void PrinterPage::ChangeSelection(Change change) {
  if (selLength_ == 0) {
    change(insertion_);
    return;
  }
  const size_t first = SplitAt(selStart_);
  const size_t last = SplitAt(selStart_ + selLength_);
  for (size_t i = first; i < last; ++i) {
    PrinterCharFormat f = formats_[runs_[i].Format];
    change(f);
    runs_[i].Format = Intern(f);
  }
  MergeRuns();
  Changed(selStart_);
}

}  // namespace korva
