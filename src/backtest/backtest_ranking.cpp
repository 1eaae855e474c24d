#include "backtest/backtest_ranking.h"

#include <algorithm>
#include <tuple>

namespace backtest {
namespace {

// The number a numeric column shows.
int Number(const BacktestRow& row, Column column) {
  const search::Streaks& t = row.figures;
  switch (column) {
    case Column::Plans:
      return t.tally.plans();
    case Column::Hits:
      return t.tally.hits;
    case Column::Misses:
      return t.tally.misses;
    case Column::Rate:
      return search::RatePercent(t.tally);
    case Column::LongestHits:
      return t.longestHitRun;
    case Column::LongestMisses:
      return t.longestMissRun;
    default:
      return 0;
  }
}

}  // namespace

void RankRows(std::vector<BacktestRow>& rows) {
  std::sort(rows.begin(), rows.end(), [](const BacktestRow& a, const BacktestRow& b) {
    return std::tuple(-search::RatePercent(a.figures.tally), a.figures.longestMissRun, a.index) <
           std::tuple(-search::RatePercent(b.figures.tally), b.figures.longestMissRun, b.index);
  });
}

void SortRowsByColumn(std::vector<BacktestRow>& rows, int column) {
  if (column < 0 || column >= kColumnCount) return;
  const auto c = static_cast<Column>(column);
  switch (c) {
    case Column::Sequence:
      // Numbers descending: the last listed row first.
      std::reverse(rows.begin(), rows.end());
      return;
    case Column::Formula:
      std::stable_sort(rows.begin(), rows.end(), [](const BacktestRow& a, const BacktestRow& b) {
        return a.formula < b.formula;
      });
      return;
    case Column::Current:
      std::stable_sort(rows.begin(), rows.end(), [](const BacktestRow& a, const BacktestRow& b) {
        return CurrentRunText(a.figures) < CurrentRunText(b.figures);
      });
      return;
    case Column::Misses:
    case Column::LongestMisses:
      std::stable_sort(rows.begin(), rows.end(), [c](const BacktestRow& a, const BacktestRow& b) {
        return Number(a, c) < Number(b, c);
      });
      return;
    default:
      std::stable_sort(rows.begin(), rows.end(), [c](const BacktestRow& a, const BacktestRow& b) {
        return Number(a, c) > Number(b, c);
      });
  }
}

}  // namespace backtest
