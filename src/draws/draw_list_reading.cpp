#include "draws/draw_list_reading.h"

#include <cstddef>

namespace draws {

std::vector<lottery::Draw> ReadDrawList(const ui::Window& window) {
  std::vector<lottery::Draw> draws;
  const int rows = window.RowCount(kDrawList);
  draws.reserve(static_cast<std::size_t>(rows));
  for (int row = 0; row < rows; ++row) {
    draws.push_back({window.Cell(kDrawList, row, 0), window.Cell(kDrawList, row, 1)});
  }
  return draws;
}

lottery::Draw NewestDraw(const ui::Window& window) {
  if (window.RowCount(kDrawList) == 0) return {};
  return {window.Cell(kDrawList, 0, 0), window.Cell(kDrawList, 0, 1)};
}

}  // namespace draws
