#pragma once

#include <filesystem>

#include "archive/archive_state.h"
#include "backtest/backtest_state.h"
#include "core/context.h"
#include "draws/draw_state.h"
#include "lottery/lottery.h"
#include "output/output_state.h"
#include "push/push_state.h"
#include "search/search_state.h"

namespace app {

// The areas' states, held for as long as the handlers run, and the one way
// to make a context over them: the program and every test that binds
// handlers build theirs here.
struct AreaStates {
  draws::DrawState draws;
  search::SearchState search;
  output::OutputState output;
  archive::ArchiveState archive;
  push::PushState push;
  backtest::BacktestState backtest;

  // The context refers to these states, the window and the lottery; all must
  // outlive it.
  core::Context MakeContext(ui::Window& window, const std::filesystem::path& dataDir,
                            const std::filesystem::path& workDir, const lottery::Lottery& lottery) {
    return core::Context{
        {window, dataDir, workDir, lottery}, draws, search, output, archive, push, backtest, {}};
  }
};

}  // namespace app
