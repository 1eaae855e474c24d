#include "output/plan_block.h"

#include <cmath>
#include <cstddef>
#include <vector>

#include "base/text.h"
#include "output/number_text.h"

namespace output {

namespace {

// Consumes a run of ASCII digits (at least one) from the front of text.
bool SkipDigits(std::string_view& text) {
  std::size_t n = 0;
  while (n < text.size() && base::IsDigit(text[n])) {
    ++n;
  }
  text.remove_prefix(n);
  return n > 0;
}

bool SkipText(std::string_view& text, std::string_view expected) {
  if (text.substr(0, expected.size()) != expected) {
    return false;
  }
  text.remove_prefix(expected.size());
  return true;
}

}  // namespace

bool IsSummaryLine(std::string_view line) {
  return SkipText(line, "一共") && SkipDigits(line) && SkipText(line, "期计划 对") &&
         SkipDigits(line) && SkipText(line, "期 错") && SkipDigits(line) &&
         SkipText(line, "期 准确率 ") && SkipDigits(line) && SkipText(line, "%") && line.empty();
}

std::string PlanBlock(std::string_view report, int rows) {
  if (rows <= 0) {
    return {};
  }
  std::vector<std::string_view> planLines;
  while (!report.empty()) {
    const std::size_t end = report.find('\n');
    std::string_view line = report.substr(0, end);
    report.remove_prefix(end == std::string_view::npos ? report.size() : end + 1);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    if (!line.empty() && !IsSummaryLine(line)) {
      planLines.push_back(line);
    }
  }
  const std::size_t first =
      planLines.size() > static_cast<std::size_t>(rows) ? planLines.size() - rows : 0;
  std::string block;
  for (std::size_t i = first; i < planLines.size(); ++i) {
    block += planLines[i];
    block += "\r\n";
  }
  return block;
}

int RowCount(std::string_view text) {
  const double value = NumericValue(text);
  // Beyond any report's length; keeps the conversion defined for huge input.
  constexpr double kMost = 1'000'000'000.0;
  if (!(value >= 1.0)) {
    return 0;
  }
  return value >= kMost ? static_cast<int>(kMost) : static_cast<int>(std::trunc(value));
}

}  // namespace output
