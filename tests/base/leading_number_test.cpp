#include "base/leading_number.h"

#include <gtest/gtest.h>

#include <string_view>

namespace base {
namespace {

TEST(LeadingNumber, ReadsThePrefixAsAtofDoes) {
  const struct {
    std::string_view text;
    double value;
  } cases[] = {
      {"80%", 80},      {"5000", 5000}, {"", 0},         {" 7码", 7}, {"x9", 0},
      {"-2.5期", -2.5}, {"1e3x", 1000}, {"12.5e", 12.5}, {"\t+4", 4},
  };
  for (const auto& c : cases) EXPECT_EQ(LeadingNumber(c.text), c.value) << c.text;
}

}  // namespace
}  // namespace base
