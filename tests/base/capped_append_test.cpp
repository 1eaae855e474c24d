#include "base/capped_append.h"

#include <gtest/gtest.h>

#include <string>

namespace base {
namespace {

TEST(AppendWithin, KeepsWhatFitsAndSaysWhenSomethingDidNot) {
  const struct {
    std::string before, piece;
    std::size_t limit;
    std::string after;
    bool fits;
  } cases[] = {
      {"ab", "cd", 4, "abcd", true},       {"ab", "cde", 4, "abcd", false},
      {"abcd", "e", 4, "abcd", false},     {"", "", 0, "", true},
      {"abcdef", "g", 4, "abcdef", false},  // already past the limit: nothing more
  };
  for (const auto& c : cases) {
    std::string text = c.before;
    EXPECT_EQ(AppendWithin(text, c.piece, c.limit), c.fits) << c.before << "+" << c.piece;
    EXPECT_EQ(text, c.after);
  }
}

}  // namespace
}  // namespace base
