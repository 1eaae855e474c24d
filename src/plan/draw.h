#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace plan {

// One row of the draw list: issue "YYYYMMDD-NNN" and the five digits "ddddd".
struct Draw {
  std::string issue;
  std::string digits;
  bool operator==(const Draw&) const = default;
};

// Chongqing draws 120 issues a day.
inline constexpr int kIssuesPerDay = 120;

// The part of an issue after its first "-" and before any further "-".
std::string_view IssueSequence(std::string_view issue);

// The sequence count issues after sequence, as three digits, wrapping once
// past the last issue of the day: (119, 3) gives "002".
std::string NextSequence(std::string_view sequence, int count);

// The plan source cut from a history held newest first: oldest first, from the
// draw just before startIssue to the newest. Without a match (an empty start
// issue, say) the whole history.
std::vector<Draw> BuildPlanSource(const std::vector<Draw>& history, std::string_view startIssue);

}  // namespace plan
