#pragma once

#include <string>
#include <string_view>

#include "base/result.h"

namespace lottery {

struct Lottery;

// One draw, as every area holds it: the issue in its kept form "YYYYMMDD-NNN"
// and the code, one digit a place ("38149").
struct Draw {
  std::string issue;
  std::string code;
  bool operator==(const Draw&) const = default;
};

// The door of the archive: an issue in the kept form that ParseIssue reads
// for the lottery. The error says why not.
base::Status CheckIssue(std::string_view issue, const Lottery& lottery);
// Exactly the lottery's number of ASCII digits.
base::Status CheckCode(std::string_view code, const Lottery& lottery);

}  // namespace lottery
