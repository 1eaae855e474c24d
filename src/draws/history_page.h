#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace draws {

// The day pages list a day's draws in rows this pattern reads: capture 1 the
// sequence number, capture 2 the code.
inline constexpr std::string_view kHistoryPattern =
    "<tr><td class='gray'>(.*?)</td><td class='red big'>(.*?)<";

// Path and query of the history page of one day.
inline constexpr std::string_view kHistoryPath = "/kaijiang/kaijiang";
std::string HistoryQuery(std::chrono::year_month_day day);

// "YYYYMMDD" of a day.
std::string CompactDate(std::chrono::year_month_day day);

// One match of kHistoryPattern; both captures point into the page.
struct HistoryMatch {
  std::string_view sequence;
  std::string_view code;
};

// Every match of kHistoryPattern in page, left to right and not overlapping,
// exactly as Boost finds them over the whole page, in time linear in the page.
std::vector<HistoryMatch> FindHistoryMatches(std::string_view page);

// The history items ("YYYYMMDD-NNNddddd") of one day page, in page order.
// A match whose sequence is not one of the day's (001 to 120) or whose code
// is not five digits is skipped: it would give a corrupted or impossible row.
// A page the matcher gives up on keeps the items found before that point.
std::vector<std::string> ParseHistoryPage(std::string_view page, std::string_view compactDate);

// Puts the items of one day page at the front of list, one by one, so that
// pages read oldest day first and listing ascending sequences end newest first.
void PrependHistoryItems(std::vector<std::string>& list, std::string_view page,
                         std::string_view compactDate);

}  // namespace draws
