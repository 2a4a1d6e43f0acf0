#include "serial/PrinterPage.h"

#include <algorithm>

namespace korva {

PrinterPage::PrinterPage() = default;

uint32_t PrinterPage::Intern(const PrinterCharFormat& f) {
  // The renderer sets the same format for most characters: compare with the last one first.
  if (lastFormat_ != UINT32_MAX && f == lastInterned_) return lastFormat_;
  auto it = formatIndex_.find(f);
  uint32_t index;
  if (it != formatIndex_.end()) {
    index = it->second;
  } else {
    index = static_cast<uint32_t>(formats_.size());
    formats_.push_back(f);
    formatIndex_.emplace(f, index);
  }
  lastInterned_ = f;
  lastFormat_ = index;
  return index;
}

const PrinterCharFormat& PrinterPage::FormatAt(size_t pos) const {
  size_t at = 0;
  for (const Run& r : runs_) {
    if (pos < at + r.Length) return formats_[r.Format];
    at += r.Length;
  }
  return insertion_;
}

std::vector<std::string> PrinterPage::Lines() const {
  std::vector<std::string> lines;
  size_t from = 0;
  for (;;) {
    const size_t brk = text_.find("\r\n", from);
    if (brk == std::string::npos) break;
    lines.push_back(text_.substr(from, brk - from));
    from = brk + 2;
  }
  lines.push_back(text_.substr(from));
  return lines;
}

size_t PrinterPage::SplitAt(size_t pos) {
  size_t at = 0;
  for (size_t i = 0; i < runs_.size(); ++i) {
    if (at == pos) return i;
    const uint32_t len = runs_[i].Length;
    if (pos < at + len) {
      const auto head = static_cast<uint32_t>(pos - at);
      runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(i) + 1, Run{len - head, runs_[i].Format});
      runs_[i].Length = head;
      return i + 1;
    }
    at += len;
  }
  return runs_.size();
}

void PrinterPage::MergeRuns() {
  size_t out = 0;
  for (size_t i = 0; i < runs_.size(); ++i) {
    if (runs_[i].Length == 0) continue;
    if (out > 0 && runs_[out - 1].Format == runs_[i].Format) {
      runs_[out - 1].Length += runs_[i].Length;
    } else {
      runs_[out++] = runs_[i];
    }
  }
  runs_.resize(out);
}

void PrinterPage::InsertionFromBefore(size_t pos) {
  if (pos > 0 && pos <= text_.size()) insertion_ = FormatAt(pos - 1);
  else if (!text_.empty()) insertion_ = FormatAt(0);
}

void PrinterPage::Select(size_t start, size_t length) {
  const auto snap = [this](size_t p) {
    p = std::min(p, text_.size());
    if (p > 0 && p < text_.size() && text_[p - 1] == '\r' && text_[p] == '\n') ++p;
    return p;
  };
  const size_t size = text_.size();
  const size_t s = snap(start);
  const size_t e = std::max(s, snap(start >= size || length >= size - start ? size : start + length));
  // The same selection again keeps the insertion format (a view that reports
  // its unchanged caret must not undo a format set for the next character).
  if (s == selStart_ && e - s == selLength_) return;
  selStart_ = s;
  selLength_ = e - s;
  InsertionFromBefore(s);
}

void PrinterPage::CaretToEnd() {
  if (selLength_ == 0 && selStart_ == text_.size()) return;
  selStart_ = text_.size();
  selLength_ = 0;
  InsertionFromBefore(selStart_);
}

void PrinterPage::EraseRange(size_t start, size_t length) {
  if (length == 0) return;
  const size_t first = SplitAt(start);
  const size_t last = SplitAt(start + length);
  runs_.erase(runs_.begin() + static_cast<std::ptrdiff_t>(first), runs_.begin() + static_cast<std::ptrdiff_t>(last));
  MergeRuns();
  text_.erase(start, length);
  Changed(start);
}

void PrinterPage::Insert(std::string_view text) {
  if (selLength_ > 0) EraseRange(selStart_, selLength_);
  selLength_ = 0;
  if (text.empty()) return;
  const uint32_t f = Intern(insertion_);
  const auto len = static_cast<uint32_t>(text.size());
  if (selStart_ == text_.size()) {
    Changed(text_.size());
    text_.append(text);
    if (!runs_.empty() && runs_.back().Format == f) runs_.back().Length += len;
    else runs_.push_back(Run{len, f});
  } else {
    const size_t at = SplitAt(selStart_);
    runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(at), Run{len, f});
    text_.insert(selStart_, text);
    MergeRuns();
    Changed(selStart_);
  }
  selStart_ += text.size();
  if (text_.size() > limit_) DropOldest(text_.size() - limit_ + limit_ / 16);
}

void PrinterPage::DropOldest(size_t atLeast) {
  size_t cut = std::min(atLeast, text_.size());
  if (cut > 0 && cut < text_.size()) {
    // Whole lines leave when the cut line ends soon; the LF may sit right before the cut.
    const size_t reach = std::min(text_.size(), cut + limit_ / 16);
    const size_t lf = text_.find('\n', cut - 1);
    if (lf < reach) cut = lf + 1;
    else if (text_[cut - 1] == '\r' && text_[cut] == '\n') ++cut;
  }
  const auto breaks =
      static_cast<size_t>(std::count(text_.begin(), text_.begin() + static_cast<std::ptrdiff_t>(cut), '\n'));
  const size_t kept = SplitAt(cut);
  runs_.erase(runs_.begin(), runs_.begin() + static_cast<std::ptrdiff_t>(kept));
  text_.erase(0, cut);
  dropped_ += cut;
  droppedBreaks_ += breaks;
  changedFrom_ = changedFrom_ > cut ? changedFrom_ - cut : 0;
  const size_t selEnd = selStart_ + selLength_;
  selStart_ = selStart_ > cut ? selStart_ - cut : 0;
  selLength_ = (selEnd > cut ? selEnd - cut : 0) - selStart_;
}

void PrinterPage::InsertChar(char c) { Insert(std::string_view(&c, 1)); }

void PrinterPage::DeleteSelection() {
  EraseRange(selStart_, selLength_);
  selLength_ = 0;
}

bool PrinterPage::Backspace() {
  if (text_.empty()) return false;
  const char last = text_.back();
  if (last == '\r' || last == '\n') return false;
  const bool caretAtEnd = selStart_ + selLength_ == text_.size();
  EraseRange(text_.size() - 1, 1);
  if (caretAtEnd) {
    selStart_ = std::min(selStart_, text_.size());
    selLength_ = text_.size() - selStart_;
  }
  return true;
}

void PrinterPage::Clear() {
  text_.clear();
  runs_.clear();
  selStart_ = selLength_ = 0;
  changedFrom_ = 0;
  dropped_ = droppedBreaks_ = 0;
}

PrinterSelectionFormat PrinterPage::SelectionFormat() const {
  PrinterSelectionFormat s;
  if (selLength_ == 0) {
    s.FontName = insertion_.FontName;
    s.Size = insertion_.Size;
    s.Bold = insertion_.Bold;
    s.Italic = insertion_.Italic;
    s.Underline = insertion_.Underline;
    s.Strike = insertion_.Strike;
    s.Color = insertion_.Color;
    return s;
  }
  bool first = true;
  const auto take = [&first](auto& slot, const auto& value) {
    if (first) slot = value;
    else if (slot && *slot != value) slot.reset();
  };
  size_t at = 0;
  const size_t end = selStart_ + selLength_;
  for (const Run& r : runs_) {
    const size_t runEnd = at + r.Length;
    if (runEnd > selStart_ && at < end) {
      const PrinterCharFormat& f = formats_[r.Format];
      take(s.FontName, f.FontName);
      take(s.Size, f.Size);
      take(s.Bold, f.Bold);
      take(s.Italic, f.Italic);
      take(s.Underline, f.Underline);
      take(s.Strike, f.Strike);
      take(s.Color, f.Color);
      first = false;
    }
    at = runEnd;
    if (at >= end) break;
  }
  return s;
}

size_t PrinterPage::MemoryBytes() const {
  size_t n = text_.capacity() + runs_.capacity() * sizeof(Run) + formats_.capacity() * sizeof(PrinterCharFormat);
  // A map node holds the key and two pointers' worth of links besides.
  n += formatIndex_.size() * (sizeof(PrinterCharFormat) + sizeof(uint32_t) + 4 * sizeof(void*));
  for (const PrinterCharFormat& f : formats_)
    if (f.FontName.capacity() > 15) n += 2 * (f.FontName.capacity() + 1);
  return n;
}

}  // namespace korva
