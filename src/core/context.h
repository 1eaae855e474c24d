#pragma once

#include <filesystem>

#include "core/events.h"
#include "ui/window.h"

// Each area owns its state; the context only refers to it, so an area sees
// another's state only by including that area's header.
namespace lottery {
struct Lottery;
}
namespace draws {
struct DrawState;
}
namespace search {
struct SearchState;
}
namespace output {
struct OutputState;
}
namespace archive {
struct ArchiveState;
}
namespace push {
struct PushState;
}
namespace backtest {
struct BacktestState;
}

namespace core {

// The window, where files live and the game: all that most handlers need.
struct Env {
  ui::Window& window;
  std::filesystem::path dataDir;    // sz.ini, gs.ini, gssjj.dll, sources.ini
  std::filesystem::path workDir;    // jhgsj.dll
  const lottery::Lottery& lottery;  // the game the program follows
};

// What handlers that keep state between events are handed; app::AreaStates
// makes it, for the program and the tests alike.
struct Context : Env {
  draws::DrawState& draws;
  search::SearchState& search;
  output::OutputState& output;
  archive::ArchiveState& archive;
  push::PushState& push;
  backtest::BacktestState& backtest;

  // How the areas follow each other; the order is core::Stage's.
  Events events;
};

}  // namespace core
