#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lottery/draw.h"

namespace trend {

// The chart is drawn from the archive's own draws.
using ArchivedDraw = lottery::Draw;

// Positions of a code, left to right.
inline constexpr int kPositionCount = 5;  // 0 万, 1 千, 2 百, 3 十, 4 个

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

// The digit at `position` of a five-digit code; -1 for any other code or
// position, so a damaged archive row shows without a ball instead of a wrong one.
int DigitAt(std::string_view code, int position);

struct TrendChart {
  // The draw rows, oldest first, then the summary rows; kColumnCount cells each.
  std::vector<std::vector<std::string>> rows;
  // Per draw row, the column of the drawn digit (kFirstDigitColumn + d), -1
  // when the row has none.
  std::vector<int> ballColumns;

  int DrawRowCount() const { return static_cast<int>(ballColumns.size()); }
};

// The chart of the newest `shownCount` draws of `archive` (oldest first) at
// `position`. Omissions count archived draws from the oldest one, so the first
// shown row carries its true omission; the summary rows cover the shown rows.
TrendChart BuildTrendChart(std::span<const ArchivedDraw> archive, int position, int shownCount);

}  // namespace trend
