#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace backtest {

// The formulas typed into 编辑框_回测公式, one a line (LF or CR LF), in order.
// A line of nothing but blanks holds no formula.
std::vector<std::string> FormulaLines(std::string_view text);

}  // namespace backtest
