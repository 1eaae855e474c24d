#include "output/number_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace output {
namespace {

TEST(NumericValue, ReadsLikeAtof) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"3", 3},       {"1.5", 1.5},     {" \t2", 2},     {"-2", -2},      {"+4x", 4},
      {"abc", 0},     {"", 0},          {".5", 0.5},     {"7.", 7},       {"2e", 2},
      {"2e1", 20},    {"1.5E-1", 0.15}, {"0x10", 0},     {"inf", 0},      {"nan", 0},
      {"12ab3", 12},  {"-", 0},         {". 5", 0},      {"1e+2e3", 100}, {"  -.25", -0.25},
      {"１.５", 1.5}, {"－３", -3},     {"２．５", 2.5}, {"＋１", 1},     {"1０", 10},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(NumericValue(c.text), c.value) << '"' << c.text << '"';
  }
}

TEST(NumericValue, OutOfRangeGivesHugeOrZero) {
  EXPECT_EQ(NumericValue("1e999"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(NumericValue("-1e999"), -std::numeric_limits<double>::infinity());
  EXPECT_EQ(NumericValue("1e-999"), 0.0);
  EXPECT_EQ(NumericValue("0." + std::string(400, '0') + "1"), 0.0);
  EXPECT_EQ(NumericValue(std::string(400, '9')), std::numeric_limits<double>::infinity());
}

TEST(AsciiNumberForms, LeavesOtherFullWidthCharactersAlone) {
  EXPECT_EQ(AsciiNumberForms("第１位，＄"), "第1位，＄");
}

}  // namespace
}  // namespace output
