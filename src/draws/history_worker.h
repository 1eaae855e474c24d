#pragma once

#include <string>
#include <vector>

#include "core/context.h"
#include "draws/draw_state.h"
#include "lottery/lottery.h"
#include "ui/window.h"

namespace draws {

// The history thread's body: downloads the lottery's day pages of yesterday
// and then today (the days of `now`) from `historyBase`, collects their items
// newest first, hands the list over under the hand-over's mutex and sets the
// done flag as its last action.
void HistoryWorker(HistoryHandOver& handOver, const std::string& historyBase,
                   const lottery::Lottery& lottery, ui::LocalTime now);

// Runs HistoryWorker on a thread of its own and waits for it while the window
// keeps processing events, three minutes of the window's clock at most. The
// items, newest first; empty when the download failed or the wait gave up.
std::vector<std::string> FetchHistory(core::Context& ctx);

}  // namespace draws
