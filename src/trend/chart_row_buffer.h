#pragma once

#include <string>
#include <vector>

#include "trend/trend_chart_layout.h"

namespace trend {

// The rows of a trend chart control as the program writes them, a cell and a
// ball at a time, and the chart they make. Rows and columns out of range are
// ignored on writing and read as empty, as on every control with rows.
class ChartRowBuffer {
 public:
  // A new empty row without a ball at `position`; a position below 0 or past
  // the end appends. Returns the row's index.
  int Insert(int position);
  // A row grows to hold the column.
  void SetCell(int row, int column, std::string text);
  std::string Cell(int row, int column) const;
  int Count() const { return static_cast<int>(rows_.size()); }
  void Clear();

  // The column drawn as the row's ball, -1 for none (any negative column).
  int Mark(int row) const;
  void SetMark(int row, int column);

  // The last kSummaryRowCount rows are the summary band, those before it the
  // draw rows with their balls. A row written short or long gets kColumnCount
  // cells, and a ball outside the digit columns is not drawn.
  TrendChart Chart() const;

 private:
  bool HasRow(int row) const { return row >= 0 && row < Count(); }

  std::vector<std::vector<std::string>> rows_;
  std::vector<int> marks_;  // one per row
};

}  // namespace trend
