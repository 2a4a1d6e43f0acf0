// Colour schemes and the colours file: the named schemes, the scheme choices
// of the dialog's state, files written, refused and read.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "shell/FileDialog.h"
#include "support/ScriptedHost.h"
#include "terminal/ColorScheme.h"
#include "terminal/CrtDefinition.h"

namespace korva::test {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

TEST(ColorSchemeTest, NamedSchemes) {
  const struct {
    int Code;
    size_t Entry;
    uint32_t Color, Cursor;
  } cases[] = {
      {1, 1, Rgb(31, 31, 31), Rgb(255, 255, 255)}, {2, 7, Rgb(144, 144, 144), Rgb(255, 0, 0)},
      {3, 0, Rgb(255, 255, 255), Rgb(0, 0, 0)},    {3, 1, Rgb(224, 224, 224), Rgb(0, 0, 0)},
      {3, 15, Rgb(0, 0, 0), Rgb(0, 0, 0)},         {4, 15, Rgb(0, 255, 0), Rgb(0, 255, 0)},
      {5, 1, Rgb(31, 27, 0), Rgb(255, 195, 0)},    {5, 0, Rgb(0, 0, 0), Rgb(255, 195, 0)},
  };
  for (const auto& c : cases) {
    ColorPalette p;
    p.fill(0x123456);
    uint32_t cursor = 1;
    BuildColorScheme(c.Code, p, cursor);
    EXPECT_EQ(p[c.Entry], c.Color) << c.Code << "/" << c.Entry;
    EXPECT_EQ(cursor, c.Cursor) << c.Code;
  }
  ColorPalette p;
  p.fill(0x123456);
  uint32_t cursor = 1;
  BuildColorScheme(0, p, cursor);
  EXPECT_EQ(p[5], 0x123456u);
  EXPECT_EQ(cursor, 1u);
}

TEST(ColorSchemeTest, SchemeChoices) {
  ColorConfig c;
  c.ScreenColors(2, 0x0A0B0C);
  EXPECT_EQ(c.ScreenColors(2, -1), 0x0A0B0C);
  c.ColorsName = "Mine";
  c.SelectColorScheme(0);
  EXPECT_EQ(c.ColorsName, "Mine");
  EXPECT_EQ(c.ScreenColors(2, -1), 0x0A0B0C);
  c.SelectColorScheme(4);
  EXPECT_EQ(c.ColorsName, "Green");
  EXPECT_EQ(c.CursorColor, Rgb(0, 255, 0));
  c.SelectColorScheme(1);
  c.EditColor(3, Rgb(1, 2, 3));
  EXPECT_EQ(c.ColorsCode, 0);
  EXPECT_EQ(c.ColorsName, "Custom");
  EXPECT_EQ(c.Palette()[3], Rgb(1, 2, 3));
  EXPECT_EQ(c.Palette()[4], Rgb(79, 79, 79));
  c.ColorsName = "file.clr";
  c.SelectColorScheme(-2);
  EXPECT_EQ(c.ColorsName, "file.clr");
  c.SelectColorScheme(9);  // no such scheme: Custom
  EXPECT_EQ(c.ColorsCode, 0);
  EXPECT_EQ(c.Palette()[3], Rgb(1, 2, 3));
}

class ColorsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("korva-clr-" + std::to_string(::getpid()));
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string Path(const std::string& name) const { return (dir / name).string(); }
  void Put(const std::string& name, const Bytes& b) const {
    std::ofstream(Path(name), std::ios::binary).write(reinterpret_cast<const char*>(b.data()),
                                                      static_cast<std::streamsize>(b.size()));
  }
  Bytes Get(const std::string& name) const {
    std::ifstream f(Path(name), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), {});
  }
  ScriptedHost host;
  fs::path dir;
};

TEST_F(ColorsFileTest, SaveAmberAndRefusedExtensions) {
  ColorConfig c;
  c.SelectColorScheme(5);
  host.AnswerFile(Path("amber.CLR"));
  c.SaveColorsFile();
  const Bytes b = Get("amber.CLR");
  ASSERT_EQ(b.size(), 72u);
  EXPECT_EQ(Bytes(b.begin(), b.begin() + 12), (Bytes{0x34, 0xAB, 0x89, 0xCE, 0, 0, 0, 0, 0x1F, 0x1B, 0, 0}));
  EXPECT_EQ(Bytes(b.end() - 4, b.end()), (Bytes{0xFF, 0xC3, 0, 0}));
  EXPECT_EQ(host.FileDialogs.at(0).Save, true);

  host.AnswerFile(Path("x.txt"));
  c.SaveColorsFile();
  EXPECT_FALSE(fs::exists(Path("x.txt")));
  Put("y.txt", b);
  host.AnswerFile(Path("y.txt"));
  c.SelectColorScheme(4);
  c.LoadColorsFile();
  EXPECT_EQ(c.ColorsName, "Green");
  const auto boxes = host.CallsOf(HostCall::Kind::MessageBox);
  ASSERT_EQ(boxes.size(), 2u);
  for (const HostCall& box : boxes) EXPECT_EQ(box.Title, "Refuse");
  EXPECT_EQ(boxes[0].Text, "Not a proper file Extension\r\n" + Path("x.txt") + "\r\nMust be .CLR");

  // A failed save leaves the old file.
  c.SelectColorScheme(4);
  CrtSaveFailAfter = 10;
  host.AnswerFile(Path("amber.CLR"));
  c.SaveColorsFile();
  EXPECT_EQ(Get("amber.CLR"), b);
  EXPECT_EQ(host.CallsOf(HostCall::Kind::MessageBox).back().Title, "Error Writing Colors File");
}

TEST_F(ColorsFileTest, LoadGoodAndRefusedFiles) {
  ColorConfig amber;
  amber.SelectColorScheme(5);
  ASSERT_TRUE(WriteColorsFile(Path("good.clr"), amber.Palette(), amber.CursorColor));
  Bytes good = Get("good.clr");
  good[7] = 0x5A;  // a stray fourth byte of entry 0
  good.push_back(0x99);  // bytes after the record are ignored
  Put("good.clr", good);
  Bytes wrong = good;
  wrong[0] = 0x35;
  Put("wrong.clr", wrong);
  Put("short.clr", Bytes(good.begin(), good.begin() + 40));

  ColorConfig c;
  c.SelectColorScheme(4);
  const ColorPalette green = c.Palette();
  host.AnswerFile(Path("wrong.clr"));
  c.LoadColorsFile();
  host.AnswerFile(Path("short.clr"));
  c.LoadColorsFile();
  host.AnswerFile(Path("missing.clr"));
  c.LoadColorsFile();
  EXPECT_EQ(c.Palette(), green);
  EXPECT_EQ(c.ColorsName, "Green");
  const auto boxes = host.CallsOf(HostCall::Kind::MessageBox);
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].Title + "|" + boxes[0].Text, "Error Opening File|File is NOT a Colors File");
  EXPECT_EQ(boxes[1].Title, "Error");
  EXPECT_EQ(boxes[1].Text.rfind("Colors File Problem\rError # ", 0), 0u);
  EXPECT_EQ(boxes[2].Title, "Error");

  host.AnswerFile(Path("good.clr"));
  c.LoadColorsFile();
  EXPECT_EQ(c.Palette(), amber.Palette());
  EXPECT_EQ(c.CursorColor, Rgb(255, 195, 0));
  EXPECT_EQ(c.ColorsName, "good.clr");
  EXPECT_EQ(c.ColorsCode, 0);
}

// "Load Scheme" on a FIFO or a link to a device: refused at once, unopened.
TEST_F(ColorsFileTest, FifosAndDevicesAreRefusedUnopened) {
  ASSERT_EQ(::mkfifo(Path("fifo.clr").c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", Path("zero.clr"));
  ColorConfig c;
  c.SelectColorScheme(4);
  const ColorPalette green = c.Palette();
  for (const char* name : {"fifo.clr", "zero.clr"}) {
    host.AnswerFile(Path(name));
    c.LoadColorsFile();
  }
  EXPECT_EQ(c.Palette(), green);
  EXPECT_EQ(c.ColorsName, "Green");
  const auto boxes = host.CallsOf(HostCall::Kind::MessageBox);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].Title, "Error");
  EXPECT_EQ(boxes[0].Text, "Colors File Problem\rError # 75 was generated by Korvan\r" + Path("fifo.clr") +
                               ": it is not a regular file");
  EXPECT_EQ(boxes[1].Text.substr(boxes[1].Text.size() - 34), "zero.clr: it is not a regular file");
}

}  // namespace
}  // namespace korva::test
