// Memory-image loaders: S-record text, CP/M-68K command files and VersaDOS load
// modules. See Loaders.h for what every loader promises.
#include "bus/Loaders.h"
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>
#include "bus/BusState.h"
#include "bus/Memory.h"
#include "bus/Rom.h"
#include "host/CodePage.h"
#include "host/Host.h"
#include "host/UserFiles.h"
#include "tables/Packing.h"
#include "tables/TextFormat.h"

namespace korva {

uint32_t LoadStartAddress = 0;
VBool LoadStartValid = False;
uint32_t LoadIplPC = 0;
uint32_t LoadIplSP = 0;

namespace {

constexpr char CrLf[] = "\r\n";
constexpr char SrecErrorTitle[] = " Error during S- Record Load";
constexpr char CpmErrorTitle[] = " Error during Loading of CPM Command File";
constexpr char VdosErrorTitle[] = " Error during Loading of Versados Load Module";

// Errors of the loaders' own making; failures of the host file system carry
// errno and its text instead.
constexpr int ErrorBadRecord = 5;
constexpr int ErrorPastEnd = 62;
constexpr char PastEndText[] = "Input past end of file";

// The longest S-record kept from a line: "S", type, count and 255 bytes take 514
// characters; whatever follows on the line is never read.
constexpr size_t MaxRecordChars = 1024;

struct LoadError {
  int Number = 0;
  std::string Description;
};

LoadError HostError(int number) {
  if (number == 0) number = EIO;
  return {number, std::strerror(number)};
}

void ShowOk(const std::string& text, const std::string& title) {
  Host().MessageBox(text, title, MsgButtons::OK, MsgIcon::None);
}

// File names are the host's (UTF-8); messages are in the machine's code page.
std::string FileText(const std::string& fileName) { return " File = " + Utf8ToCp1252(fileName); }

std::string HostErrorText(const LoadError& e, const std::string& fileName) {
  return " Error number " + std::to_string(e.Number) + CrLf + CrLf + " " + Utf8ToCp1252(e.Description) + CrLf +
         CrLf + FileText(fileName);
}

inline void PutByte(uint32_t address, uint8_t value, VBool toRom) {
  if (toRom)
    PutRomByte(static_cast<int32_t>(address), value);
  else
    WriteMemory(address, True, value, True);
}

// A file read through a buffer; Get gives one byte at a time.
class LoadFile {
 public:
  LoadFile() = default;
  LoadFile(const LoadFile&) = delete;
  LoadFile& operator=(const LoadFile&) = delete;
  ~LoadFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  // False with OpenFailure() set when the file cannot be opened: a FIFO, a
  // device or a folder is refused unopened, so the load can neither hang in
  // the open nor read without end.
  bool Open(const std::string& name) {
    const OpenedFile opened = OpenUserFile(name);
    if (opened.Fd < 0) {
      openProblem_ = opened.Problem.value_or(SystemFileProblem(ENOENT));
      return false;
    }
    fd_ = opened.Fd;
    buffer_.resize(1 << 16);
    return true;
  }
  // The next byte, or -1 at the end of the file or after a read error.
  int Get() {
    if (pos_ == len_ && !Fill()) return -1;
    return buffer_[pos_++];
  }
  // A failed Get: the host's error, or input past the end of the file.
  LoadError Failure() const {
    if (error_) return HostError(error_);
    return {ErrorPastEnd, PastEndText};
  }
  LoadError OpenFailure() const { return {openProblem_.Number, openProblem_.Reason}; }

  bool ReadWord(uint16_t& v) {
    uint8_t b[2];
    if (!Read(b, 2)) return false;
    v = MakeWord(b[0], b[1]);
    return true;
  }
  bool ReadLong(uint32_t& v) {
    uint8_t b[4];
    if (!Read(b, 4)) return false;
    v = MakeLongFromBytes(b[0], b[1], b[2], b[3]);
    return true;
  }
  bool ReadByte(uint8_t& v) { return Read(&v, 1); }
  bool Skip(size_t n) {
    while (n--)
      if (Get() < 0) return false;
    return true;
  }

 private:
  bool Read(uint8_t* out, size_t n) {
    for (size_t k = 0; k < n; ++k) {
      const int c = Get();
      if (c < 0) return false;
      out[k] = static_cast<uint8_t>(c);
    }
    return true;
  }
  bool Fill() {
    if (atEnd_) return false;
    ssize_t n;
    do {
      n = ::read(fd_, buffer_.data(), buffer_.size());
    } while (n < 0 && errno == EINTR);
    pos_ = 0;
    len_ = n > 0 ? static_cast<size_t>(n) : 0;
    if (n <= 0) {
      if (n < 0) error_ = errno ? errno : EIO;
      atEnd_ = true;
      return false;
    }
    return true;
  }

  int fd_ = -1;
  FileProblem openProblem_;
  std::vector<uint8_t> buffer_;
  size_t pos_ = 0, len_ = 0;
  bool atEnd_ = false;
  int error_ = 0;
};

// One line of an S-record file, kept from its first "S" (or "s") on. Lines end
// with CR LF, LF or CR; the last line may lack its end.
class SrecLines {
 public:
  explicit SrecLines(LoadFile& file) : file_(file) {}
  // False at the end of the file (or on a read error: see LoadFile::Failure).
  bool Next(std::string& record) {
    record.clear();
    bool any = false, lead = false;
    for (;;) {
      int c = pending_;
      pending_ = -2;
      if (c == -2) c = file_.Get();
      if (c < 0) return any;
      any = true;
      if (c == '\n') return true;
      if (c == '\r') {
        const int n = file_.Get();
        if (n != '\n') pending_ = n < 0 ? -1 : n;
        return true;
      }
      if (!lead && (c == 'S' || c == 's')) lead = true;
      if (lead && record.size() < MaxRecordChars) record.push_back(static_cast<char>(c));
    }
  }

 private:
  LoadFile& file_;
  int pending_ = -2;  // a byte read after CR, -1 for the end, -2 for none
};

uint8_t TakeByte(std::string_view line, int32_t& position) {
  return static_cast<uint8_t>(HexTextToLong(TakeHexChars(line, position, 1)));
}

// Sum of the low `bytes` bytes of value.
uint32_t ByteSum(uint32_t value, int bytes) {
  uint32_t sum = 0;
  for (int k = 0; k < bytes; ++k) sum += (value >> (8 * k)) & 0xFF;
  return sum;
}

}  // namespace

void PutRomByte(int32_t address, uint8_t value) {
  const uint32_t a = static_cast<uint32_t>(address);
  uint16_t& word = RomImage[(a >> 1) & 0x7FFF];
  if (a & 1)
    word = static_cast<uint16_t>((word & 0xFF00) | value);
  else
    word = static_cast<uint16_t>((word & 0x00FF) | (value << 8));
}

int32_t FindSrecLead(std::string_view line) {
  for (size_t k = 0; k < line.size(); ++k)
    if (line[k] == 'S' || line[k] == 's') return k < INT32_MAX ? static_cast<int32_t>(k + 1) : 0;
  return 0;
}

std::string TakeHexChars(std::string_view line, int32_t& position, int32_t byteCount) {
  std::string text;
  const int64_t chars = byteCount > 0 ? 2 * static_cast<int64_t>(byteCount) : 0;
  const int64_t first = static_cast<int64_t>(position) - 1;
  if (first >= 0 && first < static_cast<int64_t>(line.size())) {
    const int64_t n = std::min<int64_t>(chars, static_cast<int64_t>(line.size()) - first);
    text.assign(line.substr(static_cast<size_t>(first), static_cast<size_t>(n)));
  }
  position = static_cast<int32_t>(std::min<int64_t>(static_cast<int64_t>(position) + chars, INT32_MAX));
  return text;
}

int32_t HexTextToLong(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.size() > 8) return 0;
  uint32_t value = 0;
  for (char c : text) {
    uint32_t digit = 0;
    if (c >= '0' && c <= '9')
      digit = static_cast<uint32_t>(c - '0');
    else if (c >= 'A' && c <= 'F')
      digit = static_cast<uint32_t>(c - 'A' + 10);
    else if (c >= 'a' && c <= 'f')
      digit = static_cast<uint32_t>(c - 'a' + 10);
    value = (value << 4) | digit;
  }
  return static_cast<int32_t>(value);
}

VBool LoadSrecFile(const std::string& fileName, VBool toRom, VBool report) {
  KeepFaultFlags keepFlags;
  uint32_t lastRecordAddress = 0;
  // The first bad checksum of a load gets its own box; the others are counted
  // and named in one box when the load ends, so a file of bad records does not
  // ask for an answer per record.
  uint32_t moreBadChecksums = 0;
  bool badChecksumShown = false;
  const auto showMoreBadChecksums = [&] {
    if (moreBadChecksums == 0) return;
    ShowOk(std::to_string(moreBadChecksums) +
               (moreBadChecksums == 1 ? " more record had an invalid checksum" : " more records had invalid checksums"),
           "BAD CHECKSUM");
  };
  const auto fail = [&](const LoadError& e) {
    showMoreBadChecksums();
    ShowOk(HostErrorText(e, fileName) + CrLf + CrLf + " Last  Record Address = 0x" + HexLongTrim(lastRecordAddress),
           SrecErrorTitle);
    return False;
  };

  LoadFile file;
  if (!file.Open(fileName)) return fail(file.OpenFailure());
  LoadStartValid = False;
  uint32_t lowest = 0xFFFFFF;
  uint32_t end = 0;

  SrecLines lines(file);
  std::string record;
  uint32_t lineNumber = 0;
  while (lines.Next(record)) {
    ++lineNumber;
    int32_t pos = FindSrecLead(record);
    if (pos == 0) return fail({ErrorBadRecord, "Line " + std::to_string(lineNumber) + " holds no S-record"});
    std::string type = TakeHexChars(record, pos, 1);
    for (char& c : type) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;

    int addressBytes = 0;
    bool data = false;
    if (type == "S1" || type == "S2" || type == "S3") {
      addressBytes = type[1] - '0' + 1;
      data = true;
    } else if (type == "S5" || type == "S9") {
      addressBytes = 2;
    } else if (type == "S8") {
      addressBytes = 3;
    } else if (type == "S7") {
      addressBytes = 4;
    } else {
      continue;  // S0, S4, S6 and anything else
    }

    // The count and the count bytes it announces (at least the address and the
    // checksum) must all be on the line.
    const size_t used = static_cast<size_t>(pos - 1);
    const size_t left = record.size() > used ? record.size() - used : 0;
    const uint32_t count = left >= 2 ? TakeByte(record, pos) : 0;
    const size_t needed = 2 * static_cast<size_t>(std::max<uint32_t>(count, addressBytes + 1));
    if (left < 2 || left - 2 < needed)
      return fail({ErrorBadRecord, "Line " + std::to_string(lineNumber) + " ends inside its record"});

    const uint32_t address = static_cast<uint32_t>(HexTextToLong(TakeHexChars(record, pos, addressBytes)));
    if (!data) {
      TakeByte(record, pos);  // checksum, not tested
      if (type != "S5") {
        LoadStartAddress = address;
        LoadStartValid = True;
      }
      continue;
    }

    lastRecordAddress = address;
    uint32_t checksum = count + ByteSum(address, addressBytes);
    uint32_t writeAddress = type == "S3" ? (address & 0xFFFFFF) : address;
    lowest = std::min(lowest, writeAddress);
    const int32_t dataBytes = static_cast<int32_t>(count) - (addressBytes + 1);
    for (int32_t k = 0; k < dataBytes; ++k) {
      const uint8_t b = TakeByte(record, pos);
      checksum += b;
      PutByte(writeAddress, b, toRom);
      ++writeAddress;
    }
    end = std::max(end, writeAddress);
    const uint8_t given = TakeByte(record, pos);
    const uint8_t computed = static_cast<uint8_t>(~checksum & 0xFF);
    if (computed != given) {
      if (badChecksumShown)
        ++moreBadChecksums;
      else
        ShowOk("Invalid Checksum 0x" + HexLongTrim(computed) + " <> 0x" + HexLongTrim(given) + " at 0x" +
                   HexLongTrim(address),
               "BAD CHECKSUM");
      badChecksumShown = true;
    }
  }
  if (const LoadError e = file.Failure(); e.Number != ErrorPastEnd) return fail(e);
  // An empty file is no image: loading it would leave an empty ROM or font
  // while saying all went well.
  if (lineNumber == 0) return fail({ErrorBadRecord, "The file holds no S-record"});
  showMoreBadChecksums();

  if (report) {
    const uint32_t highest = end - 1;
    ShowOk("MinAddress = " + std::to_string(static_cast<int32_t>(lowest)) + "- 0x" + HexLongTrim(lowest) + CrLf +
               "MaxAddress = " + std::to_string(static_cast<int32_t>(highest)) + "- 0x" + HexLongTrim(highest) +
               CrLf,
           "S-REC");
  }
  return True;
}

VBool LoadCpmCommandFile(const std::string& fileName, VBool toRom) {
  KeepFaultFlags keepFlags;
  LoadFile file;
  const auto fail = [&](const LoadError& e) {
    ShowOk(HostErrorText(e, fileName), CpmErrorTitle);
    return False;
  };
  if (!file.Open(fileName)) return fail(file.OpenFailure());
  LoadStartValid = False;

  uint16_t magic = 0, relocation = 0;
  uint32_t textSize = 0, dataSize = 0, bssSize = 0, symbolSize = 0, reserved = 0, textStart = 0;
  uint32_t dataStart = 0, bssStart = 0;
  if (!file.ReadWord(magic) || !file.ReadLong(textSize) || !file.ReadLong(dataSize) || !file.ReadLong(bssSize) ||
      !file.ReadLong(symbolSize) || !file.ReadLong(reserved) || !file.ReadLong(textStart) ||
      !file.ReadWord(relocation))
    return fail(file.Failure());
  const bool startsGiven = magic == 0x601B;
  if (startsGiven) {
    if (!file.ReadLong(dataStart) || !file.ReadLong(bssStart)) return fail(file.Failure());
  } else if (magic != 0x601A) {
    ShowOk(std::string("Bad Header - Magic") + CrLf + CrLf + FileText(fileName), CpmErrorTitle);
    return False;
  }
  const auto inRange = [](uint32_t v) { return v <= 0xFFFFFF; };
  if (!inRange(textSize) || !inRange(dataSize) || !inRange(bssSize) || !inRange(textStart) ||
      (startsGiven && (!inRange(dataStart) || !inRange(bssStart)))) {
    ShowOk("Bad Header - Values" + FileText(fileName), CpmErrorTitle);
    return False;
  }

  // Copies n bytes of the file to address on; false at a short read.
  const auto copy = [&](uint32_t address, uint32_t n) {
    for (uint32_t k = 0; k < n; ++k) {
      const int c = file.Get();
      if (c < 0) return false;
      PutByte(address + k, static_cast<uint8_t>(c), toRom);
    }
    return true;
  };
  const auto evenAfter = [](uint32_t start, uint32_t size) { return (start + size + 1) & ~1u; };

  if (!copy(textStart, textSize)) return fail(file.Failure());
  uint32_t next = evenAfter(textStart, textSize);
  if (!startsGiven) dataStart = next;
  if (!copy(dataStart, dataSize)) return fail(file.Failure());
  next = evenAfter(dataStart, dataSize);
  if (!startsGiven) bssStart = next;
  for (uint32_t k = 0; k < bssSize; ++k) PutByte(bssStart + k, 0, toRom);

  LoadStartValid = True;
  LoadStartAddress = textStart;
  return True;
}

VBool LoadVersadosLoadModule(const std::string& fileName, VBool toRom) {
  KeepFaultFlags keepFlags;
  LoadFile file;
  const auto fail = [&](const LoadError& e) {
    ShowOk(HostErrorText(e, fileName), VdosErrorTitle);
    return False;
  };
  const auto badHeader = [&](const char* reason) {
    ShowOk(std::string(reason) + CrLf + CrLf + FileText(fileName), VdosErrorTitle);
    return False;
  };
  if (!file.Open(fileName)) return fail(file.OpenFailure());
  LoadStartValid = False;

  // Offsets 0-31 are read and not used, except the entry point at 22.
  uint32_t entryPoint = 0;
  uint8_t libFormat = 0;
  if (!file.Skip(22) || !file.ReadLong(entryPoint) || !file.Skip(6) || !file.ReadByte(libFormat))
    return fail(file.Failure());
  for (int k = 0; k < 15; ++k) {
    uint8_t b = 0;
    if (!file.ReadByte(b)) return fail(file.Failure());
    if (b != 0) return badHeader("Bad LIB Header - Reserved bytes not zero");
  }
  if (!file.Skip(8 * 16)) return fail(file.Failure());  // segment descriptors

  // The load table as ranges {first address, byte count}.
  struct Range {
    uint32_t First, Bytes;
  };
  std::vector<Range> ranges;
  if (libFormat == 0) {
    uint16_t page[20], lastOffset[20];
    for (int i = 0; i < 20; ++i)
      if (!file.ReadWord(page[i]) || !file.ReadWord(lastOffset[i])) return fail(file.Failure());
    // The table ends before its first {0, FFFF} entry.
    for (int i = 0; i < 20 && !(page[i] == 0 && lastOffset[i] == 0xFFFF); ++i)
      ranges.push_back({static_cast<uint32_t>(page[i]) << 8, (static_cast<uint32_t>(lastOffset[i]) + 1) << 8});
  } else if (libFormat == 1) {
    uint32_t start[10], lastOffset[10];
    for (int i = 0; i < 10; ++i)
      if (!file.ReadLong(start[i]) || !file.ReadLong(lastOffset[i])) return fail(file.Failure());
    // The table ends at its first all-zero entry after entry 0.
    for (int i = 0; i < 10 && !(i > 0 && start[i] == 0 && lastOffset[i] == 0); ++i)
      ranges.push_back({start[i] & 0xFFFFFF, (lastOffset[i] & 0xFFFFFF) + 1});
  } else {
    return badHeader("Bad LIB Header - Lib Format");
  }

  uint8_t kept[8] = {};
  for (size_t i = 0; i < ranges.size(); ++i) {
    for (uint32_t k = 0; k < ranges[i].Bytes; ++k) {
      const int c = file.Get();
      if (c < 0) return fail(file.Failure());
      const uint8_t b = static_cast<uint8_t>(c);
      PutByte(ranges[i].First + k, b, toRom);
      if (i == 0 && k < 8) kept[k] = b;
    }
  }

  LoadStartValid = True;
  LoadStartAddress = entryPoint;
  LoadIplPC = MakeLongFromBytes(kept[4], kept[5], kept[6], kept[7]);
  LoadIplSP = MakeLongFromBytes(kept[0], kept[1], kept[2], kept[3]);
  return True;
}

}  // namespace korva
