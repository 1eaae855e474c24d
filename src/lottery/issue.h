#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "base/result.h"

namespace lottery {

struct Lottery;

// An issue: the day it belongs to and its place in that day, from 1.
struct Issue {
  std::chrono::year_month_day date;
  int sequence = 0;
  bool operator==(const Issue&) const = default;
};

// "YYYYMMDD-NNN", the form issues are kept, shown and stored in.
std::string IssueText(const Issue& issue);
// "YYYYMMDDNNN", the form of the second feed and of some draw files.
std::string LongIssueText(const Issue& issue);

// Reads either form: a real date in 2000-2099 (the feeds' issue keys drop the
// century) and a sequence from 001 to the lottery's draws a day. The error
// says why not, in the words of the import report.
base::Result<Issue> ParseIssue(std::string_view text, const Lottery& lottery);
// The same for the kept form "YYYYMMDD-NNN" only.
base::Result<Issue> ParseKeptIssue(std::string_view text, const Lottery& lottery);

// The part of an issue after its first "-" and before any further "-".
std::string_view IssueSequence(std::string_view issue);

// The sequence count draws after sequence, as three digits, wrapping once
// past the last draw of the day: (119, 3) gives "002" with 120 a day. A
// sequence that is no number counts from its leading number, as atof reads it.
std::string SequenceAfter(std::string_view sequence, int count, int drawsPerDay);

}  // namespace lottery
