#include "output/number_text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstddef>
#include <limits>
#include <system_error>

namespace output {

std::string AsciiNumberForms(std::string_view text) {
  // U+FF0B '＋', U+FF0D '－', U+FF0E '．', U+FF10..U+FF19 '０'..'９' are
  // EF BC 8B, EF BC 8D, EF BC 8E, EF BC 90..99 in UTF-8.
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i + 2 < text.size() && static_cast<unsigned char>(text[i]) == 0xEF &&
        static_cast<unsigned char>(text[i + 1]) == 0xBC) {
      const auto last = static_cast<unsigned char>(text[i + 2]);
      char ascii = 0;
      if (last >= 0x90 && last <= 0x99) {
        ascii = static_cast<char>('0' + (last - 0x90));
      } else if (last == 0x8B) {
        ascii = '+';
      } else if (last == 0x8D) {
        ascii = '-';
      } else if (last == 0x8E) {
        ascii = '.';
      }
      if (ascii != 0) {
        out.push_back(ascii);
        i += 2;
        continue;
      }
    }
    out.push_back(text[i]);
  }
  return out;
}

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

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

}  // namespace

double NumericValue(std::string_view text) {
  const std::string ascii = AsciiNumberForms(text);
  std::size_t i = 0;
  while (i < ascii.size() && std::isspace(static_cast<unsigned char>(ascii[i])) != 0) {
    ++i;
  }
  bool negative = false;
  if (i < ascii.size() && (ascii[i] == '+' || ascii[i] == '-')) {
    negative = ascii[i] == '-';
    ++i;
  }
  const std::size_t start = i;
  std::size_t digits = 0;
  while (i < ascii.size() && IsDigit(ascii[i])) {
    ++i;
    ++digits;
  }
  if (i < ascii.size() && ascii[i] == '.') {
    ++i;
    while (i < ascii.size() && IsDigit(ascii[i])) {
      ++i;
      ++digits;
    }
  }
  if (digits == 0) {
    return 0.0;
  }
  // An exponent counts only with at least one digit after it: "2e" reads 2.
  if (i < ascii.size() && (ascii[i] == 'e' || ascii[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < ascii.size() && (ascii[j] == '+' || ascii[j] == '-')) {
      ++j;
    }
    if (j < ascii.size() && IsDigit(ascii[j])) {
      while (j < ascii.size() && IsDigit(ascii[j])) {
        ++j;
      }
      i = j;
    }
  }
  double value = 0.0;
  const auto parsed =
      std::from_chars(ascii.data() + start, ascii.data() + i, value, std::chars_format::general);
  if (parsed.ec == std::errc::result_out_of_range) {
    // atof gives HUGE_VAL on overflow and 0 on underflow.
    value = Magnitude(std::string_view(ascii).substr(start, i - start)) > 0
                ? std::numeric_limits<double>::infinity()
                : 0.0;
  }
  return negative ? -value : value;
}

}  // namespace output
