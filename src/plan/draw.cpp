#include "plan/draw.h"

#include <cstdlib>

namespace plan {

std::string_view IssueSequence(std::string_view issue) {
  auto dash = issue.find('-');
  if (dash == std::string_view::npos) return {};
  auto rest = issue.substr(dash + 1);
  return rest.substr(0, rest.find('-'));
}

std::string NextSequence(std::string_view sequence, int count) {
  long long next = static_cast<long long>(std::atof(std::string(sequence).c_str())) + count;
  if (next > kIssuesPerDay) next -= kIssuesPerDay;
  std::string digits = std::to_string(next);
  if (next <= 9) return "00" + digits;
  if (next <= 99) return "0" + digits;
  return digits;
}

std::vector<Draw> BuildPlanSource(const std::vector<Draw>& history, std::string_view startIssue) {
  std::size_t count = history.size();
  for (std::size_t row = 0; row < history.size(); ++row) {
    if (history[row].issue == startIssue) {
      count = row + 2 < history.size() ? row + 2 : history.size();
      break;
    }
  }
  return std::vector<Draw>(history.rend() - static_cast<std::ptrdiff_t>(count), history.rend());
}

}  // namespace plan
