#include "mirror_draws.h"

#include <charconv>
#include <cstdint>
#include <cstdio>

namespace drawd {

using namespace std::chrono;

namespace {

bool AllDigits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

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

std::optional<Draw> ParseDrawLine(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
    line.remove_suffix(1);
  }
  // YYYYMMDD-NNN ddddd
  if (line.size() != 18 || line[8] != '-' || line[12] != ' ') return std::nullopt;
  std::string_view date = line.substr(0, 8);
  std::string_view sequence = line.substr(9, 3);
  std::string_view code = line.substr(13, 5);
  if (!AllDigits(date) || !AllDigits(sequence) || !AllDigits(code)) return std::nullopt;
  year_month_day day{year(ToInt(date.substr(0, 4))), month(ToInt(date.substr(4, 2))),
                     std::chrono::day(ToInt(date.substr(6, 2)))};
  int number = ToInt(sequence);
  if (!day.ok() || number < 1 || number > kDrawsPerDay) return std::nullopt;
  return Draw{day, number, std::string(code)};
}

std::vector<Draw> ParseDrawFile(std::string_view content, int* malformedLines) {
  std::vector<Draw> draws;
  int malformed = 0;
  while (!content.empty()) {
    std::size_t end = content.find('\n');
    std::string_view line = content.substr(0, end);
    content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
    std::size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string_view::npos || line[first] == '#') continue;
    if (auto draw = ParseDrawLine(line.substr(first))) {
      draws.push_back(*draw);
    } else {
      ++malformed;
    }
  }
  if (malformedLines) *malformedLines = malformed;
  return draws;
}

std::optional<year_month_day> ParseDashedDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  std::string_view y = text.substr(0, 4), m = text.substr(5, 2), d = text.substr(8, 2);
  if (!AllDigits(y) || !AllDigits(m) || !AllDigits(d)) return std::nullopt;
  year_month_day day{year(ToInt(y)), month(ToInt(m)), std::chrono::day(ToInt(d))};
  if (!day.ok()) return std::nullopt;
  return day;
}

}  // namespace drawd
