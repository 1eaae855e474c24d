#include "backtest/backtest_row.h"

namespace backtest {

std::string RateText(const search::Streaks& figures) {
  return std::to_string(search::RatePercent(figures.tally)) + "%";
}

std::string CurrentRunText(const search::Streaks& figures) {
  if (figures.currentRun == 0) return "-";
  return (figures.currentHit ? "中" : "挂") + std::to_string(figures.currentRun);
}

std::array<std::string, kColumnCount> RowCells(const BacktestRow& row, int sequence) {
  const search::Streaks& t = row.figures;
  return {std::to_string(sequence),
          row.formula,
          std::to_string(t.tally.plans()),
          std::to_string(t.tally.hits),
          std::to_string(t.tally.misses),
          RateText(t),
          std::to_string(t.longestHitRun),
          std::to_string(t.longestMissRun),
          CurrentRunText(t)};
}

}  // namespace backtest
