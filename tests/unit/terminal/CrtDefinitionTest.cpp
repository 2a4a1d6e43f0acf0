// Terminal definitions: the built-in defaults as written to the three files,
// the older .tab forms, refused and broken files, FIFOs, devices, links and
// read-only files, and saves that fail.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/ScriptedHost.h"
#include "terminal/CrtDefinition.h"
#include "terminal/CrtTerminal.h"
#include "unit/bus/LoaderFiles.h"

namespace korva::test {
namespace {

Bytes ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(f), {});
}

void PutLE(Bytes& b, size_t at, uint32_t v, int n) {
  for (int i = 0; i < n; ++i) b[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

// Records what a loaded abilities file applies to the window.
struct ModeLog final : CrtModeSink {
  std::vector<std::string> Calls;
  int32_t Columns = -1, Lines = -1;
  void SetNoWrap(VBool v) override { Calls.push_back("NoWrap" + std::to_string(v)); }
  void SetAutoCR(VBool v) override { Calls.push_back("AutoCR" + std::to_string(v)); }
  void SetAutoLF(VBool v) override { Calls.push_back("AutoLF" + std::to_string(v)); }
  void SetANSI(VBool v) override { Calls.push_back("ANSI" + std::to_string(v)); }
  void SetASCII(VBool v) override { Calls.push_back("ASCII" + std::to_string(v)); }
  void SetParity(int16_t v) override { Calls.push_back("Parity" + std::to_string(v)); }
  void SetCursorType(int16_t v) override { Calls.push_back("CursorType" + std::to_string(v)); }
  void SetCursorFront(VBool v) override { Calls.push_back("CursorFront" + std::to_string(v)); }
  void ResizeScreen(int32_t c, int32_t l) override {
    Calls.push_back("Resize");
    Columns = c, Lines = l;
  }
};

class CrtDefinitionTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetCrtDefinitions(); }
  void TearDown() override { ResetCrtDefinitions(); }

  // Port 0 as the window's default load leaves it.
  void Defaults() {
    classCrtTerminal t(0);
    SetDefaultEscapeAbilities(0);
    SetDefaultControlAbilities(0);
    t.InitDefinitions();
    t.SetANSI(True);
    t.SetCursorType(1);
    t.SetCursorFront(True);
    t.ResizeScreen(80, 24);
    SetDefaultNavigationKeys(0);
    SetDefaultEditingKeys(0);
    SetDefaultFunctionKeys(0);
  }
  std::vector<HostCall> Boxes() const { return host.CallsOf(HostCall::Kind::MessageBox); }

  ScriptedHost host;
  TempFolder dir;
  CrtDefinition& d0 = CrtDefinitions[0];
};

TEST_F(CrtDefinitionTest, DefaultsWriteTheKnownFiles) {
  Defaults();
  SaveAbilitiesFile(dir.Path("a.tab"), 0);
  SaveKeysFile(dir.Path("a.kbd"), 0);
  SaveFunctionKeysFile(dir.Path("a.fky"), 0);
  const Bytes tab = ReadFile(dir.Path("a.tab"));
  ASSERT_EQ(tab.size(), 552u);
  EXPECT_EQ(Bytes(tab.begin(), tab.begin() + 4), (Bytes{0x2E, 0xDC, 0x25, 0x85}));
  EXPECT_EQ(tab[11], 0x01);   // SCC[7] Bell
  EXPECT_EQ(tab[13], 0x70);   // SCC[9] SubstituteBlank
  EXPECT_EQ(tab[131], 0x3B);  // SCC[127] Dump1
  EXPECT_EQ(tab[277], 0x33);  // ECC[17] GotoXYbinary
  EXPECT_EQ(tab[288], 0x09);  // ECC[28] ClearScreen
  EXPECT_EQ(Bytes(tab.begin() + 516, tab.end()),
            (Bytes{0x03, 0x00, 0x01, 0x00, 0x01, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x18, 0x00,
                   0x50, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0xFF, 0xFF, 0x00, 0x00}));
  const Bytes kbd = ReadFile(dir.Path("a.kbd"));
  ASSERT_EQ(kbd.size(), 413u);
  EXPECT_EQ(Bytes(kbd.begin(), kbd.begin() + 9), (Bytes{0x2A, 0x3F, 0x7C, 0x9E, 0x01, 0x00, 0x00, 0x00, 0x11}));
  const Bytes fky = ReadFile(dir.Path("a.fky"));
  ASSERT_EQ(fky.size(), 547u);
  EXPECT_EQ(Bytes(fky.begin(), fky.begin() + 4), (Bytes{0x8B, 0x1C, 0x6A, 0x4F}));
  EXPECT_EQ(Bytes(fky.begin() + 68, fky.begin() + 76), (Bytes{0x04, 0x00, 0x00, 0x00, 'D', 'I', 'R', 0x0D}));
  EXPECT_TRUE(Boxes().empty());

  // Unnamed entries are left as they are.
  d0.FunctionKeys[6][ModNone] = "keep";
  d0.NavigationKeys[NavPgDn][ModShift] = "keep";
  d0.SCC[1] = 99;
  SetDefaultFunctionKeys(0);
  SetDefaultNavigationKeys(0);
  SetDefaultControlAbilities(0);
  EXPECT_EQ(d0.FunctionKeys[6][ModNone], "keep");
  EXPECT_EQ(d0.NavigationKeys[NavPgDn][ModShift], "keep");
  EXPECT_EQ(d0.SCC[1], 99);
}

TEST_F(CrtDefinitionTest, KeyFilesKeepEveryString) {
  for (size_t r = 0; r < NavigationKeyRows; ++r)
    for (size_t m = 0; m < KeyModifiers; ++m) d0.NavigationKeys[r][m] = std::string(r % 3, static_cast<char>(m * 30));
  d0.EditingKeys[0][0] = std::string("\x00\x1B\xFF", 3);
  d0.EditingKeys[1][7] = "";
  d0.FunctionKeys[12][7] = std::string("F13\x00", 4);
  SaveKeysFile(dir.Path("k.kbd"), 0);
  SaveFunctionKeysFile(dir.Path("f.fky"), 0);
  const CrtDefinition saved = d0;
  ResetCrtDefinitions();
  LoadKeysFile(dir.Path("k.kbd"), 0);
  LoadFunctionKeysFile(dir.Path("f.fky"), 0);
  EXPECT_EQ(d0.NavigationKeys, saved.NavigationKeys);
  EXPECT_EQ(d0.EditingKeys, saved.EditingKeys);
  EXPECT_EQ(d0.FunctionKeys, saved.FunctionKeys);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(CrtDefinitionTest, OlderAbilityFormsLoadTheirFields) {
  Defaults();
  SaveAbilitiesFile(dir.Path("new.tab"), 0);
  Bytes b = ReadFile(dir.Path("new.tab"));
  b[4 + 'A'] = 40;   // SCC
  b[260 + 'Z'] = 9;  // ECC
  PutLE(b, 516, 7, 2);    // GotoSize
  PutLE(b, 526, 5, 2);    // GotoValueOffsetX
  PutLE(b, 530, 0xFFFF, 2);  // ScrollLock
  PutLE(b, 532, 90, 2);   // Lines: beyond the screen
  PutLE(b, 534, 100, 2);  // Columns
  PutLE(b, 536, 0xFFFF, 2);  // AutoCR
  PutLE(b, 550, 3, 2);    // GotoValueOffsetY

  // 536 bytes: through Columns; the modes after it stay.
  Bytes old = b;
  PutLE(old, 0, AbilitiesMagic536, 4);
  old.resize(536);
  ModeLog log;
  LoadAbilitiesFile(dir.Write("old.tab", old), 0, &log);
  EXPECT_EQ(d0.SCC['A'], 40);
  EXPECT_EQ(d0.ECC['Z'], 9);
  EXPECT_EQ(d0.GotoSize, 7);
  EXPECT_EQ(d0.GotoValueOffsetY, 5);
  EXPECT_EQ(d0.ScrollLock, True);
  EXPECT_EQ(d0.AutoCR, False);
  EXPECT_EQ(d0.ANSI, True);
  EXPECT_EQ(log.Calls, (std::vector<std::string>{"NoWrap-1", "AutoCR0", "AutoLF0", "ANSI-1", "ASCII0", "Parity0",
                                                 "CursorType1", "CursorFront-1", "Resize"}));
  EXPECT_EQ(log.Lines, 67);
  EXPECT_EQ(log.Columns, 100);

  // 550 bytes: through CursorFront, GotoValueOffsetY still from X.
  Bytes mid = b;
  PutLE(mid, 0, AbilitiesMagic550, 4);
  mid.resize(550);
  LoadAbilitiesFile(dir.Write("mid.tab", mid), 0, nullptr);
  EXPECT_EQ(d0.AutoCR, True);
  EXPECT_EQ(d0.GotoValueOffsetY, 5);
  EXPECT_EQ(d0.Lines, 67);  // no window: the size goes to the record

  // The current form with trailing bytes: they are ignored.
  Bytes cur = b;
  cur.push_back(0xAA);
  LoadAbilitiesFile(dir.Write("cur.tab", cur), 0, nullptr);
  EXPECT_EQ(d0.GotoValueOffsetY, 3);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(CrtDefinitionTest, ValuesNoMachineWritesAreMadeSafe) {
  Defaults();
  SaveAbilitiesFile(dir.Path("a.tab"), 0);
  const Bytes good = ReadFile(dir.Path("a.tab"));
  struct Row {
    uint32_t lines, columns;
    int32_t wantLines, wantColumns;
  };
  for (const Row& r : {Row{0, 0, 1, 1}, Row{0xFFFB, 200, 1, 133}, Row{24, 0x8000, 24, 1}}) {
    Bytes b = good;
    PutLE(b, 532, r.lines, 2);
    PutLE(b, 534, r.columns, 2);
    PutLE(b, 528, 5, 2);    // NoWrap 5
    PutLE(b, 544, 9, 2);    // Parity 9
    PutLE(b, 546, 8, 2);    // CursorType 8
    ModeLog log;
    LoadAbilitiesFile(dir.Write("b.tab", b), 0, &log);
    EXPECT_EQ(log.Lines, r.wantLines);
    EXPECT_EQ(log.Columns, r.wantColumns);
    EXPECT_EQ(d0.NoWrap, True);
    EXPECT_EQ(d0.Parity, 0);
    EXPECT_EQ(d0.CursorType, 1);
  }
}

TEST_F(CrtDefinitionTest, WrongKindAndMissingFiles) {
  Defaults();
  const CrtDefinition before = d0;
  const std::string other = dir.Write("other.bin", Bytes(600, 0x11));
  LoadAbilitiesFile(other, 0, nullptr);
  LoadKeysFile(other, 0);
  LoadFunctionKeysFile(other, 0);
  ASSERT_EQ(Boxes().size(), 3u);
  EXPECT_EQ(Boxes()[0].Text, "File is NOT a Terminal Abilities File");
  EXPECT_EQ(Boxes()[1].Text, "File is NOT a Keyboard Definition File");
  EXPECT_EQ(Boxes()[2].Text, "File is NOT a Function Key Definition File");
  for (const HostCall& c : Boxes()) EXPECT_EQ(c.Title, "Error Reading File");
  host.ClearCalls();
  LoadAbilitiesFile(dir.Path("none.tab"), 0, nullptr);
  LoadKeysFile(dir.Path("none.kbd"), 0);
  LoadFunctionKeysFile(dir.Path("none.fky"), 0);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(d0.SCC, before.SCC);
  EXPECT_EQ(d0.NavigationKeys, before.NavigationKeys);
  EXPECT_EQ(d0.FunctionKeys, before.FunctionKeys);
}

TEST_F(CrtDefinitionTest, ShortFilesChangeNothing) {
  Defaults();
  SaveAbilitiesFile(dir.Path("a.tab"), 0);
  SaveKeysFile(dir.Path("a.kbd"), 0);
  Bytes tab = ReadFile(dir.Path("a.tab"));
  Bytes kbd = ReadFile(dir.Path("a.kbd"));
  std::fill(tab.begin() + 4, tab.end(), 0x2A);
  tab.resize(300);
  kbd.resize(10);  // inside the second string
  Bytes huge = {0x2A, 0x3F, 0x7C, 0x9E, 0xFF, 0xFF, 0xFF, 0xFF, 'x'};
  const CrtDefinition before = d0;
  ModeLog log;
  LoadAbilitiesFile(dir.Write("short.tab", tab), 0, &log);
  LoadKeysFile(dir.Write("short.kbd", kbd), 0);
  LoadKeysFile(dir.Write("huge.kbd", huge), 0);
  EXPECT_TRUE(log.Calls.empty());
  EXPECT_EQ(d0.SCC, before.SCC);
  EXPECT_EQ(d0.NavigationKeys, before.NavigationKeys);
  ASSERT_EQ(Boxes().size(), 3u);
  EXPECT_EQ(Boxes()[0].Text, "Terminal Abilities may be corrupt because\r\nError # 62 was generated by Korvan\r\n"
                             "Input past end of file");
  EXPECT_EQ(Boxes()[1].Text.substr(0, 43), "Keyboard Definitions may be corrupt because");
  for (const HostCall& c : Boxes()) EXPECT_EQ(c.Title, "Error");
}

TEST_F(CrtDefinitionTest, EveryTruncationLoadsOrRefusesWhole) {
  Defaults();
  const std::string names[3] = {"d.tab", "d.kbd", "d.fky"};
  SaveAbilitiesFile(dir.Path(names[0]), 0);
  SaveKeysFile(dir.Path(names[1]), 0);
  SaveFunctionKeysFile(dir.Path(names[2]), 0);
  const CrtDefinition before = d0;
  for (int k = 0; k < 3; ++k) {
    const Bytes whole = ReadFile(dir.Path(names[k]));
    for (size_t n = 0; n <= whole.size(); ++n) {
      d0 = CrtDefinition{};
      host.ClearCalls();
      std::filesystem::remove(dir.Path("cut"));  // a rewrite in place would be flushed at each close
      const std::string p = dir.Write("cut", Bytes(whole.begin(), whole.begin() + static_cast<long>(n)));
      if (k == 0) LoadAbilitiesFile(p, 0, nullptr);
      if (k == 1) LoadKeysFile(p, 0);
      if (k == 2) LoadFunctionKeysFile(p, 0);
      const bool complete = n == whole.size();
      ASSERT_EQ(Boxes().size(), complete ? 0u : 1u) << names[k] << " cut at " << n;
      if (k == 0) {
        EXPECT_EQ(d0.SCC == before.SCC, complete);
      }
      if (k == 1) {
        EXPECT_EQ(d0.NavigationKeys == before.NavigationKeys, complete);
      }
      if (k == 2) {
        EXPECT_EQ(d0.FunctionKeys == before.FunctionKeys, complete);
      }
    }
  }
}

TEST_F(CrtDefinitionTest, AFailedSaveKeepsTheOldFile) {
  Defaults();
  const std::string path = dir.Path("keep.kbd");
  const Bytes old = {1, 2, 3};
  dir.Write("keep.kbd", old);
  CrtSaveFailAfter = 100;
  SaveKeysFile(path, 0);
  EXPECT_EQ(ReadFile(path), old);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path("")), {}), 1);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].Title, "Error");
  EXPECT_EQ(Boxes()[0].Text.substr(0, 33), "Error # 5 was generated by Korvan");
  SaveKeysFile(path, 0);  // the next save writes
  EXPECT_EQ(ReadFile(path).size(), 413u);
}

// A FIFO would hold the program in its open and a device would feed it without
// end: neither is opened, each load says why in its own box at once.
TEST_F(CrtDefinitionTest, OnlyRegularFilesAreRead) {
  Defaults();
  const CrtDefinition before = d0;
  ASSERT_EQ(::mkfifo(dir.Path("fifo").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", dir.Path("zero"));
  std::filesystem::create_directory(dir.Path("folder"));
  for (const char* name : {"fifo", "zero", "folder"}) {
    SCOPED_TRACE(name);
    const std::string p = dir.Path(name);
    host.ClearCalls();
    ModeLog log;
    LoadAbilitiesFile(p, 0, &log);
    LoadKeysFile(p, 0);
    LoadFunctionKeysFile(p, 0);
    const std::string why = "Error # 75 was generated by Korvan\r\n" + p + ": it is not a regular file";
    ASSERT_EQ(Boxes().size(), 3u);
    EXPECT_EQ(Boxes()[0].Text, "Terminal Abilities may be corrupt because\r\n" + why);
    EXPECT_EQ(Boxes()[1].Text, "Keyboard Definitions may be corrupt because\r\n" + why);
    EXPECT_EQ(Boxes()[2].Text, "Function Key Definitions may be corrupt because\r\n" + why);
    for (const HostCall& c : Boxes()) EXPECT_EQ(c.Title, "Error");
    EXPECT_TRUE(log.Calls.empty());
  }
  EXPECT_EQ(d0.SCC, before.SCC);
  EXPECT_EQ(d0.NavigationKeys, before.NavigationKeys);
  EXPECT_EQ(d0.FunctionKeys, before.FunctionKeys);
}

// A save replaces a file through its link and keeps its mode; a read-only file
// or a FIFO is refused with the save's box and stays as it was.
TEST_F(CrtDefinitionTest, SavesKeepLinksModesAndReadOnlyFiles) {
  Defaults();
  namespace fs = std::filesystem;
  const auto mode = [](const std::string& p) { return fs::status(p).permissions() & fs::perms::all; };
  const std::string target = dir.Write("real.kbd", Bytes{1, 2, 3});
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink(target, dir.Path("link.kbd"));
  SaveKeysFile(dir.Path("link.kbd"), 0);
  EXPECT_TRUE(fs::is_symlink(dir.Path("link.kbd")));
  EXPECT_EQ(ReadFile(target).size(), 413u);
  EXPECT_EQ(mode(target), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_TRUE(Boxes().empty());

  const std::string locked = dir.Write("locked.fky", Bytes{4, 5});
  fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  ASSERT_EQ(::mkfifo(dir.Path("fifo.tab").c_str(), 0600), 0);
  SaveFunctionKeysFile(locked, 0);
  SaveAbilitiesFile(dir.Path("fifo.tab"), 0);
  ASSERT_EQ(Boxes().size(), 2u);
  EXPECT_EQ(Boxes()[0].Text, "Error # 75 was generated by Korvan\r\n" + locked + ": the file is read-only");
  EXPECT_EQ(Boxes()[1].Text, "Error # 75 was generated by Korvan\r\n" + dir.Path("fifo.tab") + ": it is not a regular file");
  EXPECT_EQ(ReadFile(locked), (Bytes{4, 5}));
  EXPECT_TRUE(fs::is_fifo(dir.Path("fifo.tab")));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path("")), {}), 4);  // no temporary left
}

}  // namespace
}  // namespace korva::test
