#include "backtest/backtest_row.h"

#include <gtest/gtest.h>

namespace backtest {
namespace {

search::Streaks Figures(int hits, int misses, int longestHits, int longestMisses, int run,
                        bool runHit) {
  return {{hits, misses}, longestHits, longestMisses, run, runHit};
}

TEST(BacktestRow, Texts) {
  const struct {
    search::Streaks figures;
    const char* rate;
    const char* current;
  } cases[] = {
      {Figures(0, 0, 0, 0, 0, false), "0%", "-"},
      {Figures(29, 21, 4, 3, 2, true), "58%", "中2"},
      {Figures(2, 1, 2, 1, 1, false), "66%", "挂1"},
      {Figures(0, 7, 0, 7, 7, false), "0%", "挂7"},
      {Figures(12, 0, 12, 0, 12, true), "100%", "中12"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RateText(c.figures), c.rate);
    EXPECT_EQ(CurrentRunText(c.figures), c.current);
  }
}

TEST(BacktestRow, CellsInColumnOrder) {
  const BacktestRow row{4, "DCC*657", Figures(29, 21, 4, 3, 2, true)};
  const std::array<std::string, kColumnCount> cells = {"7",   "DCC*657", "50", "29", "21",
                                                       "58%", "4",       "3",  "中2"};
  EXPECT_EQ(RowCells(row, 7), cells);
}

}  // namespace
}  // namespace backtest
