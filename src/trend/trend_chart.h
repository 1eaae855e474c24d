#pragma once

#include <span>
#include <string_view>

#include "lottery/draw.h"
#include "trend/trend_chart_layout.h"

namespace trend {

// Positions of a code, left to right.
inline constexpr int kPositionCount = 5;  // 0 万, 1 千, 2 百, 3 十, 4 个

// The digit at `position` of a five-digit code; -1 for any other code or
// position, so a damaged archive row shows without a ball instead of a wrong one.
int DigitAt(std::string_view code, int position);

// The chart of the newest `shownCount` draws of `archive` (oldest first) at
// `position`. Omissions count archived draws from the oldest one, so the first
// shown row carries its true omission; the summary rows cover the shown rows.
TrendChart BuildTrendChart(std::span<const lottery::Draw> archive, int position, int shownCount);

}  // namespace trend
