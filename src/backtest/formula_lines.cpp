#include "backtest/formula_lines.h"

namespace backtest {

std::vector<std::string> FormulaLines(std::string_view text) {
  std::vector<std::string> formulas;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.find_first_not_of(" \t\r\v\f") != std::string_view::npos) formulas.emplace_back(line);
    start = end + 1;
  }
  return formulas;
}

}  // namespace backtest
