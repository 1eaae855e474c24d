#pragma once

#include <string>
#include <string_view>

namespace output {

// Full-width digits, signs and point (as an IME types them) in their ASCII
// forms; every other character unchanged.
std::string AsciiNumberForms(std::string_view text);

// The number at the start of the text the way C's atof reads it: leading
// blanks skipped, the longest decimal prefix (sign, digits, point, exponent),
// 0 when there is none. Full-width forms count as their ASCII forms. Hex,
// "inf" and "nan" are not numbers here, so the result is always comparable.
double NumericValue(std::string_view text);

}  // namespace output
