#include "plan/formula.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace plan {
namespace {

constexpr std::uint64_t kTenPow13 = 10'000'000'000'000ULL;

constexpr std::array<std::uint64_t, 20> kPowersOfTen = [] {
  std::array<std::uint64_t, 20> powers{};
  std::uint64_t power = 1;
  for (auto& p : powers) {
    p = power;
    power *= 10;
  }
  return powers;
}();

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "00" to "99", for writing two digits per division.
constexpr std::array<char, 200> kDigitPairs = [] {
  std::array<char, 200> pairs{};
  for (int i = 0; i < 100; ++i) {
    pairs[2 * i] = static_cast<char>('0' + i / 10);
    pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return pairs;
}();

// Writes value right-aligned so that it ends at end; returns its first char.
char* WriteDecimal(char* end, std::uint64_t value) {
  while (value >= 100) {
    end -= 2;
    std::memcpy(end, &kDigitPairs[2 * (value % 100)], 2);
    value /= 100;
  }
  if (value >= 10) {
    end -= 2;
    std::memcpy(end, &kDigitPairs[2 * value], 2);
  } else {
    *--end = static_cast<char>('0' + value);
  }
  return end;
}

// The digits of "%.13g" for an integral value below 2^64, rounded to 13
// significant digits half to even exactly as printf rounds the exact binary
// value, with the exponent written in three digits.
Digits IntegerValueDigits(std::uint64_t value) {
  // The text ends at buffer + 24; the bytes after it let FromBuffer copy 16.
  char buffer[48];
  char* const last = buffer + 24;
  char* end = last;
  if (value < kTenPow13) {
    char* begin = WriteDecimal(end, value);
    return Digits::FromBuffer(begin, static_cast<std::size_t>(last - begin));
  }
  // Count the digits by comparison: one division in all, not one per digit.
  int length = 14;
  while (length < 20 && value >= kPowersOfTen[static_cast<std::size_t>(length)]) ++length;
  int exponent = length - 1;
  std::uint64_t scale = kPowersOfTen[static_cast<std::size_t>(length - 13)];
  std::uint64_t mantissa = value / scale;
  std::uint64_t rest = value - mantissa * scale;
  std::uint64_t half = scale / 2;
  if (rest > half || (rest == half && (mantissa & 1) != 0)) ++mantissa;
  if (mantissa == kTenPow13) {
    mantissa /= 10;
    ++exponent;
  }
  while (mantissa % 10 == 0) mantissa /= 10;
  // Exponents here are 13 to 19: two digits, widened to three.
  end -= 3;
  end[0] = '0';
  std::memcpy(end + 1, &kDigitPairs[2 * exponent], 2);
  char* begin = WriteDecimal(end, mantissa);
  return Digits::FromBuffer(begin, static_cast<std::size_t>(last - begin));
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

// The formula's digits once the letters are replaced, beyond 19 significant
// digits: strtod rounds them.
double LongFormulaNumber(const int (&letters)[5], std::string_view formula) {
  std::string text;
  for (char c : formula) {
    if (c >= 'A' && c <= 'E') {
      if (letters[c - 'A'] >= 0) text.push_back(static_cast<char>('0' + letters[c - 'A']));
    } else if (IsDigit(c)) {
      text.push_back(c);
    }
  }
  return std::strtod(text.c_str(), nullptr);
}

// The number the formula denotes once its letters are replaced by the draw's
// characters (only digit characters count) and the number the draw denotes.
double FormulaValue(std::string_view drawDigits, std::string_view formula) {
  int letters[5] = {-1, -1, -1, -1, -1};
  double drawNumber = 0;
  if (drawDigits.size() == 5) {
    std::uint64_t number = 0;
    bool allDigits = true;
    for (int i = 0; i < 5; ++i) {
      char c = drawDigits[static_cast<std::size_t>(i)];
      if (IsDigit(c)) {
        letters[i] = c - '0';
        number = number * 10 + static_cast<std::uint64_t>(c - '0');
      } else {
        allDigits = false;
      }
    }
    drawNumber =
        allDigits ? static_cast<double>(number) : std::atof(std::string(drawDigits).c_str());
  } else if (!drawDigits.empty()) {
    drawNumber = std::atof(std::string(drawDigits).c_str());
  }

  // Below 10^18 one more digit still fits: nineteen digits are exact.
  constexpr std::uint64_t kLimit = 1'000'000'000'000'000'000ULL;
  std::uint64_t number = 0;
  for (char c : formula) {
    unsigned digit = static_cast<unsigned char>(c) - unsigned{'0'};
    if (digit > 9) {
      unsigned letter = static_cast<unsigned char>(c) - unsigned{'A'};
      if (letter > 4 || letters[letter] < 0) continue;
      digit = static_cast<unsigned>(letters[letter]);
    }
    if (number >= kLimit) return LongFormulaNumber(letters, formula) * drawNumber * 2;
    number = number * 10 + digit;
  }
  // Up to 19 digits convert with the same rounding strtod applies.
  return static_cast<double>(number) * drawNumber * 2;
}

}  // namespace

Evaluation EvaluateFormula(std::string_view drawDigits, int codeCount, std::string_view formula) {
  Evaluation result;
  result.valueDigits = ValueDigits(FormulaValue(drawDigits, formula));

  // Distinct digits in order of first occurrence, written without branching
  // on the (random) digits.
  char distinct[Digits::kCapacity + 16];
  std::size_t size = 0;
  unsigned seen = 0;
  for (char c : result.valueDigits.view()) {
    unsigned bit = 1u << (c - '0');
    distinct[size] = c;
    size += (seen & bit) == 0;
    seen |= bit;
  }
  std::size_t wanted = codeCount < 0 ? 0 : static_cast<std::size_t>(codeCount);
  if (size < wanted) {
    int last = size == 0 ? 0 : distinct[size - 1] - '0';
    for (char c : kFillSequences[static_cast<std::size_t>(last)]) {
      if (size >= wanted) break;
      unsigned bit = 1u << (c - '0');
      distinct[size] = c;
      size += (seen & bit) == 0;
      seen |= bit;
    }
  }
  result.prediction = Digits::FromBuffer(distinct, size < wanted ? size : wanted);
  return result;
}

std::string_view CompanionFormula(std::string_view prediction) {
  int number = !prediction.empty() && IsDigit(prediction[0]) ? prediction[0] - '0' : 0;
  return kCompanionFormulas[number == 0 ? 0 : number - 1];
}

std::string SortDigits(std::string_view prediction) {
  if (prediction.size() <= 16) {
    // Ten five-bit counters in one word: predictions are short.
    std::uint64_t counts = 0;
    for (char c : prediction) counts += 1ULL << (5 * (IsDigit(c) ? c - '0' : 0));
    char sorted[16];
    std::size_t at = 0;
    for (int d = 0; counts != 0; ++d, counts >>= 5) {
      for (auto k = counts & 31; k != 0; --k) sorted[at++] = static_cast<char>('0' + d);
    }
    return std::string(sorted, at);
  }
  std::array<std::size_t, 10> counts{};
  for (char c : prediction) ++counts[IsDigit(c) ? c - '0' : 0];
  std::string sorted;
  sorted.reserve(prediction.size());
  for (int d = 0; d < 10; ++d) sorted.append(counts[d], static_cast<char>('0' + d));
  return sorted;
}

}  // namespace plan
