#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "ui/window.h"

namespace app {

struct Options {
  std::filesystem::path dataDir;  // empty: the executable's directory
  bool console = false;
  bool qt = false;  // the console drives the Qt window instead of one in memory
  std::optional<ui::LocalTime> clock;
  bool noStart = false;
  bool quitAfterPaint = false;  // timing the start: end once the window has painted
  bool help = false;
};

extern const std::string_view kUsage;

// lanzhou [--data-dir DIR] [--console] [--clock YYYY-MM-DDTHH:MM:SS] [--no-start]
base::Result<Options> ParseCommandLine(const std::vector<std::string>& args);

// YYYY-MM-DDTHH:MM:SS, a real calendar date and time of day.
std::optional<ui::LocalTime> ParseClock(std::string_view text);
std::string FormatClock(ui::LocalTime time);

// Where sz.ini and the other data files live unless --data-dir says otherwise.
std::filesystem::path ExecutableDirectory();

// The data directory the options name, or the executable's; an error when it
// is not a directory, rather than losing every save without a word.
base::Result<std::filesystem::path> ResolveDataDir(const Options& options);

}  // namespace app
