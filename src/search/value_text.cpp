#include "search/value_text.h"

#include "plan/formula.h"
#include "plan/value_rounding.h"

namespace search {
namespace {

__extension__ using Wide = unsigned __int128;

constexpr std::uint64_t kTwoPow53 = 1ULL << 53;
constexpr double kTwoPow64 = 18446744073709551616.0;

// "%.13g" of an integral value of 14 or more digits: the 13 significant
// digits rounded half to even on the exact value, trailing zeros dropped,
// and the exponent.
std::uint64_t RoundWideToThirteen(Wide value, int& exponent) {
  Wide scale = 1;
  exponent = 12;
  while (value / scale >= plan::kPowersOfTen[13]) {
    scale *= 10;
    ++exponent;
  }
  auto mantissa = static_cast<std::uint64_t>(value / scale);
  mantissa = plan::RoundMantissaHalfEven(mantissa, value % scale, scale, exponent);
  while (mantissa % 10 == 0) mantissa /= 10;
  return mantissa;
}

// The same below 2^64.
std::uint64_t RoundToThirteen(std::uint64_t value, int& exponent) {
  exponent = 13;
  while (exponent < 19 && value >= plan::kPowersOfTen[exponent + 1]) ++exponent;
  const std::uint64_t scale = plan::kPowersOfTen[exponent - 12];
  std::uint64_t mantissa = plan::DividedByPowerOfTen(value, exponent - 12);
  mantissa = plan::RoundMantissaHalfEven(mantissa, value - mantissa * scale, scale, exponent);
  while (mantissa % 10 == 0) mantissa /= 10;
  return mantissa;
}

// Completion orders of plan::kFillSequences as digit values.
constexpr std::array<std::array<std::uint8_t, 10>, 10> kFill = [] {
  std::array<std::array<std::uint8_t, 10>, 10> fill{};
  for (int last = 0; last < 10; ++last) {
    for (int i = 0; i < 10; ++i) {
      fill[last][i] = static_cast<std::uint8_t>(plan::kFillSequences[last][i] - '0');
    }
  }
  return fill;
}();

// Collects distinct digits in order of first occurrence, a pair at a time:
// the pair that completes the count may add one digit too many.
struct OrderedScan {
  int wanted;
  int size = 0;
  unsigned seen = 0;
  std::array<std::uint8_t, 12> digits{};

  bool Take(unsigned digit) {
    const unsigned bit = 1u << digit;
    digits[static_cast<std::size_t>(size)] = static_cast<std::uint8_t>(digit);
    size += (seen & bit) == 0;
    seen |= bit;
    return size >= wanted;
  }
  bool Unit(unsigned pair) {
    Take(pair / 10);
    return Take(pair % 10);
  }
};

}  // namespace

namespace detail {

ValueText RoundedValueText(std::uint64_t formulaNumber, std::uint32_t drawNumber,
                           std::optional<std::uint64_t> product) {
  ValueText text;
  if (product && *product < kTwoPow53) {
    // The double product is exact here.
    text.significant = RoundToThirteen(*product, text.exponent);
  } else {
    // The same double arithmetic as the plan engine; the value is integral.
    const double value = static_cast<double>(formulaNumber) * static_cast<double>(drawNumber) * 2;
    text.significant = value < kTwoPow64
                           ? RoundToThirteen(static_cast<std::uint64_t>(value), text.exponent)
                           : RoundWideToThirteen(static_cast<Wide>(value), text.exponent);
  }
  return text;
}

}  // namespace detail

CodeSet Predict(const ValueText& text, int wanted) {
  if (wanted <= 0) return {};
  if (wanted > 10) wanted = 10;
  OrderedScan scan{wanted};
  if (!detail::ScanValueText(text, scan)) {
    // Too few distinct digits (there is at least one): complete them.
    for (std::uint8_t d : kFill[scan.digits[static_cast<std::size_t>(scan.size - 1)]]) {
      if (scan.Take(d)) break;
    }
  }
  CodeSet set;
  set.size = static_cast<std::uint8_t>(wanted);
  for (int i = 0; i < wanted; ++i) {
    set.digits[static_cast<std::size_t>(i)] = scan.digits[static_cast<std::size_t>(i)];
    set.mask =
        static_cast<std::uint16_t>(set.mask | 1u << scan.digits[static_cast<std::size_t>(i)]);
  }
  return set;
}

MaskPredictor::MaskPredictor(int codeCount)
    : wanted_(codeCount > 10 ? 10 : codeCount), fill_(10 * 1024) {
  for (unsigned last = 0; last < 10; ++last) {
    for (unsigned seen = 0; seen < 1024; ++seen) {
      unsigned mask = seen;
      for (std::uint8_t d : kFill[last]) {
        if (detail::kBitCount[mask] >= wanted_) break;
        mask |= 1u << d;
      }
      fill_[last * 1024 + seen] = static_cast<std::uint16_t>(mask);
    }
  }
}

}  // namespace search
