#include "archive/draw_line.h"

#include "base/text.h"
#include "lottery/issue.h"

namespace archive {
namespace {

// A line's own end is gone; spreadsheets leave the rest.
constexpr std::string_view kBlanks = " \t\r\v\f";

// Spreadsheets quote CSV fields at will.
std::string_view Field(std::string_view text) {
  text = base::Trim(text, kBlanks);
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    text = base::Trim(text.substr(1, text.size() - 2), kBlanks);
  }
  return text;
}

// Splits at the one comma, or else at the one run of blanks.
bool SplitFields(std::string_view line, std::string_view& first, std::string_view& second) {
  std::size_t at = line.find(',');
  std::size_t rest = at + 1;
  if (at == std::string_view::npos) {
    at = line.find_first_of(" \t");
    if (at == std::string_view::npos) return false;
    rest = line.find_first_not_of(" \t", at);
  } else if (line.find(',', rest) != std::string_view::npos) {
    return false;
  }
  first = Field(line.substr(0, at));
  second = Field(line.substr(rest));
  return !first.empty() && !second.empty() && second.find_first_of(" \t") == std::string_view::npos;
}

DrawLine Rejected(std::string reason) { return {DrawLine::Kind::Rejected, {}, std::move(reason)}; }

}  // namespace

DrawLine ParseDrawLine(std::string_view line, const lottery::Lottery& lottery) {
  line = base::Trim(line, kBlanks);
  if (line.empty() || line.front() == '#') return {};
  std::string_view issueText, codeText;
  if (!SplitFields(line, issueText, codeText)) return Rejected("not an issue and a code");
  if (base::EqualsNoCase(issueText, "issue") && base::EqualsNoCase(codeText, "code")) return {};

  auto issue = lottery::ParseIssue(issueText, lottery);
  if (!issue) return Rejected(issue.error().message);
  if (auto checked = lottery::CheckCode(codeText, lottery); !checked) {
    return Rejected(checked.error().message);
  }
  return {DrawLine::Kind::Draw, {lottery::IssueText(issue.value()), std::string(codeText)}, {}};
}

}  // namespace archive
