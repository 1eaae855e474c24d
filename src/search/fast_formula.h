#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace search {

// A base draw of exactly five ASCII digits, taken apart once per search.
struct DrawValue {
  std::array<std::uint8_t, 5> digits{};
  std::uint32_t number = 0;  // the five digits as one decimal number
};
std::optional<DrawValue> ParseDrawValue(std::string_view drawDigits);

// A prediction as digit values in evaluation order and a membership mask.
struct CodeSet {
  std::uint16_t mask = 0;
  std::uint8_t size = 0;
  std::array<std::uint8_t, 10> digits{};
};

// plan::EvaluateFormula, taken apart for the search's inner loop: a formula
// is reduced once to weights per letter, so evaluating it on a draw is a few
// multiplications instead of a walk over its text. Both give the same
// prediction and value digits for every formula Compile accepts and every
// five-digit draw.
class FastFormula {
 public:
  // nullopt when the letters and digits exceed 19 places (the number would
  // not fit 64 bits); such formulas take the plain evaluation.
  static std::optional<FastFormula> Compile(std::string_view formula);

  std::uint64_t constant() const { return constant_; }
  // The place value of each letter A-E, summed over its occurrences.
  const std::array<std::uint64_t, 5>& weights() const { return weights_; }

  // The number the formula's digits denote on this draw.
  std::uint64_t Number(const DrawValue& draw) const {
    std::uint64_t n = constant_;
    for (int i = 0; i < 5; ++i) n += weights_[i] * draw.digits[i];
    return n;
  }

 private:
  std::uint64_t constant_ = 0;
  std::array<std::uint64_t, 5> weights_{};
};

}  // namespace search
