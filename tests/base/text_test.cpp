#include "base/text.h"

#include <gtest/gtest.h>

#include <string_view>

namespace base {
namespace {

using namespace std::string_view_literals;

TEST(Trim, TakesTheBlanksItIsGivenFromBothEnds) {
  const struct {
    std::string_view text;
    std::string_view blanks;
    std::string_view trimmed;
  } cases[] = {
      {" \t a b \r\n", kBlanks, "a b"},
      {"\r\n\t ", kBlanks, ""},
      {"", kBlanks, ""},
      {"\tkey\r", " \t", "key\r"},  // a CR stays unless it is named
      {" 值 ", " ", "值"},
      {"\v7\f", " \t\r\v\f", "7"},
  };
  for (const auto& c : cases) EXPECT_EQ(Trim(c.text, c.blanks), c.trimmed) << c.text;
}

TEST(Digits, OnlyAsciiDigitsAndNeverAnEmptyText) {
  EXPECT_TRUE(IsDigits("0123456789"));
  for (std::string_view text : {""sv, " 1"sv, "1 "sv, "12a"sv, "-1"sv, "１"sv, "1\0"sv}) {
    EXPECT_FALSE(IsDigits(text)) << text;
  }
  EXPECT_TRUE(IsDigit('0') && IsDigit('9'));
  EXPECT_FALSE(IsDigit('/') || IsDigit(':') || IsDigit('\xB0'));
}

TEST(NoCase, ComparesAsciiLettersOnly) {
  EXPECT_TRUE(EqualsNoCase("Set-Cookie", "set-cookie"));
  EXPECT_FALSE(EqualsNoCase("Set-Cookie", "set-cookies"));
  // "[" and "{" are 32 apart like "A" and "a", but are no letters.
  EXPECT_FALSE(EqualsNoCase("[", "{"));
  EXPECT_FALSE(EqualsNoCase("\xC1", "\xE1"));
  EXPECT_TRUE(StartsWithNoCase("HTTPS://h/", "https://"));
  EXPECT_FALSE(StartsWithNoCase("http", "https"));
  EXPECT_EQ(AsciiLower('Q'), 'q');
  EXPECT_EQ(AsciiLower('@'), '@');
}

TEST(NoCase, FindsTheFirstPlaceFromAStart) {
  const struct {
    std::string_view text;
    std::string_view word;
    std::size_t from;
    std::size_t at;
  } cases[] = {
      {"a=1; B=2; b=3", "b=", 0, 5},
      {"a=1; B=2; b=3", "b=", 6, 10},
      {"abc", "", 2, 2},
      {"abc", "", 3, 3},
      {"abc", "c", 4, std::string_view::npos},
      {"ab", "abc", 0, std::string_view::npos},
      {"Content-Type: x", "content-type", 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindNoCase(c.text, c.word, c.from), c.at) << c.text << " / " << c.word;
  }
  EXPECT_TRUE(ContainsNoCase("x-Accept-Language", "accept"));
  EXPECT_FALSE(ContainsNoCase("Referer", "RefererNo"));
}

}  // namespace
}  // namespace base
