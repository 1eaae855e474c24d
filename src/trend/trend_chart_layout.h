#pragma once

#include <string>
#include <vector>

// The trend chart as plain rows: what the engine builds and the view draws.
// It knows no archive and no window, so the view links no engine.
namespace trend {

// Columns of the chart.
inline constexpr int kIssueColumn = 0;
inline constexpr int kCodeColumn = 1;
inline constexpr int kFirstDigitColumn = 2;  // digit d in column 2 + d
inline constexpr int kSizeColumn = 12;
inline constexpr int kParityColumn = 13;
inline constexpr int kColumnCount = 14;

// "出现次数", "平均遗漏", "最大遗漏", "最大连出" follow the draw rows.
inline constexpr int kSummaryRowCount = 4;

// "期号", "奖号", "0" … "9", "大小", "单双".
const std::vector<std::string>& TrendColumnCaptions();

// The columns that may carry a ball.
bool IsDigitColumn(int column);

struct TrendChart {
  // The draw rows, oldest first, then the summary rows; kColumnCount cells each.
  std::vector<std::vector<std::string>> rows;
  // Per draw row, the column of the drawn digit (kFirstDigitColumn + d), -1
  // when the row has none.
  std::vector<int> ballColumns;

  int DrawRowCount() const { return static_cast<int>(ballColumns.size()); }
};

}  // namespace trend
