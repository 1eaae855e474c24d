#include "base/leading_number.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <limits>
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

// Only the decimal form is a number: a value that is no number (NaN) or that
// a text spells out as infinite would spoil every comparison after it.
TEST(LeadingNumber, HexInfinityAndNanAreNoNumbers) {
  for (std::string_view text : {"inf", "-INF", "infinity", "nan", "NAN(1)", "0x10", "0x1p3"}) {
    EXPECT_EQ(LeadingNumber(text), 0.0) << text;
  }
  EXPECT_EQ(LeadingNumber("1e999"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(LeadingNumber("-1e999"), -std::numeric_limits<double>::infinity());
  EXPECT_EQ(LeadingNumber("1e-999"), 0.0);
}

template <typename T>
struct CountCase {
  std::string_view text;
  T value;
};

TEST(LeadingCount, HoldsAnyTextWithinTheRangeOfTheCount) {
  constexpr int kMost = std::numeric_limits<int>::max();
  constexpr int kLeast = std::numeric_limits<int>::min();
  const CountCase<int> cases[] = {
      {"1e99", kMost},
      {"-1e99", kLeast},
      {"nan", 0},
      {"inf", 0},
      {"1e999", kMost},
      {"-1e999", kLeast},
      {"2147483647.9", kMost},
      {"2147483648", kMost},
      {"-2147483648.5", kLeast},
      {"7.9", 7},
      {"-7.9", -7},
      {"30期", 30},
      {"", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(LeadingCount<int>(c.text), c.value) << c.text;
}

TEST(LeadingCount, AnUnsignedCountIsNeverBelowZero) {
  constexpr std::size_t kMost = std::numeric_limits<std::size_t>::max();
  const CountCase<std::size_t> cases[] = {
      {"-1", 0},  {"-1e99", 0}, {"-0.5", 0}, {"1e99", kMost}, {"18446744073709551616", kMost},
      {"12", 12},
  };
  for (const auto& c : cases) EXPECT_EQ(LeadingCount<std::size_t>(c.text), c.value) << c.text;
  EXPECT_EQ(LeadingCount<std::int64_t>("9.3e18"), std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(LeadingCount<std::int64_t>("-9.3e18"), std::numeric_limits<std::int64_t>::min());
}

}  // namespace
}  // namespace base
