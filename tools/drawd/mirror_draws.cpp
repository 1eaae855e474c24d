#include "mirror_draws.h"

#include <charconv>
#include <cstdint>
#include <cstdio>

#include "archive/draw_file.h"
#include "base/text.h"

namespace drawd {

using namespace std::chrono;

namespace {

int ToInt(std::string_view digits) {
  int value = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return value;
}

std::uint64_t SplitMix64(std::uint64_t x) {
  x += 0x9e3779b97f4a7c15ULL;
  x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
  x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
  return x ^ (x >> 31);
}

}  // namespace

LocalSeconds DrawTime(year_month_day date, int sequence) {
  LocalSeconds midnight{local_days(date).time_since_epoch()};
  if (sequence <= 23) return midnight + minutes(5 * sequence);
  if (sequence <= 96) return midnight + hours(10) + minutes(10 * (sequence - 24));
  return midnight + hours(22) + minutes(5 * (sequence - 96));
}

std::string SimulatedCode(year_month_day date, int sequence) {
  std::uint64_t seed = static_cast<std::uint64_t>(static_cast<int>(date.year())) * 10000000ULL +
                       static_cast<unsigned>(date.month()) * 100000ULL +
                       static_cast<unsigned>(date.day()) * 1000ULL +
                       static_cast<std::uint64_t>(sequence);
  char text[8];
  std::snprintf(text, sizeof text, "%05u", static_cast<unsigned>(SplitMix64(seed) % 100000));
  return text;
}

std::string IssueOf(const Draw& draw) {
  char text[24];
  std::snprintf(text, sizeof text, "%04d%02u%02u-%03d", static_cast<int>(draw.date.year()),
                static_cast<unsigned>(draw.date.month()), static_cast<unsigned>(draw.date.day()),
                draw.sequence);
  return text;
}

std::vector<Draw> ParseDrawFile(std::string_view content, int* malformedLines) {
  archive::DrawTextReader reader;
  reader.Feed(content);
  reader.Finish();
  std::vector<Draw> draws;
  draws.reserve(reader.draws().size());
  for (const archive::Draw& draw : reader.draws()) {
    // The reader hands on only real dates: "YYYYMMDD-NNN".
    const std::string_view issue = draw.issue;
    year_month_day day{year(ToInt(issue.substr(0, 4))), month(ToInt(issue.substr(4, 2))),
                       std::chrono::day(ToInt(issue.substr(6, 2)))};
    draws.push_back({day, ToInt(issue.substr(9, 3)), draw.code});
  }
  if (malformedLines) *malformedLines = static_cast<int>(reader.scan().rejected);
  return draws;
}

std::optional<year_month_day> ParseDashedDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  std::string_view y = text.substr(0, 4), m = text.substr(5, 2), d = text.substr(8, 2);
  if (!base::IsDigits(y) || !base::IsDigits(m) || !base::IsDigits(d)) return std::nullopt;
  year_month_day day{year(ToInt(y)), month(ToInt(m)), std::chrono::day(ToInt(d))};
  if (!day.ok()) return std::nullopt;
  return day;
}

}  // namespace drawd
