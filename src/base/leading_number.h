#pragma once

#include <cmath>
#include <concepts>
#include <limits>
#include <string_view>

namespace base {

// The number at the start of a text as C's atof reads it: leading blanks
// skipped, an optional sign, the longest numeric prefix, 0 when there is none
// ("80%" is 80, "0x1A" 26, "1e999" infinite). Every count, rate and draw
// number the program reads from a text goes through this one rule.
double LeadingNumber(std::string_view text);

// The same reading of the decimal form alone: hex, "inf" and "nan" read 0, so
// the value always compares (a sort key).
double LeadingDecimal(std::string_view text);

// A real number as an integer of type T: truncated toward zero, held within
// T's range ("1e99" is the largest T), 0 for NaN.
template <std::integral T>
T ClampedInteger(double value) {
  if (std::isnan(value)) return 0;
  constexpr double kLeast = static_cast<double>(std::numeric_limits<T>::min());
  // The largest T as a double may round up past it; at or beyond is too far.
  constexpr double kBeyond = static_cast<double>(std::numeric_limits<T>::max()) + 1.0;
  if (value <= kLeast) return std::numeric_limits<T>::min();
  if (value >= kBeyond) return std::numeric_limits<T>::max();
  return static_cast<T>(value);
}

// A count read from a text the user or a settings file may set: the leading
// number, truncated and held within T's range ("inf" is the largest T, "nan"
// 0). A plain static_cast of LeadingNumber would be undefined for "1e99" or
// "-1".
template <std::integral T>
T LeadingCount(std::string_view text) {
  return ClampedInteger<T>(LeadingNumber(text));
}

}  // namespace base
