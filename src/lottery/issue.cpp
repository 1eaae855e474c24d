#include "lottery/issue.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "base/leading_number.h"
#include "base/text.h"
#include "lottery/lottery.h"

namespace lottery {
namespace {

int Number(std::string_view digits) {
  int value = 0;
  for (char c : digits) value = value * 10 + (c - '0');
  return value;
}

std::string ThreeDigits(int number) {
  char text[16];
  std::snprintf(text, sizeof text, "%03d", number);
  return text;
}

// The eight digits of the date and the three of the sequence, however the
// issue was written.
base::Result<Issue> ParseParts(std::string_view date, std::string_view sequenceText,
                               const Lottery& lottery) {
  if (!base::IsDigits(date) || !base::IsDigits(sequenceText))
    return base::Error{"bad issue number"};
  const int year = Number(date.substr(0, 4));
  if (year < 2000 || year > 2099) {
    return base::Error{"year " + std::string(date.substr(0, 4)) + " outside 2000-2099"};
  }
  const std::chrono::year_month_day day{std::chrono::year(year),
                                        std::chrono::month(Number(date.substr(4, 2))),
                                        std::chrono::day(Number(date.substr(6, 2)))};
  if (!day.ok()) return base::Error{"no such date " + std::string(date)};
  const int sequence = Number(sequenceText);
  const int last = lottery.schedule.DrawsPerDay();
  if (sequence < 1 || sequence > last) {
    return base::Error{"sequence " + std::string(sequenceText) + " outside 001-" +
                       ThreeDigits(last)};
  }
  return Issue{day, sequence};
}

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

std::string IssueText(const Issue& issue) {
  char text[24];
  std::snprintf(text, sizeof text, "%04d%02u%02u-%03d", static_cast<int>(issue.date.year()),
                static_cast<unsigned>(issue.date.month()), static_cast<unsigned>(issue.date.day()),
                issue.sequence);
  return text;
}

std::string LongIssueText(const Issue& issue) {
  std::string text = IssueText(issue);
  return text.erase(8, 1);
}

base::Result<Issue> ParseIssue(std::string_view text, const Lottery& lottery) {
  if (text.size() == 11) return ParseParts(text.substr(0, 8), text.substr(8), lottery);
  return ParseKeptIssue(text, lottery);
}

base::Result<Issue> ParseKeptIssue(std::string_view text, const Lottery& lottery) {
  if (text.size() != 12 || text[8] != '-') return base::Error{"bad issue number"};
  return ParseParts(text.substr(0, 8), text.substr(9), lottery);
}

std::string_view IssueSequence(std::string_view issue) {
  std::size_t dash = 0;
  while (dash < issue.size() && issue[dash] != '-') ++dash;
  if (dash == issue.size()) return {};
  std::size_t end = dash + 1;
  while (end < issue.size() && issue[end] != '-') ++end;
  return issue.substr(dash + 1, end - dash - 1);
}

std::string SequenceAfter(std::string_view sequence, int count, int drawsPerDay) {
  long long next = SequenceNumber(sequence) + count;
  if (next > drawsPerDay) next -= drawsPerDay;
  char text[24];
  char* begin = text + 2;
  char* end = std::to_chars(begin, text + sizeof text, next).ptr;
  if (next <= 9) begin -= 2;
  if (next >= 10 && next <= 99) --begin;
  std::fill(begin, text + 2, '0');
  return std::string(begin, end);
}

}  // namespace lottery
