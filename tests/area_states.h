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

// The areas' states as the program holds them, and a context over them.
struct AreaStates {
  draws::DrawState draws;
  search::SearchState search;
  output::OutputState output;
  archive::ArchiveState archive;
  push::PushState push;
  backtest::BacktestState backtest;

  core::Context ContextFor(ui::Window& window, const std::filesystem::path& dataDir,
                           const std::filesystem::path& workDir) {
    return core::Context{{window, dataDir, workDir, lottery::Chongqing()},
                         draws,
                         search,
                         output,
                         archive,
                         push,
                         backtest,
                         {}};
  }
};
