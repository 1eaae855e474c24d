#include "app/command_line.h"

#include <charconv>
#include <cstdio>
#include <system_error>

namespace app {
namespace {

bool ParseField(std::string_view text, std::size_t pos, std::size_t length, int& out) {
  auto field = text.substr(pos, length);
  for (char c : field) {
    if (c < '0' || c > '9') return false;
  }
  auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), out);
  return ec == std::errc() && end == field.data() + field.size();
}

}  // namespace

const std::string_view kUsage =
    "usage: lanzhou [--data-dir DIR] [--console [--qt]] [--clock YYYY-MM-DDTHH:MM:SS] "
    "[--no-start]\n"
    "  --data-dir DIR  where sz.ini, gs.ini, gssjj.dll and sources.ini live\n"
    "                  (default: the directory of the program)\n"
    "  --console       run without a display, reading commands from standard input\n"
    "  --qt            the console drives the real window, offscreen (for grab FILE)\n"
    "  --clock TIME    start the console's clock at TIME (local time)\n"
    "  --no-start      do not run the start-up sequence: the window holds its form values\n"
    "  --quit-after-paint  end as soon as the window has painted its first frame\n";

base::Result<Options> ParseCommandLine(const std::vector<std::string>& args) {
  Options options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= args.size()) return std::nullopt;
      return args[++i];
    };
    if (arg == "--console") {
      options.console = true;
    } else if (arg == "--qt") {
      options.qt = true;
    } else if (arg == "--no-start") {
      options.noStart = true;
    } else if (arg == "--quit-after-paint") {
      options.quitAfterPaint = true;
    } else if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--data-dir") {
      auto dir = value();
      if (!dir || dir->empty()) return base::Error{"--data-dir needs a directory"};
      options.dataDir = *dir;
    } else if (arg == "--clock") {
      auto text = value();
      if (!text) return base::Error{"--clock needs a time YYYY-MM-DDTHH:MM:SS"};
      options.clock = ParseClock(*text);
      if (!options.clock) return base::Error{"--clock: not a time YYYY-MM-DDTHH:MM:SS: " + *text};
    } else {
      return base::Error{"unknown argument: " + arg};
    }
  }
  // The real window follows the system clock.
  if (options.clock && !options.console) return base::Error{"--clock needs --console"};
  if (options.qt && !options.console) return base::Error{"--qt needs --console"};
  if (options.quitAfterPaint && options.console) {
    return base::Error{"--quit-after-paint is for the window, not --console"};
  }
  return options;
}

std::optional<ui::LocalTime> ParseClock(std::string_view text) {
  using namespace std::chrono;
  if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
      text[16] != ':') {
    return std::nullopt;
  }
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  if (!ParseField(text, 0, 4, y) || !ParseField(text, 5, 2, mo) || !ParseField(text, 8, 2, d) ||
      !ParseField(text, 11, 2, h) || !ParseField(text, 14, 2, mi) || !ParseField(text, 17, 2, s)) {
    return std::nullopt;
  }
  year_month_day date{year{y}, month{static_cast<unsigned>(mo)}, day{static_cast<unsigned>(d)}};
  if (!date.ok() || h > 23 || mi > 59 || s > 59) return std::nullopt;
  return local_days{date} + hours{h} + minutes{mi} + seconds{s};
}

std::string FormatClock(ui::LocalTime time) {
  using namespace std::chrono;
  auto days = floor<std::chrono::days>(time);
  year_month_day date{days};
  hh_mm_ss clock{floor<seconds>(time - days)};
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02uT%02ld:%02ld:%02ld", int(date.year()),
                unsigned(date.month()), unsigned(date.day()), long(clock.hours().count()),
                long(clock.minutes().count()), long(clock.seconds().count()));
  return buffer;
}

std::filesystem::path ExecutableDirectory() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path(ec);
  return exe.parent_path();
}

base::Result<std::filesystem::path> ResolveDataDir(const Options& options) {
  auto dir = options.dataDir.empty() ? ExecutableDirectory() : options.dataDir;
  std::error_code ec;
  if (!std::filesystem::is_directory(dir, ec)) {
    return base::Error{"data directory is not a directory: " + dir.string()};
  }
  return dir;
}

}  // namespace app
