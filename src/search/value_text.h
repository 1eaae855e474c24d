#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "search/fast_formula.h"

namespace search {

// The value text of an evaluation, "%.13g" of formula number x draw number x
// 2 in double arithmetic with the exponent in three digits, kept as numbers:
// the significant digits, then the exponent when there is one.
struct ValueText {
  std::uint64_t significant = 0;  // below 10^13, no trailing zeros when exponent >= 0
  int exponent = -1;              // -1: printed in full

  // The digits read as one decimal number (at most 16 of them): the formula
  // of the position plan's second evaluation.
  std::uint64_t Number() const {
    return exponent < 0 ? significant : significant * 1000 + static_cast<std::uint64_t>(exponent);
  }
};

namespace detail {

inline constexpr std::uint64_t kTenPow13 = 10'000'000'000'000ULL;

// Values of 10^13 and more: 13 significant digits and the exponent. The
// product is the exact integer one when it fits 64 bits.
ValueText RoundedValueText(std::uint64_t formulaNumber, std::uint32_t drawNumber,
                           std::optional<std::uint64_t> product);

}  // namespace detail

inline ValueText MakeValueText(std::uint64_t formulaNumber, std::uint32_t drawNumber) {
  // Below 10^13 the double product is exact and printed in full: the common
  // case, done in integers.
  std::uint64_t value;
  const bool overflow =
      __builtin_mul_overflow(formulaNumber, std::uint64_t{drawNumber} * 2, &value);
  if (!overflow && value < detail::kTenPow13) return {value, -1};
  return detail::RoundedValueText(formulaNumber, drawNumber,
                                  overflow ? std::nullopt : std::optional(value));
}

namespace detail {

inline constexpr std::uint64_t kFraction = (std::uint64_t{1} << 56) - 1;

// ceil(2^56 / 10^k): y * kScale[k] is y / 10^k in 56-bit fixed point, close
// enough for its k digits to come out exactly by multiplying by ten (k <= 8).
inline constexpr std::array<std::uint64_t, 9> kScale = [] {
  std::array<std::uint64_t, 9> scale{};
  std::uint64_t power = 1;
  for (auto& s : scale) {
    s = ((std::uint64_t{1} << 56) + power - 1) / power;
    power *= 10;
  }
  return scale;
}();

inline constexpr std::uint32_t kTenPow8 = 100'000'000;
inline constexpr std::array<std::uint32_t, 10> kPow10 = {
    1, 10, 100, 1'000, 10'000, 100'000, 1'000'000, 10'000'000, 100'000'000, 1'000'000'000};

// The text is read in units of two digits, a pair code 10 a + b; a lone
// digit d is the pair (d, d), which changes nothing when read twice.
inline constexpr unsigned Lone(unsigned digit) { return 11 * digit; }

inline constexpr std::array<std::uint16_t, 100> kPairBits = [] {
  std::array<std::uint16_t, 100> bits{};
  for (unsigned p = 0; p < 100; ++p)
    bits[p] = static_cast<std::uint16_t>(1u << p / 10 | 1u << p % 10);
  return bits;
}();

inline constexpr std::array<std::uint8_t, 1024> kBitCount = [] {
  std::array<std::uint8_t, 1024> count{};
  for (unsigned m = 0; m < 1024; ++m) {
    for (unsigned b = m; b != 0; b &= b - 1) ++count[m];
  }
  return count;
}();

// Writes the k digits of y < 10^k (leading zeros included) as pair codes,
// most significant first; returns the end.
inline std::uint8_t* FixedPairs(std::uint32_t y, unsigned k, std::uint8_t* out) {
  std::uint64_t x = y * kScale[k];
  if (k & 1) {
    x *= 10;
    *out++ = static_cast<std::uint8_t>(Lone(static_cast<unsigned>(x >> 56)));
    x &= kFraction;
  }
  for (unsigned i = 0; i < k / 2; ++i) {
    x *= 100;
    *out++ = static_cast<std::uint8_t>(x >> 56);
    x &= kFraction;
  }
  return out;
}

// A value text as pair codes: at most 7 for the significant digits and 2 for
// the exponent.
struct TextPairs {
  std::array<std::uint8_t, 12> codes;
  int size;
};

inline TextPairs MakeTextPairs(const ValueText& text) {
  TextPairs pairs;
  std::uint8_t* out = pairs.codes.data();
  auto high = static_cast<std::uint32_t>(text.significant / kTenPow8);
  const auto low = static_cast<std::uint32_t>(text.significant % kTenPow8);
  const bool twoParts = high != 0;
  if (!twoParts) high = low;
  // Its digit count from its bit length, one too many at most.
  const std::uint32_t odd = high | 1u;  // crosses no power of ten; 0 has one digit
  const unsigned guess = (32u - static_cast<unsigned>(__builtin_clz(odd))) * 1233u >> 12;
  out = FixedPairs(high, guess + (odd >= kPow10[guess]), out);
  if (twoParts) out = FixedPairs(low, 8, out);
  if (text.exponent >= 0) {
    // The exponent's three digits: 0, then two more (exponents are 13 to 24).
    const auto e = static_cast<unsigned>(text.exponent);
    *out++ = static_cast<std::uint8_t>(e / 10);
    *out++ = static_cast<std::uint8_t>(Lone(e % 10));
  }
  pairs.size = static_cast<int>(out - pairs.codes.data());
  return pairs;
}

}  // namespace detail

// The first `wanted` distinct digits of a value text in order, completed
// from the fill sequence of the last one when the text has too few.
CodeSet Predict(const ValueText& text, int wanted);

// The same prediction where only its digits as a set and its first digit
// matter, for one code count: the distinct digits are counted a pair at a
// time and the completion comes from a table.
class MaskPredictor {
 public:
  explicit MaskPredictor(int codeCount);

  struct Result {
    std::uint16_t mask;
    unsigned first;  // the first digit, 0 for an empty prediction
  };

  Result operator()(const ValueText& text) const {
    if (wanted_ <= 0) return {0, 0};
    const detail::TextPairs pairs = detail::MakeTextPairs(text);
    const unsigned first = pairs.codes[0] / 10u;
    unsigned seen = 0, lastPair = 0, before = 0;
    for (int i = 0; i < pairs.size; ++i) {
      const unsigned pair = pairs.codes[i];
      const unsigned next = seen | detail::kPairBits[pair];
      if (detail::kBitCount[next] >= wanted_) {
        // Enough within this pair: with its first digit alone, or both.
        const unsigned one = seen | 1u << (pair / 10);
        return {static_cast<std::uint16_t>(detail::kBitCount[one] >= wanted_ ? one : next), first};
      }
      lastPair = next != seen ? pair : lastPair;
      before = next != seen ? seen : before;
      seen = next;
    }
    // Too few distinct digits: the last new one chooses the completion.
    const unsigned a = lastPair / 10, b = lastPair % 10;
    const unsigned last = b != a && !((before >> b) & 1u) ? b : a;
    return {fill_[last * 1024 + seen], first};
  }

 private:
  int wanted_;
  std::vector<std::uint16_t> fill_;  // [last digit * 1024 + digits seen]
};

}  // namespace search
