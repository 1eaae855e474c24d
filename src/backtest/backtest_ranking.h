#pragma once

#include <vector>

#include "backtest/backtest_row.h"

namespace backtest {

// The backtest's own order: 概率 highest first, then 最大连挂 lowest first,
// then the formulas' order in their list.
void RankRows(std::vector<BacktestRow>& rows);

// A click on a column header: the listed rows (in list order) sorted by that
// column, stably; numbers descending except 最大连挂 and 挂 ascending, texts
// ascending. 序号 is a row's place in the list. Any other column changes nothing.
void SortRowsByColumn(std::vector<BacktestRow>& rows, int column);

}  // namespace backtest
