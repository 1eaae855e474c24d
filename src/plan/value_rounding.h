#pragma once

#include <array>
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
