#include "plan/draw.h"

namespace plan {

std::vector<lottery::Draw> BuildPlanSource(const std::vector<lottery::Draw>& history,
                                           std::string_view startIssue) {
  std::size_t count = history.size();
  for (std::size_t row = 0; row < history.size(); ++row) {
    if (history[row].issue == startIssue) {
      count = row + 2 < history.size() ? row + 2 : history.size();
      break;
    }
  }
  return std::vector<lottery::Draw>(history.rend() - static_cast<std::ptrdiff_t>(count),
                                    history.rend());
}

}  // namespace plan
