#include "draws/feed_draw.h"

#include "net/url_text.h"
#include "plan/digits_only.h"

namespace draws {

std::optional<FeedDraw> ParseFeedDraw(Feed feed, std::string_view body) {
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
