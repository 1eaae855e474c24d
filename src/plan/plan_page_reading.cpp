#include "plan/plan_page_reading.h"

namespace plan {

std::string SelectedItem(const ui::Window& window, const std::string& combo) {
  const int index = window.CurrentIndex(combo);
  return index < 0 ? std::string() : window.ItemText(combo, index);
}

std::vector<lottery::Draw> ReadDrawList(const ui::Window& window) {
  const std::string list = "列表框_开奖";
  std::vector<lottery::Draw> history;
  const int rows = window.RowCount(list);
  history.reserve(static_cast<std::size_t>(rows));
  for (int row = 0; row < rows; ++row) {
    history.push_back({window.Cell(list, row, 0), window.Cell(list, row, 1)});
  }
  return history;
}

void SelectCheckedPosition(ui::Window& window, const std::string& combo) {
  for (std::size_t i = 0; i < kPositionRadios.size(); ++i) {
    if (window.Checked(kPositionRadios[i])) window.SetCurrentIndex(combo, static_cast<int>(i));
  }
}

}  // namespace plan
