#pragma once

#include "core/context.h"

namespace backtest {

// 超级按钮_开始回测: replays the chosen formulas over the chosen archived draws,
// showing progress, then lists the ranked rows.
void StartBacktest(core::Context& ctx);

// The kind radios, the start, stop and save buttons and the list's headers.
void BindBacktestHandlers(core::Context& ctx);

}  // namespace backtest
