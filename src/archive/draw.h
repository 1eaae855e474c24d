#pragma once

#include <string>
#include <string_view>

#include "base/result.h"

namespace archive {

// One draw as the archive keeps it: issue "YYYYMMDD-NNN" and five digits.
struct Draw {
  std::string issue;
  std::string code;
  bool operator==(const Draw&) const = default;
};

inline constexpr int kDrawsPerDay = 120;

// The door of the archive: an issue of a real date in 2000-2099 (the issue
// key drops the century) with a sequence 001-120. The error says why not.
base::Status CheckIssue(std::string_view issue);
// Exactly five ASCII digits.
base::Status CheckCode(std::string_view code);

}  // namespace archive
