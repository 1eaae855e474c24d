#pragma once

#include <filesystem>
#include <functional>
#include <vector>

#include "ui/window.h"

// Each area owns its state; the context only refers to it, so an area sees
// another's state only by including that area's header.
namespace draws {
struct DrawState;
}
namespace search {
struct SearchState;
}
namespace output {
struct OutputState;
}

namespace core {

// The window and where files live: all that most handlers need.
struct Env {
  ui::Window& window;
  std::filesystem::path dataDir;  // sz.ini, gs.ini, gssjj.dll, sources.ini
  std::filesystem::path workDir;  // jhgsj.dll
};

// What handlers that keep state between events are handed.
struct Context : Env {
  draws::DrawState& draws;
  search::SearchState& search;
  output::OutputState& output;

  // Run after an automatic update inserted a new draw and the plans were
  // refreshed; lets later areas follow the newest draw without a cycle.
  std::vector<std::function<void()>> onDrawInserted;
};

}  // namespace core
