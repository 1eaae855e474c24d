#include "trend/chart_row_buffer.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace trend {

int ChartRowBuffer::Insert(int position) {
  const int row = position < 0 || position > Count() ? Count() : position;
  rows_.insert(rows_.begin() + row, std::vector<std::string>{});
  marks_.insert(marks_.begin() + row, -1);
  return row;
}

void ChartRowBuffer::SetCell(int row, int column, std::string text) {
  if (!HasRow(row) || column < 0) return;
  std::vector<std::string>& cells = rows_[static_cast<std::size_t>(row)];
  if (column >= static_cast<int>(cells.size())) cells.resize(static_cast<std::size_t>(column) + 1);
  cells[static_cast<std::size_t>(column)] = std::move(text);
}

std::string ChartRowBuffer::Cell(int row, int column) const {
  if (!HasRow(row) || column < 0) return {};
  const std::vector<std::string>& cells = rows_[static_cast<std::size_t>(row)];
  return column < static_cast<int>(cells.size()) ? cells[static_cast<std::size_t>(column)]
                                                 : std::string();
}

void ChartRowBuffer::Clear() {
  rows_.clear();
  marks_.clear();
}

int ChartRowBuffer::Mark(int row) const {
  return HasRow(row) ? marks_[static_cast<std::size_t>(row)] : -1;
}

void ChartRowBuffer::SetMark(int row, int column) {
  if (HasRow(row)) marks_[static_cast<std::size_t>(row)] = column < 0 ? -1 : column;
}

TrendChart ChartRowBuffer::Chart() const {
  TrendChart chart;
  chart.rows = rows_;
  for (std::vector<std::string>& cells : chart.rows) cells.resize(kColumnCount);
  const std::size_t drawRows = rows_.size() - std::min<std::size_t>(rows_.size(), kSummaryRowCount);
  chart.ballColumns.assign(marks_.begin(), marks_.begin() + static_cast<std::ptrdiff_t>(drawRows));
  for (int& column : chart.ballColumns) {
    if (!IsDigitColumn(column)) column = -1;
  }
  return chart;
}

}  // namespace trend
