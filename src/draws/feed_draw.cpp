#include "draws/feed_draw.h"

#include <chrono>

#include "draws/issue_key.h"
#include "lottery/issue.h"
#include "net/url_text.h"
#include "plan/digits_only.h"

namespace draws {

namespace {

// Issue key YYMMDDNNN. A clock somewhat behind the source's must not refuse
// the first draws of a new day, so the next day still counts.
bool CanBeDrawnBy(std::string_view key, base::LocalTime now, const lottery::Lottery& lottery) {
  using namespace std::chrono;
  auto issue = lottery::ParseKeptIssue(IssueFromKey(key), lottery);
  return issue && local_days(issue.value().date) <= floor<days>(now) + days(1);
}

}  // namespace

std::optional<FeedDraw> ParseFeedDraw(Feed feed, std::string_view body, base::LocalTime now,
                                      const lottery::Lottery& lottery) {
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
  if (!IsDigits(draw.issueKey, 9)) return std::nullopt;
  if (!lottery::CheckCode(draw.code, lottery)) return std::nullopt;
  if (!CanBeDrawnBy(draw.issueKey, now, lottery)) return std::nullopt;
  return draw;
}

std::optional<lottery::Draw> FeedDrawToInsert(const FeedDraw& draw, std::string_view topIssue) {
  std::string top = IssueKeyText(topIssue);
  if (top.empty() || IssueKeyNumber(draw.issueKey) - IssueKeyNumber(top) <= 0.0000001) {
    return std::nullopt;
  }
  return lottery::Draw{IssueFromKey(draw.issueKey), draw.code};
}

}  // namespace draws
