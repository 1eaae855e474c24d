#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "lottery/lottery.h"

namespace draws {

// The day pages list a day's draws in rows this pattern reads: capture 1 the
// sequence number, capture 2 the code.
inline constexpr std::string_view kHistoryPattern =
    "<tr><td class='gray'>(.*?)</td><td class='red big'>(.*?)<";

// The address of the lottery's history page of one day at the base address
// `historyBase`: the same date twice as the day span.
std::string HistoryUrl(const std::string& historyBase, const lottery::SourcePages& pages,
                       std::chrono::year_month_day day);

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

// The history items ("YYYYMMDD-NNNddddd") of one day page of the lottery, in
// page order. A match whose sequence is not one of the day's or whose code is
// not one of the lottery's is skipped: it would give a corrupted or
// impossible row. A page the matcher gives up on keeps the items found before
// that point.
std::vector<std::string> ParseHistoryPage(std::string_view page, std::string_view compactDate,
                                          const lottery::Lottery& lottery);

// Puts the items of one day page at the front of list, one by one, so that
// pages read oldest day first and listing ascending sequences end newest first.
void PrependHistoryItems(std::vector<std::string>& list, std::string_view page,
                         std::string_view compactDate, const lottery::Lottery& lottery);

}  // namespace draws
