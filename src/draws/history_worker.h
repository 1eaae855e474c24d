#pragma once

#include <string>
#include <vector>

#include "app/program_state.h"
#include "ui/window.h"

namespace draws {

// The history thread's body: downloads the day pages of yesterday and then
// today (the days of `now`) from `historyBase`, collects their items newest
// first, hands the list over under the state's mutex and sets the done flag
// as its last action.
void HistoryWorker(app::ProgramState& state, const std::string& historyBase, ui::LocalTime now);

// Runs HistoryWorker on a thread of its own and waits for it while the window
// keeps processing events, without a time-out. The items, newest first;
// empty when the download failed.
std::vector<std::string> FetchHistory(app::Context& ctx);

}  // namespace draws
