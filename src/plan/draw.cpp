#include "plan/draw.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

#include "base/leading_number.h"
#include "base/text.h"

namespace plan {

std::string_view IssueSequence(std::string_view issue) {
  std::size_t dash = 0;
  while (dash < issue.size() && issue[dash] != '-') ++dash;
  if (dash == issue.size()) return {};
  std::size_t end = dash + 1;
  while (end < issue.size() && issue[end] != '-') ++end;
  return issue.substr(dash + 1, end - dash - 1);
}

namespace {

// atof truncated; plain three-digit sequences skip the conversion.
long long SequenceNumber(std::string_view sequence) {
  if (!sequence.empty() && sequence.size() <= 9) {
    long long number = 0;
    for (char c : sequence) {
      if (!base::IsDigit(c)) return base::LeadingCount<long long>(sequence);
      number = number * 10 + (c - '0');
    }
    return number;
  }
  return base::LeadingCount<long long>(sequence);
}

}  // namespace

std::string NextSequence(std::string_view sequence, int count) {
  long long next = SequenceNumber(sequence) + count;
  if (next > kIssuesPerDay) next -= kIssuesPerDay;
  char text[24];
  char* begin = text + 2;
  char* end = std::to_chars(begin, text + sizeof text, next).ptr;
  if (next <= 9) begin -= 2;
  if (next >= 10 && next <= 99) --begin;
  std::fill(begin, text + 2, '0');
  return std::string(begin, end);
}

std::vector<Draw> BuildPlanSource(const std::vector<Draw>& history, std::string_view startIssue) {
  std::size_t count = history.size();
  for (std::size_t row = 0; row < history.size(); ++row) {
    if (history[row].issue == startIssue) {
      count = row + 2 < history.size() ? row + 2 : history.size();
      break;
    }
  }
  return std::vector<Draw>(history.rend() - static_cast<std::ptrdiff_t>(count), history.rend());
}

}  // namespace plan
