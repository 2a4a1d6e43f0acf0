// Reading a user's file stops at the most its reader can use and says when
// more follows; a link to nothing reads as nothing there.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "host/UserFiles.h"
#include "unit/bus/LoaderFiles.h"

namespace korva::test {
namespace {

TEST(UserFilesTest, ReadsStopAtTheLimit) {
  TempFolder dir;
  const std::string p = dir.Write("f", std::string("abcdef"));
  struct Case {
    size_t max;
    const char* bytes;
    bool longer;
  } cases[] = {{0, "", true}, {5, "abcde", true}, {6, "abcdef", false}, {7, "abcdef", false}};
  for (const Case& c : cases) {
    const FileRead r = ReadUserFile(p, c.max);
    EXPECT_FALSE(r.Missing || r.Problem) << c.max;
    EXPECT_EQ(r.Bytes, c.bytes) << c.max;
    EXPECT_EQ(r.Longer, c.longer) << c.max;
  }
  std::filesystem::create_symlink(dir.Path("gone"), dir.Path("dangling"));
  EXPECT_TRUE(ReadUserFile(dir.Path("dangling"), 10).Missing);
  EXPECT_TRUE(ReadUserFile(dir.Path("none"), 10).Missing);
}

// Streaming readers and disk images open only a regular file, for reading or
// for writing in place; whatever else has the name is refused unopened.
TEST(UserFilesTest, OnlyRegularFilesOpen) {
  TempFolder dir;
  const std::string p = dir.Write("f", std::string("ab"));
  std::filesystem::create_symlink(p, dir.Path("link"));
  for (bool writing : {false, true}) {
    const OpenedFile f = OpenUserFile(dir.Path("link"), writing);
    ASSERT_GE(f.Fd, 0);
    EXPECT_FALSE(f.Problem);
    char b[3] = {};
    EXPECT_EQ(::read(f.Fd, b, 3), 2);
    EXPECT_EQ(::write(f.Fd, "c", 1), writing ? 1 : -1);
    ::close(f.Fd);
  }
  ASSERT_EQ(::mkfifo(dir.Path("fifo").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", dir.Path("zero"));
  std::filesystem::create_directory(dir.Path("folder"));
  for (const char* name : {"fifo", "zero", "folder"}) {
    const OpenedFile f = OpenUserFile(dir.Path(name), true);
    EXPECT_EQ(f.Fd, -1) << name;
    EXPECT_EQ(f.Problem.value_or(FileProblem{}).Reason, "it is not a regular file") << name;
  }
  const OpenedFile none = OpenUserFile(dir.Path("none"));
  EXPECT_TRUE(none.Missing && none.Problem && none.Problem->Number == ENOENT);
}

// A file made anew may take the place of nothing, a regular file the user may
// write, or a link (to anything, or to nothing); never of anything else.
TEST(UserFilesTest, WhatANewFileMayReplace) {
  TempFolder dir;
  const std::string p = dir.Write("f", std::string("ab"));
  const std::string ro = dir.Write("ro", std::string("ab"));
  ASSERT_EQ(::chmod(ro.c_str(), 0444), 0);
  ASSERT_EQ(::mkfifo(dir.Path("fifo").c_str(), 0600), 0);
  std::filesystem::create_directory(dir.Path("folder"));
  std::filesystem::create_symlink("/dev/zero", dir.Path("zero"));
  std::filesystem::create_symlink(dir.Path("gone"), dir.Path("dangling"));
  for (const char* name : {"none", "f", "zero", "dangling"}) EXPECT_FALSE(NewFileRefused(dir.Path(name))) << name;
  for (const char* name : {"fifo", "folder"})
    EXPECT_EQ(NewFileRefused(dir.Path(name)).value_or(FileProblem{}).Reason, "it is not a regular file") << name;
  EXPECT_EQ(NewFileRefused(ro).value_or(FileProblem{}).Reason, "the file is read-only");
}

}  // namespace
}  // namespace korva::test
