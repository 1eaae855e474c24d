#pragma once

#include <string>
#include <string_view>

#include "lottery/draw.h"
#include "lottery/lottery.h"

namespace archive {

// One line of a draw file, its form detected on its own:
//   issue,code            CSV; the header "issue,code" and quoted fields too
//   issue<TAB>code        tab-separated
//   issue code            blank-separated
// where the issue is "YYYYMMDD-NNN" or the 11 digits "YYYYMMDDNNN", one of
// the lottery's.
// Blank lines and lines starting with '#' carry nothing.
struct DrawLine {
  enum class Kind { Draw, Nothing, Rejected };
  Kind kind = Kind::Nothing;
  lottery::Draw draw;  // Kind::Draw, issue always in the dashed form
  std::string reason;  // Kind::Rejected
};

// The line without its line end (a trailing CR is allowed).
DrawLine ParseDrawLine(std::string_view line, const lottery::Lottery& lottery);

}  // namespace archive
