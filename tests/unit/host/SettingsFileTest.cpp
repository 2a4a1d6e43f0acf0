// The settings file on disk, in a temporary folder: what is at the path decides
// whether it is read and whether it may be replaced, and the user's file, its
// mode and the links that lead to it survive every save.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "host/SettingsFile.h"
#include "unit/bus/LoaderFiles.h"

namespace korva::test {
namespace {

namespace fs = std::filesystem;

std::string Read(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

mode_t Mode(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 ? st.st_mode : 0;
}

class SettingsFileTest : public ::testing::Test {
 protected:
  TempFolder dir;
  std::string Path(const std::string& name) const { return dir.Path(name); }
  std::string Link(const std::string& target) const {
    const std::string link = Path("Korvan.ini");
    fs::create_symlink(target, link);
    return link;
  }
};

// Paths that lead to something other than a regular file, or to a file the
// user made read-only: the store works on defaults and leaves them as they are.
TEST_F(SettingsFileTest, OnlyRegularWritableFilesAreReadOrReplaced) {
  const std::string readOnly = dir.Write("locked.ini", std::string("[General]\nBootDrive=2\n"));
  ::chmod(readOnly.c_str(), 0444);
  ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
  fs::create_directory(Path("folder"));
  const std::string longName = Path(std::string(300, 'L') + ".ini");

  struct Case {
    const char* name;
    std::string path;
    const char* loadProblem;  // nullptr: read (or nothing there)
    const char* saveProblem;
  } cases[] = {
      {"link to a FIFO", Path("fifo"), "it is not a regular file", ""},
      {"folder", Path("folder"), "it is not a regular file", ""},
      {"link to a read-only file", readOnly, nullptr, "the file is read-only"},
      {"dangling link", Path("gone.ini"), nullptr, "it is a link to nothing"},
      {"name past 255 bytes", longName, nullptr, "File name too long"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(Path("Korvan.ini"));
    const bool link = c.path != longName && c.path != Path("folder");
    const std::string path = link ? Link(c.path) : c.path;
    const mode_t before = Mode(c.path);
    SettingsFile store(path);  // a FIFO opened for reading would block here
    EXPECT_EQ(store.LoadProblem(), c.loadProblem ? c.loadProblem : "");
    store.Set("General", "BootDrive", "3");
    EXPECT_FALSE(store.Write());
    EXPECT_EQ(store.SaveProblem(), c.saveProblem);
    EXPECT_TRUE(store.Dirty());
    EXPECT_EQ(Mode(c.path), before);
    if (link) {
      EXPECT_TRUE(fs::is_symlink(path));
    }
  }
  EXPECT_EQ(Read(readOnly), "[General]\nBootDrive=2\n");
  EXPECT_FALSE(fs::exists(Path("gone.ini")));
  EXPECT_EQ(std::distance(fs::directory_iterator(Path("")), {}), 3);  // no file left beside them
}

// A file reached through a link is rewritten in place: the link stays, the file
// keeps its mode, the user's spelling and order, and unchanged values cost no write.
TEST_F(SettingsFileTest, SavesReplaceTheLinkedFileWhole) {
  const std::string target = dir.Write("real.ini", std::string("[ioc]\nRWINDATAInt=2\n[General]\nbootdrive=1\n"));
  ::chmod(target.c_str(), 0640);
  const std::string path = Link(target);
  SettingsFile store(path);
  ASSERT_NE(store.Find("IOC", "rwindataint"), nullptr);
  EXPECT_EQ(*store.Find("IOC", "rwindataint"), "2");
  store.Set("General", "BootDrive", "1");
  EXPECT_FALSE(store.Dirty());
  store.Set("General", "BootDrive", "3");
  store.Set("Paths", "Rom", " /a b ");
  ASSERT_TRUE(store.Write());
  EXPECT_TRUE(fs::is_symlink(path));
  EXPECT_EQ(Mode(target) & 07777, 0640u);
  EXPECT_EQ(Read(target), "[ioc]\nRWINDATAInt=2\n\n[General]\nbootdrive=3\n\n[Paths]\nRom=\" /a b \"\n");
  EXPECT_EQ(*SettingsFile(path).Find("paths", "ROM"), " /a b ");

  // Nothing at the path: a new file.
  SettingsFile fresh(Path("new.ini"));
  EXPECT_TRUE(fresh.LoadProblem().empty());
  fresh.Set("General", "BootDrive", "0");
  ASSERT_TRUE(fresh.Write());
  EXPECT_EQ(Read(Path("new.ini")), "[General]\nBootDrive=0\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(Path("")), {}), 3);
}

}  // namespace
}  // namespace korva::test
