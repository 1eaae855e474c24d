#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/local_time.h"
#include "lottery/draw.h"
#include "lottery/lottery.h"

namespace draws {

// The two small XML documents that carry the latest draw.
enum class Feed { First = 1, Second = 2 };

// A feed's draw: the 9-digit issue key YYMMDDNNN and the five-digit code.
struct FeedDraw {
  std::string issueKey;
  std::string code;
  bool operator==(const FeedDraw&) const = default;
};

// The first draw of a feed body; nullopt when the markers are missing, the
// issue or code is not well formed (a draw that would be cut into a wrong
// issue or code is skipped), or the issue cannot be a draw of the lottery made
// by `now`: its sequence not one of the day's, its date no date or after now's
// next day. Such a draw would stand above every real one. A first-feed issue
// written with 11 digits is read by its last 9.
std::optional<FeedDraw> ParseFeedDraw(Feed feed, std::string_view body, base::LocalTime now,
                                      const lottery::Lottery& lottery);

// The row to insert at the top when the feed's draw is newer than the issue
// of row 0; nullopt when it is not, or when there is no row 0 (empty top).
std::optional<lottery::Draw> FeedDrawToInsert(const FeedDraw& draw, std::string_view topIssue);

}  // namespace draws
