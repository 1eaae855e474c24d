// lanzhou-drawd: the local draw mirror. Serves the history pages, both feeds
// and the browser pages on 127.0.0.1, from simulated or recorded draws.
#include <charconv>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "mirror_server.h"
#include "mirror_source.h"

namespace {

constexpr const char* kUsage =
    "usage: lanzhou-drawd [--port N] [--draws FILE | --clock YYYY-MM-DDTHH:MM:SS]\n"
    "  --port N     listen on 127.0.0.1:N (default 18733, 0 picks a free port)\n"
    "  --draws FILE serve the draws of FILE, read again whenever it changes:\n"
    "               one draw a line as \"issue,code\", \"issue<TAB>code\" or\n"
    "               \"issue code\", the issue YYYYMMDD-NNN or YYYYMMDDNNN\n"
    "  --clock T    simulate draws with a clock starting at local time T\n"
    "               (default: now), running on with real time\n";

std::optional<drawd::LocalSeconds> ParseClock(std::string_view text) {
  if (text.size() != 19 || text[10] != 'T' || text[13] != ':' || text[16] != ':') {
    return std::nullopt;
  }
  auto day = drawd::ParseDashedDate(text.substr(0, 10));
  int parts[3] = {};
  for (int i = 0; i < 3; ++i) {
    std::string_view digits = text.substr(11 + 3 * i, 2);
    auto [end, error] = std::from_chars(digits.data(), digits.data() + 2, parts[i]);
    if (error != std::errc() || end != digits.data() + 2 || parts[i] < 0) return std::nullopt;
  }
  if (!day || parts[0] > 23 || parts[1] > 59 || parts[2] > 59) return std::nullopt;
  using namespace std::chrono;
  return drawd::LocalSeconds{local_days(*day).time_since_epoch()} + hours(parts[0]) +
         minutes(parts[1]) + seconds(parts[2]);
}

int Fail(const std::string& message) {
  std::cerr << "lanzhou-drawd: " << message << "\n" << kUsage;
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int port = drawd::kDefaultPort;
  std::optional<std::string> drawsFile;
  std::optional<drawd::LocalSeconds> clock;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    }
    if (i + 1 >= argc) return Fail("missing value after " + std::string(arg));
    std::string_view value = argv[++i];
    if (arg == "--port") {
      auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), port);
      if (error != std::errc() || end != value.data() + value.size() || port < 0 || port > 65535) {
        return Fail("bad port: " + std::string(value));
      }
    } else if (arg == "--draws") {
      drawsFile = std::string(value);
    } else if (arg == "--clock") {
      clock = ParseClock(value);
      if (!clock) return Fail("bad clock: " + std::string(value));
    } else {
      return Fail("unknown option: " + std::string(arg));
    }
  }
  if (drawsFile && clock) return Fail("--draws and --clock exclude each other");

  std::optional<drawd::MirrorSource> source;
  if (drawsFile) {
    auto fromFile = drawd::MirrorSource::FromFile(*drawsFile);
    if (!fromFile) return Fail(fromFile.error().message);
    source.emplace(std::move(fromFile.value()));
  } else {
    source.emplace(
        drawd::MirrorSource::Simulated(drawd::ClockFrom(clock.value_or(drawd::LocalNow()))));
  }

  drawd::MirrorServer server(*source);
  base::Result<int> listening = server.Listen(port);
  if (!listening) {
    std::cerr << "lanzhou-drawd: cannot listen on 127.0.0.1\n";
    return 1;
  }
  std::printf("lanzhou-drawd listening on http://127.0.0.1:%d\n", listening.value());
  std::fflush(stdout);
  server.Run();
  return 0;
}
