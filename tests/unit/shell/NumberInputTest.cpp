#include <gtest/gtest.h>

#include "shell/NumberInput.h"
#include "support/ScriptedHost.h"

namespace korva {
namespace {

TEST(NumberInput, AsksAgainUntilInRangeAndKeepsTheDefaultOnCancel) {
  ScriptedHost host;
  host.AnswerInput("1000000");  // within the length limit, out of range by value
  host.AnswerInput("80");
  EXPECT_EQ(InputNumberInRange("Width", "Printer", 132, 1, 132, 8), 80);
  const auto asks = host.CallsOf(HostCall::Kind::InputBox);
  ASSERT_EQ(asks.size(), 2u);
  EXPECT_EQ(asks[0].Text, "Input Width (1-132) ");
  const auto errors = host.CallsOf(HostCall::Kind::MessageBox);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].Text, "New Width must be between 1 and 132. You input \"1000000\"");
  EXPECT_EQ(errors[0].Title, "Width Size Error");
  host.CancelInput();
  EXPECT_EQ(InputNumberInRange("Lines", "T", 66, 1, 200, 3), 66);
}

}  // namespace
}  // namespace korva
