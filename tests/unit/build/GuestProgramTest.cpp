// The build assembles tests/guest/*.s into S-record files.
#include <gtest/gtest.h>
#include <fstream>
#include <string>

TEST(GuestPrograms, HelloIsAssembledIntoSRecords) {
  std::ifstream in(std::string(KORVA_GUEST_DIR) + "/hello.s19");
  ASSERT_TRUE(in.good());
  std::string line, all;
  while (std::getline(in, line)) all += line + "\n";
  EXPECT_EQ(all.rfind("S0", 0), 0u);
  // The vectors and the first instruction (MOVE.L #imm,D0 = 0x203C) sit in an S1 record at 0000.
  EXPECT_NE(all.find("S1"), std::string::npos);
  EXPECT_NE(all.find("S11300000002000000000008203C123456784E72"), std::string::npos) << all;
  EXPECT_NE(all.find("S105001027"), std::string::npos) << all;  // STOP's operand 0x2700 at 0010
}
