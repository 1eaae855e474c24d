#pragma once

#include <string_view>

namespace base {

// The number at the start of a text as C's atof reads it: leading blanks
// skipped, the longest numeric prefix, 0 when there is none ("80%" is 80).
// Every count, rate and draw number the program reads from a text goes
// through this one rule.
double LeadingNumber(std::string_view text);

}  // namespace base
