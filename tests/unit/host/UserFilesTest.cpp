// Reading a user's file stops at the most its reader can use and says when
// more follows; a link to nothing reads as nothing there.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace korva::test
