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
  std::filesystem::path dataDir;  // empty: found as data_directory.h says
  bool console = false;
  bool qt = false;  // the console drives the Qt window instead of one in memory
  std::optional<ui::LocalTime> clock;
  bool noStart = false;
  bool quitAfterPaint = false;        // timing the start: end once the window has painted
  std::filesystem::path importDraws;  // a draw file to add to the archive, then exit
  std::filesystem::path exportDraws;  // where to write the whole archive, then exit
  bool help = false;
  bool version = false;
};

// The program's arguments, without the program name. Every option is one
// line of ParseCommandLine and one line of HelpText.
base::Result<Options> ParseCommandLine(const std::vector<std::string>& args);

// What --help prints.
std::string HelpText();

// What --version prints: "lanzhou 1.0.0".
std::string VersionText();
// The licence the program is given under, for --version.
std::string LicenceText();

// YYYY-MM-DDTHH:MM:SS, a real calendar date and time of day.
std::optional<ui::LocalTime> ParseClock(std::string_view text);
std::string FormatClock(ui::LocalTime time);

}  // namespace app
