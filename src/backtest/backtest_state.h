#pragma once

#include <vector>

#include "backtest/backtest_row.h"

namespace backtest {

class BacktestRun;

// What the 回测 page keeps between events.
struct BacktestState {
  std::vector<BacktestRow> rows;   // every finished formula, in the list's order
  BacktestRun* running = nullptr;  // the run under way, for the stop button
};

}  // namespace backtest
