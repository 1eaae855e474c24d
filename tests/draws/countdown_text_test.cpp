#include "draws/countdown_text.h"

#include <gtest/gtest.h>

#include <vector>

namespace draws {
namespace {

TEST(CountdownTextTest, MinutesAlwaysLeadWithZero) {
  struct Case {
    long long left;
    const char* text;
  };
  for (const Case& c : std::vector<Case>{{125, "02:04"},
                                         {60, "00:59"},
                                         {11, "00:10"},
                                         {10, "00:09"},
                                         {2, "00:01"},
                                         {1, "00:00"},
                                         {601, "010:00"},
                                         {602, "010:01"}}) {
    EXPECT_EQ(CountdownText(c.left), c.text) << c.left;
  }
}

TEST(CountdownTextTest, NeverNegativeOnceTheTargetHasPassed) {
  for (long long left : {0LL, -1LL, -59LL, -3600LL * 8}) EXPECT_EQ(CountdownText(left), "00:00");
}

}  // namespace
}  // namespace draws
