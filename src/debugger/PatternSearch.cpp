#include "debugger/PatternSearch.h"

#include <algorithm>

#include "bus/BusState.h"
#include "bus/Memory.h"

namespace korva {

FindCriterion FindCriteria[FindCriteriaCount];
int32_t LastFindAddress = -1;
int32_t LastFindStart = 0;
int32_t LastFindEnd = 0xFFFFFF;
int16_t LastFindCriteria = 0;
int16_t LastFindSize = 2;

namespace {

std::string_view Trimmed(std::string_view s) {
  const size_t first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

std::string LowerTrimmed(std::string_view term) {
  std::string t(Trimmed(term));
  for (char& c : t)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return t;
}

bool IsHexDigitOrAny(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || c == '?'; }
bool IsBitOrAny(char c) { return c == '0' || c == '1' || c == '?'; }

template <typename Pred>
bool AllOf(std::string_view s, Pred pred) {
  return std::all_of(s.begin(), s.end(), pred);
}

// The digits of a number term: without its prefix (0x, 0b) or suffix (h, b).
std::string NumberDigits(std::string_view term, char prefixLetter) {
  const std::string t = LowerTrimmed(term);
  if (t.size() >= 2 && t[0] == '0' && t[1] == prefixLetter) return t.substr(2);
  return t.empty() ? t : t.substr(0, t.size() - 1);
}

// Value and mask from digits in the given base ("?" a don't-care digit).
void DigitsToByte(const std::string& digits, unsigned bitsPerDigit, uint8_t& value, uint8_t& mask) {
  uint32_t v = 0, m = 0;
  const uint32_t all = (1u << bitsPerDigit) - 1;
  for (char c : digits) {
    const uint32_t d = c == '?' ? 0 : static_cast<uint32_t>(c <= '9' ? c - '0' : c - 'a' + 10);
    v = (v << bitsPerDigit) | d;
    m = (m << bitsPerDigit) | (c == '?' ? 0 : all);
  }
  value = static_cast<uint8_t>(v);
  mask = static_cast<uint8_t>(m);
}

constexpr int kNeverMatches = -1;

// A byte as the search sees it. Memories answer as on the bus (their values,
// no side effects); a device register is never read and never matches; an
// unmapped address reads 0, as a faulted bus read does.
int SearchByte(uint32_t address) {
  const MemoryCell& c = CellOf(address);
  switch (c.Device) {
    case DcRam: case DcRom: case DcDisplayRam: case DcFrontPanel:
    case DcGreenPlane: case DcBluePlane: case DcRedPlane:
    case DcGreenPlane3: case DcBluePlane3: case DcRedPlane3:
      return (address & 1) ? (c.Data & 0xFF) : (c.Data >> 8);
    case DcFixedZero:
    case DcNothing: case DcBoardIo: case DcOnBoardIo:
      return 0;
    case DcFixedOnes:
      return 0xFF;
    case DcCharGenRam: case DcAttrGenRam:  // odd bytes only; the even one is a bus error
      return ReadMemory(address, True) & 0xFF;
    default:
      return kNeverMatches;
  }
}

}  // namespace

int16_t ValidateSearchTerm(std::string_view term) {
  const std::string t = LowerTrimmed(term);
  const std::string_view s = t;
  const size_t n = s.size();
  if (n >= 2 && s.substr(0, 2) == "0x") return n <= 4 && AllOf(s.substr(2), IsHexDigitOrAny) ? TermHex : TermInvalid;
  if (n >= 1 && s.back() == 'h') return n <= 3 && AllOf(s.substr(0, n - 1), IsHexDigitOrAny) ? TermHex : TermInvalid;
  if (n >= 2 && s.substr(0, 2) == "0b") return n <= 10 && AllOf(s.substr(2), IsBitOrAny) ? TermBinary : TermInvalid;
  if (n >= 1 && s.back() == 'b') return n <= 9 && AllOf(s.substr(0, n - 1), IsBitOrAny) ? TermBinary : TermInvalid;
  return TermChars;
}

void HexTermToByte(std::string_view term, uint8_t& value, uint8_t& mask) {
  std::string digits = NumberDigits(term, 'x');
  if (digits.size() == 1) digits = std::string("0") + digits;
  DigitsToByte(digits, 4, value, mask);
}

void BinaryTermToByte(std::string_view term, uint8_t& value, uint8_t& mask) {
  std::string digits = NumberDigits(term, 'b');
  if (digits.size() < 8) digits.insert(0, 8 - digits.size(), '0');
  DigitsToByte(digits, 1, value, mask);
}

void AppendTermBytes(FindCriterion& c, std::string_view term, int16_t kind) {
  auto append = [&c](uint8_t value, uint8_t mask) {
    if (c.Count >= MaxPatternBytes) return;
    c.Values[c.Count] = value;
    c.Masks[c.Count] = mask;
    ++c.Count;
  };
  uint8_t value = 0, mask = 0;
  switch (kind) {
    case TermHex:
      HexTermToByte(term, value, mask);
      append(value, mask);
      break;
    case TermBinary:
      BinaryTermToByte(term, value, mask);
      append(value, mask);
      break;
    case TermChars:
      for (char ch : term) append(ch == '?' ? 0 : static_cast<uint8_t>(ch), ch == '?' ? 0 : 0xFF);
      break;
    default:
      break;
  }
}

int32_t SearchMemory(int32_t start, int32_t end, int16_t size, const FindCriterion& criteria) {
  const int64_t last = static_cast<int64_t>(end) + 1 - criteria.Count;
  if (last < start) return -1;
  if (size != 1 && size != 2 && size != 4) return -1;
  KeepFaultFlags keepFlags;  // what a search reads is not the program's fault
  // Memory repeats every 16 MB: a pattern not found in 16 MB of start addresses is nowhere.
  const int64_t stop = std::min(last, static_cast<int64_t>(start) + 0xFFFFFF);
  const uint32_t count = criteria.Count;
  for (int64_t a = start; a <= stop; a += size) {
    const uint32_t at = static_cast<uint32_t>(a);
    uint32_t i = 0;
    for (; i < count; ++i) {
      const int b = SearchByte(at + i);
      if (b == kNeverMatches || ((static_cast<uint32_t>(b) ^ criteria.Values[i]) & criteria.Masks[i]) != 0) break;
    }
    if (i == count) return static_cast<int32_t>(at);
  }
  return -1;
}

void ResetFindState() {
  for (FindCriterion& c : FindCriteria) c = FindCriterion{};
  LastFindAddress = -1;
  LastFindStart = 0;
  LastFindEnd = 0xFFFFFF;
  LastFindCriteria = 0;
  LastFindSize = 2;
}

}  // namespace korva
