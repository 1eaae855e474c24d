#include "plan/formula.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace plan {
namespace {

constexpr std::uint64_t kTenPow13 = 10'000'000'000'000ULL;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void AppendDecimal(Digits& out, std::uint64_t value) {
  char buffer[20];
  int length = 0;
  do {
    buffer[length++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  while (length > 0) out.push_back(buffer[--length]);
}

// The digits of "%.13g" for an integral value below 2^64, rounded to 13
// significant digits half to even exactly as printf rounds the exact binary
// value, with the exponent written in three digits.
Digits IntegerValueDigits(std::uint64_t value) {
  Digits digits;
  if (value < kTenPow13) {
    AppendDecimal(digits, value);
    return digits;
  }
  int exponent = 12;
  std::uint64_t scale = 1;
  while (value / scale >= kTenPow13) {
    scale *= 10;
    ++exponent;
  }
  std::uint64_t mantissa = value / scale;
  std::uint64_t rest = value % scale;
  std::uint64_t half = scale / 2;
  if (rest > half || (rest == half && (mantissa & 1) != 0)) ++mantissa;
  if (mantissa == kTenPow13) {
    mantissa /= 10;
    ++exponent;
  }
  while (mantissa % 10 == 0) mantissa /= 10;
  AppendDecimal(digits, mantissa);
  digits.push_back('0');  // exponents here are 13..19: two digits, padded to three
  digits.push_back(static_cast<char>('0' + exponent / 10));
  digits.push_back(static_cast<char>('0' + exponent % 10));
  return digits;
}

// Any other value goes through printf itself; only the exponent width differs.
Digits PrintedValueDigits(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.13g", value);
  std::string_view printed(text);
  Digits digits;
  auto e = printed.find_first_of("eE");
  for (char c : printed.substr(0, e)) {
    if (IsDigit(c)) digits.push_back(c);
  }
  if (e != std::string_view::npos) {
    std::string exponent;
    for (char c : printed.substr(e)) {
      if (IsDigit(c)) exponent.push_back(c);
    }
    for (std::size_t i = exponent.size(); i < 3; ++i) digits.push_back('0');
    for (char c : exponent) digits.push_back(c);
  }
  return digits;
}

Digits ValueDigits(double value) {
  if (value >= 0 && value < 18446744073709551616.0) {
    auto integral = static_cast<std::uint64_t>(value);
    if (static_cast<double>(integral) == value) return IntegerValueDigits(integral);
  }
  return PrintedValueDigits(value);
}

// The number the formula's digits denote once the letters are replaced.
double FormulaNumber(std::string_view drawDigits, std::string_view formula) {
  bool haveDigits = drawDigits.size() == 5;
  std::uint64_t number = 0;
  int significant = 0;
  for (char c : formula) {
    char x = c;
    if (c >= 'A' && c <= 'E') {
      if (!haveDigits) continue;
      x = drawDigits[c - 'A'];
    }
    if (!IsDigit(x) || (significant == 0 && x == '0')) continue;
    if (++significant > 19) break;
    number = number * 10 + static_cast<std::uint64_t>(x - '0');
  }
  // A 19-digit integer converts with the same rounding strtod applies.
  if (significant <= 19) return static_cast<double>(number);

  std::string text;
  for (char c : formula) {
    char x = c;
    if (c >= 'A' && c <= 'E') {
      if (!haveDigits) continue;
      x = drawDigits[c - 'A'];
    }
    if (IsDigit(x)) text.push_back(x);
  }
  return std::strtod(text.c_str(), nullptr);
}

double DrawNumber(std::string_view drawDigits) {
  std::uint64_t number = 0;
  for (char c : drawDigits) {
    if (!IsDigit(c) || drawDigits.size() > 18) {
      return std::atof(std::string(drawDigits).c_str());
    }
    number = number * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return static_cast<double>(number);
}

}  // namespace

Evaluation EvaluateFormula(std::string_view drawDigits, int codeCount, std::string_view formula) {
  double value = FormulaNumber(drawDigits, formula) * DrawNumber(drawDigits) * 2;
  Evaluation result;
  result.valueDigits = ValueDigits(value);

  std::size_t wanted = codeCount < 0 ? 0 : static_cast<std::size_t>(codeCount);
  Digits& prediction = result.prediction;
  unsigned seen = 0;
  for (char c : result.valueDigits.view()) {
    unsigned bit = 1u << (c - '0');
    if ((seen & bit) == 0) {
      seen |= bit;
      prediction.push_back(c);
    }
  }
  if (prediction.size() < wanted) {
    int last = prediction.empty() ? 0 : prediction[prediction.size() - 1] - '0';
    for (char c : kFillSequences[last]) {
      if (prediction.size() >= wanted) break;
      unsigned bit = 1u << (c - '0');
      if ((seen & bit) == 0) {
        seen |= bit;
        prediction.push_back(c);
      }
    }
  }
  prediction.resize(wanted);
  return result;
}

std::string_view CompanionFormula(std::string_view prediction) {
  int number = !prediction.empty() && IsDigit(prediction[0]) ? prediction[0] - '0' : 0;
  return kCompanionFormulas[number == 0 ? 0 : number - 1];
}

std::string SortDigits(std::string_view prediction) {
  std::array<int, 10> counts{};
  for (char c : prediction) ++counts[IsDigit(c) ? c - '0' : 0];
  std::string sorted;
  sorted.reserve(prediction.size());
  for (int d = 0; d < 10; ++d)
    sorted.append(static_cast<std::size_t>(counts[d]), static_cast<char>('0' + d));
  return sorted;
}

}  // namespace plan
