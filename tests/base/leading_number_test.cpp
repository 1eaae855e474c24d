#include "base/leading_number.h"

#include <gtest/gtest.h>

#include <cmath>
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

TEST(LeadingNumber, ReadsAtofsOtherFormsToo) {
  EXPECT_EQ(LeadingNumber(" 0x1A2"), 418);
  EXPECT_EQ(LeadingNumber("-0x10g"), -16);
  EXPECT_EQ(LeadingNumber("0xg"), 0);
  EXPECT_EQ(LeadingNumber("INF"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(LeadingNumber("-infinity"), -std::numeric_limits<double>::infinity());
  EXPECT_TRUE(std::isnan(LeadingNumber("nan")));
  EXPECT_EQ(LeadingNumber("1e999"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(LeadingNumber("-1e999"), -std::numeric_limits<double>::infinity());
  EXPECT_EQ(LeadingNumber("1e-999"), 0.0);
}

// A sort key must compare: the decimal reading takes no hex, infinity or NaN.
TEST(LeadingDecimal, ReadsTheDecimalFormOnly) {
  for (std::string_view text : {"inf", "-INF", "infinity", "nan", "NAN(1)", "0x10", "0x1p3"}) {
    EXPECT_EQ(LeadingDecimal(text), 0.0) << text;
  }
  for (std::string_view text : {"80%", " -2.5期", "1e3x", "12.5e", "\t+4", "", "x9", "1e999"}) {
    EXPECT_EQ(LeadingDecimal(text), LeadingNumber(text)) << text;
  }
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
      {"inf", kMost},
      {"-inf", kLeast},
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
