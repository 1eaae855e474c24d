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

const lottery::Lottery& MirroredLottery() { return lottery::Chongqing(); }

lottery::Issue IssueOf(const lottery::Draw& draw) {
  return lottery::ParseKeptIssue(draw.issue, MirroredLottery()).value();
}

LocalSeconds DrawTime(const lottery::Issue& issue) {
  return MirroredLottery().schedule.DrawTime(issue.date, issue.sequence);
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

lottery::Draw SimulatedDraw(const lottery::Issue& issue) {
  return {lottery::IssueText(issue), SimulatedCode(issue.date, issue.sequence)};
}

std::vector<lottery::Draw> ParseDrawFile(std::string_view content, int* malformedLines) {
  archive::DrawTextReader reader(MirroredLottery());
  reader.Feed(content);
  reader.Finish();
  if (malformedLines) *malformedLines = static_cast<int>(reader.scan().rejected);
  return std::move(reader.draws());
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
