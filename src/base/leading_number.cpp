#include "base/leading_number.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdlib>
#include <string>
#include <system_error>

#include "base/text.h"

namespace base {
namespace {

// atof's blanks: those of isspace in the C locale.
constexpr std::string_view kAtofBlanks = " \t\n\v\f\r";

// Rough decimal order of a number text that is out of the double range:
// positive for huge values, negative or zero for tiny ones.
long long Magnitude(std::string_view number) {
  const std::size_t exponentAt = number.find_first_of("eE");
  const std::string_view mantissa = number.substr(0, exponentAt);
  long long exponent = 0;
  if (exponentAt != std::string_view::npos) {
    std::string_view digits = number.substr(exponentAt + 1);
    const bool negative = !digits.empty() && digits.front() == '-';
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
      digits.remove_prefix(1);
    }
    for (char c : digits) {
      exponent = std::min<long long>(exponent * 10 + (c - '0'), 1'000'000'000);
    }
    exponent = negative ? -exponent : exponent;
  }
  const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
  const std::size_t firstSignificant = mantissa.find_first_of("123456789");
  if (firstSignificant == std::string_view::npos) {
    return 0;
  }
  const long long order = firstSignificant < point
                              ? static_cast<long long>(point - firstSignificant)
                              : -static_cast<long long>(firstSignificant - point - 1);
  return order + exponent;
}

std::size_t SkipDigits(std::string_view text, std::size_t at) {
  while (at < text.size() && IsDigit(text[at])) ++at;
  return at;
}

}  // namespace

double LeadingDecimal(std::string_view text) {
  std::size_t i = std::min(text.find_first_not_of(kAtofBlanks), text.size());
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  const std::size_t start = i;
  i = SkipDigits(text, i);
  std::size_t digits = i - start;
  if (i < text.size() && text[i] == '.') {
    const std::size_t fraction = i + 1;
    i = SkipDigits(text, fraction);
    digits += i - fraction;
  }
  if (digits == 0) return 0.0;
  // An exponent counts only with at least one digit after it: "2e" reads 2.
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && IsDigit(text[j])) i = SkipDigits(text, j);
  }
  double value = 0.0;
  const auto parsed =
      std::from_chars(text.data() + start, text.data() + i, value, std::chars_format::general);
  if (parsed.ec == std::errc::result_out_of_range) {
    // atof gives HUGE_VAL on overflow and 0 on underflow.
    value = Magnitude(text.substr(start, i - start)) > 0 ? std::numeric_limits<double>::infinity()
                                                         : 0.0;
  }
  return negative ? -value : value;
}

double LeadingNumber(std::string_view text) {
  std::string_view number = Trim(text, kAtofBlanks);
  if (number.starts_with('+') || number.starts_with('-')) number.remove_prefix(1);
  // atof's other forms are rare enough to leave to the C library.
  for (std::string_view form : {"0x", "inf", "nan"}) {
    if (StartsWithNoCase(number, form)) return std::strtod(std::string(text).c_str(), nullptr);
  }
  return LeadingDecimal(text);
}

}  // namespace base
