#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "search/plan_tally.h"

namespace backtest {

// One formula's long replay: its place in the formula list, its text and its
// judged plans with their runs.
struct BacktestRow {
  std::size_t index = 0;
  std::string formula;
  search::Streaks figures;
};

// The columns of the result list: "序号", "公式", "计划", "中", "挂", "概率",
// "最大连中", "最大连挂", "当前".
enum class Column {
  Sequence,
  Formula,
  Plans,
  Hits,
  Misses,
  Rate,
  LongestHits,
  LongestMisses,
  Current,
};
inline constexpr int kColumnCount = 9;

// "57%": the integer part of hits x 100 / plans, "0%" without a plan.
std::string RateText(const search::Streaks& figures);

// "中3" or "挂2" for the run the replay ends on, "-" without a plan.
std::string CurrentRunText(const search::Streaks& figures);

// The cells of a listed row, sequence number first.
std::array<std::string, kColumnCount> RowCells(const BacktestRow& row, int sequence);

}  // namespace backtest
