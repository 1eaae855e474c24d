#pragma once

#include <array>
#include <bit>
#include <cstdint>

namespace plan {

// 10^0 .. 10^19: every power of ten below 2^64.
inline constexpr std::array<std::uint64_t, 20> kPowersOfTen = [] {
  std::array<std::uint64_t, 20> powers{};
  std::uint64_t power = 1;
  for (auto& p : powers) {
    p = power;
    power *= 10;
  }
  return powers;
}();
inline constexpr std::uint64_t kTenPow13 = kPowersOfTen[13];

// Digits in a decimal number, at least one.
constexpr int DecimalLength(std::uint64_t value) {
  // bit width * log10(2) is the length or one more.
  auto guess = static_cast<std::size_t>((std::bit_width(value) * 1233) >> 12);
  int length = static_cast<int>(guess) + (value >= kPowersOfTen[guess] ? 1 : 0);
  return length == 0 ? 1 : length;
}

// value / 10^k for k from 1 to 7: a constant divisor is a multiplication,
// where dividing by a looked-up power would take a slow division.
constexpr std::uint64_t DividedByPowerOfTen(std::uint64_t value, int k) {
  switch (k) {
    case 1:
      return value / 10;
    case 2:
      return value / 100;
    case 3:
      return value / 1000;
    case 4:
      return value / 10'000;
    case 5:
      return value / 100'000;
    case 6:
      return value / 1'000'000;
    default:
      return value / 10'000'000;
  }
}

// "%.13g" of a value of 14 or more digits keeps 13 significant digits,
// rounded half to even on the exact value. value = mantissa * scale + rest
// with a mantissa of 13 digits; a mantissa that rounds up to 10^13 becomes
// 10^12 with the exponent one higher.
template <typename Unsigned>
constexpr std::uint64_t RoundMantissaHalfEven(std::uint64_t mantissa, Unsigned rest, Unsigned scale,
                                              int& exponent) {
  const Unsigned half = scale / 2;
  if (rest > half || (rest == half && (mantissa & 1) != 0)) ++mantissa;
  if (mantissa == kTenPow13) {
    mantissa /= 10;
    ++exponent;
  }
  return mantissa;
}

}  // namespace plan
