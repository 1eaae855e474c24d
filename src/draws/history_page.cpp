#include "draws/history_page.h"

#include <algorithm>
#include <boost/regex.hpp>
#include <cstdio>
#include <stdexcept>

#include "lottery/draw.h"
#include "lottery/issue.h"

namespace draws {

namespace {

const boost::regex& HistoryRegex() {
  static const boost::regex pattern(kHistoryPattern.begin(), kHistoryPattern.end(),
                                    boost::regex::perl);
  return pattern;
}

// The pattern's text between its two groups. It starts with "<" and never
// overlaps itself.
constexpr std::string_view kCodeCell = "</td><td class='red big'>";
static_assert(kHistoryPattern.find(kCodeCell) != std::string_view::npos);

// Every match needs a code cell and a "<" after it, so none reaches past the
// first "<" after the last code cell that has one. Up to there every row
// opening starts a match; past it each one would send the lazy groups to the
// end of the page and back, which took minutes for a page of tens of
// megabytes of unclosed openings.
std::size_t MatchableLength(std::string_view page) {
  std::size_t cell = page.rfind(kCodeCell);
  while (cell != std::string_view::npos) {
    std::size_t close = page.find('<', cell + kCodeCell.size());
    if (close != std::string_view::npos) return close + 1;
    cell = cell == 0 ? std::string_view::npos : page.rfind(kCodeCell, cell - 1);
  }
  return 0;
}

}  // namespace

std::string CompactDate(std::chrono::year_month_day day) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d%02u%02u", static_cast<int>(day.year()),
                static_cast<unsigned>(day.month()), static_cast<unsigned>(day.day()));
  return text;
}

std::string HistoryUrl(const std::string& historyBase, const lottery::SourcePages& pages,
                       std::chrono::year_month_day day) {
  char dashed[16];
  std::snprintf(dashed, sizeof dashed, "%04d-%02u-%02u", static_cast<int>(day.year()),
                static_cast<unsigned>(day.month()), static_cast<unsigned>(day.day()));
  return historyBase + pages.history + dashed + "_" + dashed;
}

std::vector<HistoryMatch> FindHistoryMatches(std::string_view page) {
  std::vector<HistoryMatch> matches;
  const std::string_view matchable = page.substr(0, MatchableLength(page));
  if (matchable.empty()) return matches;
  try {
    boost::cregex_iterator match(matchable.data(), matchable.data() + matchable.size(),
                                 HistoryRegex());
    for (; match != boost::cregex_iterator(); ++match) {
      const auto& groups = *match;
      matches.push_back({{groups[1].first, static_cast<std::size_t>(groups[1].length())},
                         {groups[2].first, static_cast<std::size_t>(groups[2].length())}});
    }
  } catch (const std::runtime_error&) {
    // Boost's own limits (memory, complexity) end the search; the matches
    // found so far stay.
  }
  return matches;
}

std::vector<std::string> ParseHistoryPage(std::string_view page, std::string_view compactDate,
                                          const lottery::Lottery& lottery) {
  std::vector<std::string> items;
  for (const HistoryMatch& match : FindHistoryMatches(page)) {
    std::string item = std::string(compactDate) + "-" + std::string(match.sequence);
    if (!lottery::ParseKeptIssue(item, lottery) || !lottery::CheckCode(match.code, lottery)) {
      continue;
    }
    items.push_back(item.append(match.code));
  }
  return items;
}

void PrependHistoryItems(std::vector<std::string>& list, std::string_view page,
                         std::string_view compactDate, const lottery::Lottery& lottery) {
  std::vector<std::string> items = ParseHistoryPage(page, compactDate, lottery);
  std::reverse(items.begin(), items.end());
  list.insert(list.begin(), std::make_move_iterator(items.begin()),
              std::make_move_iterator(items.end()));
}

}  // namespace draws
