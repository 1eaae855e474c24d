#include "search/fast_formula.h"

#include "base/text.h"

namespace search {

std::optional<DrawValue> ParseDrawValue(std::string_view drawDigits) {
  if (drawDigits.size() != 5) return std::nullopt;
  DrawValue draw;
  for (int i = 0; i < 5; ++i) {
    const char c = drawDigits[i];
    if (!base::IsDigit(c)) return std::nullopt;
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
    const bool digit = base::IsDigit(c);
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

}  // namespace search
