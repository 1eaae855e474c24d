#include "search/fast_formula.h"

#include "plan/formula.h"

namespace search {
namespace {

__extension__ using Wide = unsigned __int128;

constexpr std::uint64_t kTenPow13 = 10'000'000'000'000ULL;

// Writes the decimal digits of value, most significant first; returns the count.
int WriteDecimal(std::uint64_t value, std::uint8_t* out) {
  std::uint8_t reversed[20];
  int length = 0;
  while (value >= 100) {
    const auto pair = static_cast<std::uint32_t>(value % 100);
    value /= 100;
    reversed[length++] = static_cast<std::uint8_t>(pair % 10);
    reversed[length++] = static_cast<std::uint8_t>(pair / 10);
  }
  do {
    reversed[length++] = static_cast<std::uint8_t>(value % 10);
    value /= 10;
  } while (value != 0);
  for (int i = 0; i < length; ++i) out[i] = reversed[length - 1 - i];
  return length;
}

}  // namespace

std::optional<DrawValue> ParseDrawValue(std::string_view drawDigits) {
  if (drawDigits.size() != 5) return std::nullopt;
  DrawValue draw;
  for (int i = 0; i < 5; ++i) {
    const char c = drawDigits[i];
    if (c < '0' || c > '9') return std::nullopt;
    draw.digits[i] = static_cast<std::uint8_t>(c - '0');
    draw.number = draw.number * 10 + draw.digits[i];
  }
  return draw;
}

std::optional<FastFormula> FastFormula::Compile(std::string_view formula) {
  // Walk from the last meaningful character to the first, so each one's
  // place value is known when it is met.
  FastFormula compiled;
  std::uint64_t place = 1;
  int places = 0;
  for (auto it = formula.rbegin(); it != formula.rend(); ++it) {
    const char c = *it;
    const bool letter = c >= 'A' && c <= 'E';
    const bool digit = c >= '0' && c <= '9';
    if (!letter && !digit) continue;
    if (++places > 19) return std::nullopt;
    if (letter) {
      compiled.weights_[c - 'A'] += place;
    } else {
      compiled.constant_ += place * static_cast<std::uint64_t>(c - '0');
    }
    if (places < 19) place *= 10;
  }
  return compiled;
}

FastFormula FastFormula::OfNumber(std::uint64_t number) {
  FastFormula formula;
  formula.constant_ = number;
  return formula;
}

FastEvaluation EvaluateFast(std::uint64_t formulaNumber, std::uint32_t drawNumber, int codeCount) {
  // The same double arithmetic as the plan engine: the value is always an
  // integer, below 2^128 for numbers of at most 19 digits.
  const double value = static_cast<double>(formulaNumber) * static_cast<double>(drawNumber) * 2;
  // Converting to 128 bits is a library call; most values fit 64.
  const Wide integral = value < 18446744073709551616.0
                            ? static_cast<Wide>(static_cast<std::uint64_t>(value))
                            : static_cast<Wide>(value);

  FastEvaluation result;
  std::uint8_t text[24];
  int length;
  if (value < 1e13) {
    const auto small = static_cast<std::uint64_t>(value);
    length = WriteDecimal(small, text);
    result.valueNumber = small;
  } else {
    // "%.13g": 13 significant digits rounded half to even on the exact
    // value, trailing zeros dropped, then the exponent in three digits.
    int exponent = 12;
    Wide scale = 1;
    while (integral / scale >= kTenPow13) {
      scale *= 10;
      ++exponent;
    }
    auto mantissa = static_cast<std::uint64_t>(integral / scale);
    const Wide rest = integral % scale;
    const Wide half = scale / 2;
    if (rest > half || (rest == half && (mantissa & 1) != 0)) ++mantissa;
    if (mantissa == kTenPow13) {
      mantissa /= 10;
      ++exponent;
    }
    while (mantissa % 10 == 0) mantissa /= 10;
    length = WriteDecimal(mantissa, text);
    text[length++] = 0;
    text[length++] = static_cast<std::uint8_t>(exponent / 10);
    text[length++] = static_cast<std::uint8_t>(exponent % 10);
    result.valueNumber = mantissa * 1000 + static_cast<std::uint64_t>(exponent);
  }

  const int wanted = codeCount < 0 ? 0 : (codeCount > 10 ? 10 : codeCount);
  CodeSet& set = result.prediction;
  std::uint16_t seen = 0;
  for (int i = 0; i < length && set.size < wanted; ++i) {
    const std::uint8_t d = text[i];
    if (!((seen >> d) & 1u)) {
      seen |= static_cast<std::uint16_t>(1u << d);
      set.digits[set.size++] = d;
    }
  }
  if (set.size < wanted && set.size > 0) {
    // Too few distinct digits: the scan saw them all, and the last one
    // chooses the fill sequence.
    for (char c : plan::kFillSequences[set.digits[set.size - 1]]) {
      if (set.size >= wanted) break;
      const int d = c - '0';
      if (!((seen >> d) & 1u)) {
        seen |= static_cast<std::uint16_t>(1u << d);
        set.digits[set.size++] = static_cast<std::uint8_t>(d);
      }
    }
  }
  set.mask = seen;
  return result;
}

}  // namespace search
