#pragma once

#include <array>
#include <atomic>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "ui/window.h"

namespace app {

// The program-wide state shared by the behaviours. Everything but the history
// hand-over is touched on the window thread only.
struct ProgramState {
  int lotteryKind = 0;
  int selectedResultRow = -1;
  std::optional<ui::LocalTime> nextDrawTime;
  bool autoUpdateLatch = false;

  std::mutex historyMutex;
  std::vector<std::string> historyList;  // guarded by historyMutex
  std::atomic<bool> historyDone{false};

  bool searchStopRequested = false;
  bool searchRunning = false;

  std::array<std::string, 3> blockTexts;
};

// What every handler needs: the window, the state and where files live.
struct Context {
  ui::Window& window;
  ProgramState& state;
  std::filesystem::path dataDir;  // sz.ini, gs.ini, gssjj.dll, sources.ini
  std::filesystem::path workDir;  // jhgsj.dll

  // Run after an automatic update inserted a new draw and the plans were
  // refreshed; lets later areas follow the newest draw without a cycle.
  std::vector<std::function<void()>> onDrawInserted;
};

}  // namespace app
