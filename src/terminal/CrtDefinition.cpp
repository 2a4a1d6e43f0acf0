#include "terminal/CrtDefinition.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>

#include "host/CodePage.h"
#include "host/Host.h"
#include "terminal/DefinitionFile.h"
#include "terminal/TerminalAbility.h"

namespace korva {

std::array<CrtDefinition, DevicePorts> CrtDefinitions;
int32_t CrtSaveFailAfter = -1;

void ResetCrtDefinitions() {
  for (auto& d : CrtDefinitions) d = CrtDefinition{};
}

// The runtime's own error for a file that ends before its last field.
constexpr int kInputPastEnd = 62;

FileError HostFileError(int err) { return {err, Utf8ToCp1252(std::strerror(err))}; }
FileError PastEnd() { return {kInputPastEnd, "Input past end of file"}; }
FileError ProblemError(const std::string& path, const FileProblem& problem) {
  return {problem.Number, Utf8ToCp1252(path + ": " + problem.Reason)};
}

std::string ErrorLines(const FileError& e) {
  return GeneratedErrorText(e.Number, e.Description, "\r\n");
}

std::optional<FileError> ReplaceFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  ReplaceFaults faults;
  faults.FailAfter = CrtSaveFailAfter;
  CrtSaveFailAfter = -1;
  if (const auto problem = ReplaceUserFile(path, bytes.data(), bytes.size(), faults))
    return ProblemError(path, *problem);
  return std::nullopt;
}

namespace {

CrtDefinition* Def(int16_t port) {
  if (port < 0 || port >= DevicePorts) return nullptr;
  return &CrtDefinitions[static_cast<size_t>(port)];
}

KeyString Text(std::initializer_list<int> codes) {
  KeyString s;
  for (int c : codes) s.push_back(static_cast<char>(c));
  return s;
}

constexpr int kEsc = 27;
constexpr int kCr = 13;

// ---- Errors as the boxes show them.

// Both tell the user and give the loader's result: nothing loaded.
bool ShowLoadError(const char* what, const FileError& e) {
  Host().MessageBox(std::string(what) + "\r\n" + ErrorLines(e), "Error", MsgButtons::OK, MsgIcon::None);
  return false;
}

bool ShowWrongKind(const char* text) {
  Host().MessageBox(text, "Error Reading File", MsgButtons::OK, MsgIcon::None);
  return false;
}

// ---- Reading: the file into memory, then fields from it.

// The longest key string a key file holds: the key editor's boxes take fewer
// characters, and a key sends at most 4095 of them.
constexpr size_t kMaxKeyString = 65535;
constexpr size_t kAbilitiesFileMax = 552;
constexpr size_t KeyFileMax(size_t strings) { return 4 + strings * (4 + kMaxKeyString); }

// The file's bytes; nothing when no file has that name; an error when it cannot be read.
struct FileBytes {
  bool Missing = false;
  bool Longer = false;  // more bytes follow the most the format can have
  std::optional<FileError> Error;
  std::string Bytes;
};

// Reads at most maxBytes of a regular file; a FIFO, a device or a folder is
// refused before it is opened (host/UserFiles.h).
FileBytes ReadDefinition(const std::string& path, size_t maxBytes) {
  FileRead file = ReadUserFile(path, maxBytes);
  FileBytes r;
  r.Missing = file.Missing;
  r.Longer = file.Longer;
  if (file.Problem) r.Error = ProblemError(path, *file.Problem);
  r.Bytes = std::move(file.Bytes);
  return r;
}

class Reader {
 public:
  explicit Reader(const std::string& b) : b_(reinterpret_cast<const uint8_t*>(b.data())), size_(b.size()) {}
  bool Has(size_t n) const { return size_ - pos_ >= n; }
  size_t Left() const { return size_ - pos_; }
  // Each read fails (false) when the file ends before the field does.
  bool U8(uint8_t& v) {
    if (!Has(1)) return false;
    v = b_[pos_++];
    return true;
  }
  bool I16(int16_t& v) {
    if (!Has(2)) return false;
    v = static_cast<int16_t>(b_[pos_] | (b_[pos_ + 1] << 8));
    pos_ += 2;
    return true;
  }
  bool U32(uint32_t& v) {
    if (!Has(4)) return false;
    v = static_cast<uint32_t>(b_[pos_]) | static_cast<uint32_t>(b_[pos_ + 1]) << 8 |
        static_cast<uint32_t>(b_[pos_ + 2]) << 16 | static_cast<uint32_t>(b_[pos_ + 3]) << 24;
    pos_ += 4;
    return true;
  }
  // A count and its characters; a count beyond the file's end fails before anything is kept.
  bool String(KeyString& s) {
    uint32_t count;
    if (!U32(count) || count > Left()) return false;
    s.assign(reinterpret_cast<const char*>(b_ + pos_), count);
    pos_ += count;
    return true;
  }

 private:
  const uint8_t* b_;
  size_t size_;
  size_t pos_ = 0;
};

// A Boolean the machine never writes other than 0 or -1: anything else is True.
VBool SafeBool(int16_t v) { return v ? True : False; }

// ---- Writing: beside the target, renamed over it when complete.

class Writer {
 public:
  void U8(uint8_t v) { b_.push_back(v); }
  void I16(int16_t v) {
    b_.push_back(static_cast<uint8_t>(v));
    b_.push_back(static_cast<uint8_t>(static_cast<uint16_t>(v) >> 8));
  }
  void U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) b_.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  void String(const KeyString& s) {
    U32(static_cast<uint32_t>(s.size()));
    b_.insert(b_.end(), s.begin(), s.end());
  }
  const std::vector<uint8_t>& Bytes() const { return b_; }

 private:
  std::vector<uint8_t> b_;
};

void Save(const std::string& path, const Writer& w) {
  if (auto e = ReplaceFile(path, w.Bytes())) {
    Host().MessageBox(ErrorLines(*e), "Error", MsgButtons::OK, MsgIcon::None);
  }
}

}  // namespace

// ---- Built-in defaults.

void SetDefaultControlAbilities(int16_t port) {
  CrtDefinition* d = Def(port);
  if (!d) return;
  d->SCC[7] = AbBell;
  d->SCC[8] = AbCursorLeft;
  d->SCC[9] = AbSubstituteBlank;
  d->SCC[10] = AbLF;
  d->SCC[13] = AbCR;
  d->SCC[16] = AbCursorRight;
  d->SCC[27] = AbESC;
  d->SCC[127] = AbDump1;
}

void SetDefaultEscapeAbilities(int16_t port) {
  CrtDefinition* d = Def(port);
  if (!d) return;
  d->ECC[11] = AbCursorDownNoScroll;
  d->ECC[12] = AbCursorUpNoScroll;
  d->ECC[15] = AbClearEOL;
  d->ECC[17] = AbGotoXYbinary;
  d->ECC[18] = AbHomeCursor;
  d->ECC[19] = AbDeleteLineScrollUp;
  d->ECC[24] = AbClearEOS;
  d->ECC[25] = AbSetTextLO;
  d->ECC[26] = AbInsertLineAboveScrollDown;
  d->ECC[28] = AbClearScreen;
  d->ECC[31] = AbSetTextHI;
}

void SetDefaultNavigationKeys(int16_t port) {
  CrtDefinition* d = Def(port);
  if (!d) return;
  auto& k = d->NavigationKeys;
  k[NavPgUp] = KeyRow{Text({17})};  // the seven others empty
  k[NavPgDn][ModNone] = Text({16});
  k[NavEnd][ModNone] = Text({kEsc, 'Z'});
  k[NavEnd][ModShift] = Text({kEsc, 'E'});
  k[NavEnd][ModCtrl] = Text({15});
  k[NavHome][ModNone] = Text({kEsc, 'H'});
  k[NavHome][ModShift] = Text({kEsc, 'B'});
  k[NavHome][ModCtrl] = Text({23});
  k[NavLeft][ModNone] = Text({12});
  k[NavLeft][ModShift] = Text({2});
  k[NavUp][ModNone] = Text({21});
  k[NavRight][ModNone] = Text({18});
  k[NavRight][ModShift] = Text({6});
  k[NavDown][ModNone] = Text({4});
  k[NavBackSpace][ModNone] = Text({8});
  k[NavTab][ModNone] = Text({9});
}

void SetDefaultEditingKeys(int16_t port) {
  CrtDefinition* d = Def(port);
  if (!d) return;
  d->EditingKeys[EditInsert] = KeyRow{Text({14}), Text({10}), Text({22})};
  d->EditingKeys[EditDelete] = KeyRow{Text({127}), Text({26})};
}

void SetDefaultFunctionKeys(int16_t port) {
  CrtDefinition* d = Def(port);
  if (!d) return;
  auto& f = d->FunctionKeys;
  const std::string cr(1, static_cast<char>(kCr));
  f[2] = KeyRow{"DIR" + cr, "DIR ", "DIR A:" + cr, "DIR A:", "DIR B:" + cr, "DIR B:", "DIR C:" + cr, "DIR C:"};
  f[4] = KeyRow{"STAT" + cr,      "STAT ",     "STAT DSK:" + cr, "STAT DSK:",
                "STAT VAL:" + cr, "STAT VAL:", "STAT DEV:" + cr, "STAT DEV:"};
  f[6][ModShift] = "TYPE ";
  f[7][ModNone] = "PIP" + cr;
  f[7][ModShift] = "PIP ";
}

// ---- Abilities file.

void SaveAbilitiesFile(const std::string& path, int16_t port) {
  const CrtDefinition* d = Def(port);
  if (!d) return;
  Writer w;
  w.U32(AbilitiesMagic);
  for (int32_t v : d->SCC) w.U8(static_cast<uint8_t>(v));
  for (int32_t v : d->ECC) w.U8(static_cast<uint8_t>(v));
  for (int16_t v : {d->GotoSize, d->GotoSizeXY, d->GotoOffsetX, d->GotoOffsetY, d->XYType, d->GotoValueOffsetX,
                    d->NoWrap, d->ScrollLock, d->Lines, d->Columns, d->AutoCR, d->AutoLF, d->ANSI, d->Ascii,
                    d->Parity, d->CursorType, d->CursorFront, d->GotoValueOffsetY})
    w.I16(v);
  Save(path, w);
}

bool LoadAbilitiesFile(const std::string& path, int16_t port, CrtModeSink* modes) {
  CrtDefinition* d = Def(port);
  if (!d) return false;
  static const char kCorrupt[] = "Terminal Abilities may be corrupt because";
  const FileBytes file = ReadDefinition(path, kAbilitiesFileMax);  // what follows the last field is ignored
  if (file.Missing) return false;
  if (file.Error) return ShowLoadError(kCorrupt, *file.Error);
  Reader r(file.Bytes);
  uint32_t magic;
  if (!r.U32(magic)) return ShowLoadError(kCorrupt, PastEnd());
  if (magic != AbilitiesMagic && magic != AbilitiesMagic550 && magic != AbilitiesMagic536)
    return ShowWrongKind("File is NOT a Terminal Abilities File");
  const size_t size = magic == AbilitiesMagic ? 552 : magic == AbilitiesMagic550 ? 550 : 536;
  if (file.Bytes.size() < size) return ShowLoadError(kCorrupt, PastEnd());

  // The file is whole: every read below succeeds.
  CrtDefinition n = *d;
  uint8_t b;
  for (auto& v : n.SCC) r.U8(b), v = b;
  for (auto& v : n.ECC) r.U8(b), v = b;
  int16_t lines = 0, columns = 0, v = 0;
  r.I16(n.GotoSize), r.I16(n.GotoSizeXY), r.I16(n.GotoOffsetX), r.I16(n.GotoOffsetY), r.I16(n.XYType);
  r.I16(n.GotoValueOffsetX);
  n.GotoValueOffsetY = n.GotoValueOffsetX;
  r.I16(v), n.NoWrap = SafeBool(v);
  r.I16(v), n.ScrollLock = SafeBool(v);
  r.I16(lines), r.I16(columns);
  if (magic != AbilitiesMagic536) {
    r.I16(v), n.AutoCR = SafeBool(v);
    r.I16(v), n.AutoLF = SafeBool(v);
    r.I16(v), n.ANSI = SafeBool(v);
    r.I16(v), n.Ascii = SafeBool(v);
    r.I16(v), n.Parity = (v >= 0 && v <= 3) ? v : 0;
    r.I16(v), n.CursorType = (v >= 0 && v <= 5) ? v : 1;
    r.I16(v), n.CursorFront = SafeBool(v);
    if (magic == AbilitiesMagic) r.I16(n.GotoValueOffsetY);
  }
  lines = std::clamp<int16_t>(lines, 1, CrtMaxLines);
  columns = std::clamp<int16_t>(columns, 1, CrtMaxColumns);
  *d = n;
  if (!modes) {
    d->Lines = lines;
    d->Columns = columns;
    return true;
  }
  // The setters read and store the same fields; take the values first, since a
  // setter may run other code of the window.
  const CrtDefinition m = *d;
  modes->SetNoWrap(m.NoWrap);
  modes->SetAutoCR(m.AutoCR);
  modes->SetAutoLF(m.AutoLF);
  modes->SetANSI(m.ANSI);
  modes->SetASCII(m.Ascii);
  modes->SetParity(m.Parity);
  modes->SetCursorType(m.CursorType);
  modes->SetCursorFront(m.CursorFront);
  modes->ResizeScreen(columns, lines);
  return true;
}

// ---- Key files.

namespace {

template <size_t Rows>
void WriteRows(Writer& w, const std::array<KeyRow, Rows>& rows) {
  for (const KeyRow& row : rows)
    for (const KeyString& s : row) w.String(s);
}

template <size_t Rows>
bool ReadRows(Reader& r, std::array<KeyRow, Rows>& rows) {
  for (KeyRow& row : rows)
    for (KeyString& s : row)
      if (!r.String(s)) return false;
  return true;
}

// Reads a key file into a copy of the definition and commits it only when whole.
template <typename ReadAll>
bool LoadKeyFile(const std::string& path, int16_t port, uint32_t wanted, size_t maxBytes, const char* corrupt,
                 const char* wrongKind, ReadAll readAll) {
  CrtDefinition* d = Def(port);
  if (!d) return false;
  const FileBytes file = ReadDefinition(path, maxBytes);
  if (file.Missing) return false;
  if (file.Error) return ShowLoadError(corrupt, *file.Error);
  Reader r(file.Bytes);
  uint32_t magic;
  if (!r.U32(magic)) return ShowLoadError(corrupt, PastEnd());
  if (magic != wanted) return ShowWrongKind(wrongKind);
  CrtDefinition n;
  if (!readAll(r, n)) {
    if (!file.Longer) return ShowLoadError(corrupt, PastEnd());
    return ShowLoadError(corrupt, ProblemError(path, {RefusedFileError, "it is longer than such a file can be"}));
  }
  readAll.commit(n, *d);
  return true;
}

struct KeysReader {
  bool operator()(Reader& r, CrtDefinition& n) const {
    return ReadRows(r, n.NavigationKeys) && ReadRows(r, n.EditingKeys);
  }
  void commit(CrtDefinition& n, CrtDefinition& d) const {
    d.NavigationKeys = std::move(n.NavigationKeys);
    d.EditingKeys = std::move(n.EditingKeys);
  }
};

struct FunctionKeysReader {
  bool operator()(Reader& r, CrtDefinition& n) const { return ReadRows(r, n.FunctionKeys); }
  void commit(CrtDefinition& n, CrtDefinition& d) const { d.FunctionKeys = std::move(n.FunctionKeys); }
};

}  // namespace

void SaveKeysFile(const std::string& path, int16_t port) {
  const CrtDefinition* d = Def(port);
  if (!d) return;
  Writer w;
  w.U32(KeysMagic);
  WriteRows(w, d->NavigationKeys);
  WriteRows(w, d->EditingKeys);
  Save(path, w);
}

bool LoadKeysFile(const std::string& path, int16_t port) {
  return LoadKeyFile(path, port, KeysMagic, KeyFileMax(KeyModifiers * (NavigationKeyRows + EditingKeyRows)),
                     "Keyboard Definitions may be corrupt because",
                     "File is NOT a Keyboard Definition File", KeysReader{});
}

void SaveFunctionKeysFile(const std::string& path, int16_t port) {
  const CrtDefinition* d = Def(port);
  if (!d) return;
  Writer w;
  w.U32(FunctionKeysMagic);
  WriteRows(w, d->FunctionKeys);
  Save(path, w);
}

bool LoadFunctionKeysFile(const std::string& path, int16_t port) {
  return LoadKeyFile(path, port, FunctionKeysMagic, KeyFileMax(KeyModifiers * FunctionKeyRows),
                     "Function Key Definitions may be corrupt because",
                     "File is NOT a Function Key Definition File", FunctionKeysReader{});
}

}  // namespace korva
