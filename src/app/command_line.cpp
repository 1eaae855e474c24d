#include "app/command_line.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <cstdio>
#include <system_error>

#include "base/text.h"

namespace app {
namespace {

bool ParseField(std::string_view text, std::size_t pos, std::size_t length, int& out) {
  auto field = text.substr(pos, length);
  if (!base::IsDigits(field)) return false;
  auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), out);
  return ec == std::errc() && end == field.data() + field.size();
}

std::string CheckDirectory(const std::string& text) {
  return text.empty() ? "needs a directory" : "";
}

std::string CheckClock(const std::string& text) {
  return ParseClock(text) ? "" : "not a time YYYY-MM-DDTHH:MM:SS: " + text;
}

// The one description of the command line: parsing and --help both read it.
// Keep each help line within 80 columns.
void DescribeOptions(CLI::App& cli, Options& options) {
  cli.description("岚舟 (Lanzhou): formula plans for the Chongqing five-digit lottery");
  cli.set_version_flag("--version", VersionText() + "\n" + LicenceText(),
                       "Print the version and exit");
  cli.add_option("--data-dir", options.dataDir, "Keep the data files in DIR (made if missing)")
      ->type_name("DIR")
      ->check(CheckDirectory);
  cli.add_flag("--console", options.console, "Run without a display, commands on standard input");
  cli.add_flag("--qt", options.qt, "The console drives the real window, offscreen");
  cli.add_option_function<std::string>(
         "--clock", [&](const std::string& text) { options.clock = ParseClock(text); },
         "Start the console's clock at this local time")
      ->type_name("YYYY-MM-DDTHH:MM:SS")
      ->check(CheckClock);
  cli.add_flag("--no-start", options.noStart, "Skip the start-up sequence, keep the form values");
  cli.add_flag("--quit-after-paint", options.quitAfterPaint,
               "End once the window has painted (timing the start)");
  cli.add_option("--import-draws", options.importDraws, "Add the draws of FILE to the archive")
      ->type_name("FILE");
  cli.add_option("--export-draws", options.exportDraws, "Write every archived draw to FILE (CSV)")
      ->type_name("FILE");
  cli.footer(
      "Without --data-dir the data live beside the program when it keeps them there,\n"
      "otherwise in $XDG_DATA_HOME/lanzhou (~/.local/share/lanzhou).");
}

}  // namespace

base::Result<Options> ParseCommandLine(const std::vector<std::string>& args) {
  Options options;
  CLI::App cli("", "lanzhou");
  DescribeOptions(cli, options);
  // CLI11 takes the arguments last first.
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    cli.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    options.help = true;
  } catch (const CLI::CallForVersion&) {
    options.version = true;
  } catch (const CLI::ParseError& e) {
    return base::Error{e.what()};
  }
  // The real window follows the system clock.
  if (options.clock && !options.console) return base::Error{"--clock needs --console"};
  if (options.qt && !options.console) return base::Error{"--qt needs --console"};
  const bool drawFiles = !options.importDraws.empty() || !options.exportDraws.empty();
  if (drawFiles && options.console)
    return base::Error{"--import-draws and --export-draws run alone"};
  if (options.quitAfterPaint && options.console) {
    return base::Error{"--quit-after-paint is for the window, not --console"};
  }
  return options;
}

std::string HelpText() {
  Options ignored;
  CLI::App cli("", "lanzhou");
  DescribeOptions(cli, ignored);
  return cli.help();
}

std::string VersionText() { return "lanzhou " LANZHOU_VERSION; }

std::string LicenceText() {
  return "License GPL-3.0-or-later <https://www.gnu.org/licenses/gpl-3.0.html>: you may share\n"
         "and change it under its terms; there is NO WARRANTY, to the extent the law allows.";
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

}  // namespace app
