#include "plan/plan_page_reading.h"

namespace plan {

std::string SelectedItem(const ui::Window& window, const std::string& combo) {
  const int index = window.CurrentIndex(combo);
  return index < 0 ? std::string() : window.ItemText(combo, index);
}

void SelectCheckedPosition(ui::Window& window, const std::string& combo) {
  for (std::size_t i = 0; i < kPositionRadios.size(); ++i) {
    if (window.Checked(kPositionRadios[i])) window.SetCurrentIndex(combo, static_cast<int>(i));
  }
}

}  // namespace plan
