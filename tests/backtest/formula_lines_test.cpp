#include "backtest/formula_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace backtest {
namespace {

using Lines = std::vector<std::string>;

TEST(FormulaLines, OneFormulaALineAndNoneOnABlankLine) {
  const struct {
    const char* text;
    Lines formulas;
  } cases[] = {
      {"", {}},
      {"DCC*657", {"DCC*657"}},
      {"DCC*657\r\nCED-762\r\n", {"DCC*657", "CED-762"}},
      {"DCC*657\nCED-762", {"DCC*657", "CED-762"}},
      {"\r\n\r\nAB\r\n\r\n", {"AB"}},
      {"DCC*657\r\n   \r\nAB", {"DCC*657", "AB"}},
      {" \t \nAB\n\t\n \r\n", {"AB"}},
      {"\v\f\r\n", {}},
      // A formula keeps its own blanks: they carry no meaning, but the list shows the text.
      {" AB \r\nC D", {" AB ", "C D"}},
      {"甲A\r\n", {"甲A"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormulaLines(c.text), c.formulas) << c.text;
  }
}

}  // namespace
}  // namespace backtest
