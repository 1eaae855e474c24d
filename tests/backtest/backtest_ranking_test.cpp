#include "backtest/backtest_ranking.h"

#include <gtest/gtest.h>

namespace backtest {
namespace {

BacktestRow Row(std::size_t index, std::string formula, int hits, int misses, int longestHits,
                int longestMisses, int run, bool runHit) {
  return {index, std::move(formula), {{hits, misses}, longestHits, longestMisses, run, runHit}};
}

std::vector<std::size_t> Order(const std::vector<BacktestRow>& rows) {
  std::vector<std::size_t> order;
  for (const auto& row : rows) order.push_back(row.index);
  return order;
}

// 0 60% 挂3 | 1 75% 挂2 | 2 60% 挂2 | 3 75% 挂2 | 4 0% without plans | 5 60% 挂5
std::vector<BacktestRow> Rows() {
  return {Row(0, "EEA+354", 6, 4, 3, 3, 1, true),  Row(1, "ABC*001", 9, 3, 5, 2, 2, false),
          Row(2, "CED-762", 3, 2, 2, 2, 1, false), Row(3, "AAD*868", 3, 1, 3, 2, 3, true),
          Row(4, "", 0, 0, 0, 0, 0, false),        Row(5, "BEB+065", 12, 8, 10, 5, 10, true)};
}

TEST(BacktestRanking, RateThenLongestMissRunThenFormulaOrder) {
  auto rows = Rows();
  RankRows(rows);
  EXPECT_EQ(Order(rows), (std::vector<std::size_t>{1, 3, 2, 0, 5, 4}));
}

// Numbers descending, 挂 and 最大连挂 ascending, texts ascending; equal keys
// keep the list's order. 序号 is the place in the list.
TEST(BacktestRanking, HeaderClickSortsStably) {
  const struct {
    Column column;
    std::vector<std::size_t> order;
  } cases[] = {
      {Column::Sequence, {5, 4, 3, 2, 1, 0}},
      {Column::Formula, {4, 3, 1, 5, 2, 0}},
      {Column::Plans, {5, 1, 0, 2, 3, 4}},
      {Column::Hits, {5, 1, 0, 2, 3, 4}},
      {Column::Misses, {4, 3, 2, 1, 0, 5}},
      {Column::Rate, {1, 3, 0, 2, 5, 4}},
      {Column::LongestHits, {5, 1, 0, 3, 2, 4}},
      {Column::LongestMisses, {4, 1, 2, 3, 0, 5}},
      // As texts: "-", "中1", "中10", "中3", "挂1", "挂2".
      {Column::Current, {4, 0, 5, 3, 2, 1}},
  };
  for (const auto& c : cases) {
    auto rows = Rows();
    SortRowsByColumn(rows, static_cast<int>(c.column));
    EXPECT_EQ(Order(rows), c.order) << static_cast<int>(c.column);
  }
}

TEST(BacktestRanking, ColumnOutsideTheListChangesNothing) {
  for (int column : {-1, kColumnCount}) {
    auto rows = Rows();
    SortRowsByColumn(rows, column);
    EXPECT_EQ(Order(rows), (std::vector<std::size_t>{0, 1, 2, 3, 4, 5}));
  }
}

}  // namespace
}  // namespace backtest
