#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "plan/value_rounding.h"
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
  if (!overflow && value < plan::kTenPow13) return {value, -1};
  return detail::RoundedValueText(formulaNumber, drawNumber,
                                  overflow ? std::nullopt : std::optional(value));
}

namespace detail {

inline constexpr std::uint64_t kFraction = (std::uint64_t{1} << 56) - 1;

// ceil(2^56 / 10^k): y * kScale[k] is y / 10^k in 56-bit fixed point, close
// enough for its k digits to come out exactly by multiplying by ten (k <= 8).
inline constexpr std::array<std::uint64_t, 9> kScale = [] {
  std::array<std::uint64_t, 9> scale{};
  for (std::size_t k = 0; k < scale.size(); ++k)
    scale[k] = ((std::uint64_t{1} << 56) + plan::kPowersOfTen[k] - 1) / plan::kPowersOfTen[k];
  return scale;
}();

inline constexpr auto kTenPow8 = static_cast<std::uint32_t>(plan::kPowersOfTen[8]);
// The powers of ten below 2^32, narrowed for 32-bit comparisons.
inline constexpr std::array<std::uint32_t, 10> kPow10 = [] {
  std::array<std::uint32_t, 10> powers{};
  for (std::size_t i = 0; i < powers.size(); ++i)
    powers[i] = static_cast<std::uint32_t>(plan::kPowersOfTen[i]);
  return powers;
}();

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

// Feeds the k digits of y < 10^k (leading zeros included) to scan as pair
// codes, most significant first; true as soon as scan.Unit is.
template <typename Scan>
[[gnu::always_inline]] inline bool ScanFixed(std::uint32_t y, unsigned k, Scan& scan) {
  std::uint64_t x = y * kScale[k];
  if (k & 1) {
    x *= 10;
    if (scan.Unit(Lone(static_cast<unsigned>(x >> 56)))) return true;
    x &= kFraction;
  }
  for (unsigned i = 0; i < k / 2; ++i) {
    x *= 100;
    if (scan.Unit(static_cast<unsigned>(x >> 56))) return true;
    x &= kFraction;
  }
  return false;
}

// Feeds a whole value text to scan; false when scan never was satisfied.
template <typename Scan>
[[gnu::always_inline]] inline bool ScanValueText(const ValueText& text, Scan& scan) {
  auto high = static_cast<std::uint32_t>(text.significant / kTenPow8);
  const auto low = static_cast<std::uint32_t>(text.significant % kTenPow8);
  const bool twoParts = high != 0;
  if (!twoParts) high = low;
  // Its digit count from its bit length, one too many at most.
  const std::uint32_t odd = high | 1u;  // crosses no power of ten; 0 has one digit
  const unsigned guess = (32u - static_cast<unsigned>(__builtin_clz(odd))) * 1233u >> 12;
  if (ScanFixed(high, guess + (odd >= kPow10[guess]), scan)) return true;
  if (twoParts && ScanFixed(low, 8, scan)) return true;
  if (text.exponent < 0) return false;
  // The exponent's three digits: 0, then two more (exponents are 13 to 24).
  const auto e = static_cast<unsigned>(text.exponent);
  return scan.Unit(e / 10) || scan.Unit(Lone(e % 10));
}

// The digit set of the first `wanted` distinct digits.
struct MaskScan {
  int wanted;
  unsigned seen = 0, first = 10, lastPair = 0, before = 0;

  [[gnu::always_inline]] bool Unit(unsigned pair) {
    first = first == 10 ? pair / 10 : first;
    const unsigned next = seen | kPairBits[pair];
    if (kBitCount[next] >= wanted) {
      // Enough within this pair: with its first digit alone, or both.
      const unsigned one = seen | 1u << (pair / 10);
      seen = kBitCount[one] >= wanted ? one : next;
      return true;
    }
    lastPair = next != seen ? pair : lastPair;
    before = next != seen ? seen : before;
    seen = next;
    return false;
  }
  // The last new digit, once the text is read to its end.
  unsigned Last() const {
    const unsigned a = lastPair / 10, b = lastPair % 10;
    return b != a && !((before >> b) & 1u) ? b : a;
  }
};

// The first, third and fourth distinct digits.
struct LeadScan {
  unsigned seen = 0, count = 0, first = 0, third = 0, fourth = 0;

  [[gnu::always_inline]] void Take(unsigned digit) {
    const bool fresh = !((seen >> digit) & 1u);
    seen |= 1u << digit;
    first = fresh && count == 0 ? digit : first;
    third = fresh && count == 2 ? digit : third;
    fourth = fresh && count == 3 ? digit : fourth;
    count += fresh;
  }
  [[gnu::always_inline]] bool Unit(unsigned pair) {
    Take(pair / 10);
    Take(pair % 10);
    return count >= 4;
  }
};

}  // namespace detail

// The first, third and fourth digits of a prediction of five, all that the
// class plays read of it.
struct LeadDigits {
  unsigned first, third, fourth;
};

// The first `wanted` distinct digits of a value text in order, completed
// from the fill sequence of the last one when the text has too few.
CodeSet Predict(const ValueText& text, int wanted);

// LeadDigits of Predict(text, 5).
inline LeadDigits PredictLeadDigits(const ValueText& text) {
  detail::LeadScan scan;
  if (detail::ScanValueText(text, scan)) return {scan.first, scan.third, scan.fourth};
  // Fewer than four distinct digits: the completion decides.
  const CodeSet set = Predict(text, 5);
  return {set.digits[0], set.digits[2], set.digits[3]};
}

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

  [[gnu::always_inline]] Result operator()(const ValueText& text) const {
    if (wanted_ <= 0) return {0, 0};
    detail::MaskScan scan{wanted_};
    if (detail::ScanValueText(text, scan))
      return {static_cast<std::uint16_t>(scan.seen), scan.first};
    // Too few distinct digits: the last new one chooses the completion.
    return {Complete(scan.Last(), scan.seen), scan.first};
  }

  // The code set of a text whose distinct digits (seen) are too few, completed
  // from the fill sequence of the last new one.
  std::uint16_t Complete(unsigned last, unsigned seen) const { return fill_[last * 1024 + seen]; }

 private:
  int wanted_;
  std::vector<std::uint16_t> fill_;  // [last digit * 1024 + digits seen]
};

}  // namespace search
