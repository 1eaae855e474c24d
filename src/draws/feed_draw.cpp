#include "draws/feed_draw.h"

#include <chrono>

#include "net/url_text.h"
#include "plan/digits_only.h"

namespace draws {

namespace {

// Issue key YYMMDDNNN. A clock somewhat behind the source's must not refuse
// the first draws of a new day, so the next day still counts.
bool CanBeDrawnBy(std::string_view key, base::LocalTime now) {
  using namespace std::chrono;
  auto number = [&key](std::size_t at) { return (key[at] - '0') * 10 + (key[at + 1] - '0'); };
  const year_month_day date{year(2000 + number(0)), month(static_cast<unsigned>(number(2))),
                            day(static_cast<unsigned>(number(4)))};
  return date.ok() && local_days(date) <= floor<days>(now) + days(1) &&
         IsDrawSequence(key.substr(6));
}

}  // namespace

std::optional<FeedDraw> ParseFeedDraw(Feed feed, std::string_view body, base::LocalTime now) {
  FeedDraw draw;
  if (feed == Feed::First) {
    draw.issueKey = plan::DigitsOnly(net::TextBetween(body, "expect=", "starttime"));
    if (draw.issueKey.size() == 11) draw.issueKey.erase(0, 2);
    draw.code = plan::DigitsOnly(net::TextBetween(body, "opencode=", "order"));
  } else {
    std::string row = net::TextBetween(body, "<row expect=\"", "\" opentime=\"");
    if (row.size() < 11) return std::nullopt;
    draw.issueKey = row.substr(2, 9);
    draw.code = plan::DigitsOnly(row.substr(row.size() - 9));
  }
  if (!IsDigits(draw.issueKey, 9) || !IsDigits(draw.code, 5)) return std::nullopt;
  if (!CanBeDrawnBy(draw.issueKey, now)) return std::nullopt;
  return draw;
}

std::optional<DrawRecord> FeedDrawToInsert(const FeedDraw& draw, std::string_view topIssue) {
  std::string top = IssueKeyText(topIssue);
  if (top.empty() || IssueKeyNumber(draw.issueKey) - IssueKeyNumber(top) <= 0.0000001) {
    return std::nullopt;
  }
  return DrawRecord{IssueFromKey(draw.issueKey), draw.code};
}

}  // namespace draws
