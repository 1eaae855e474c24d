#include "search/class_pick.h"

#include <algorithm>
#include <bit>

#include "plan/formula.h"
#include "plan/value_rounding.h"
#include "search/value_text.h"

namespace search {
namespace {

__extension__ using Wide = unsigned __int128;

// The distinct digits of a four-digit text (leading zeros included) in order
// of first occurrence: their values a nibble each from bit 0, their count
// from bit 16, their mask from bit 20.
constexpr int kCountShift = 16;
constexpr int kMaskShift = 20;
constexpr std::array<std::uint32_t, 10000> kChunks = [] {
  std::array<std::uint32_t, 10000> chunks{};
  for (std::uint32_t chunk = 0; chunk < 10000; ++chunk) {
    std::uint32_t order = 0, count = 0, seen = 0;
    for (std::uint32_t place = 1000; place != 0; place /= 10) {
      const std::uint32_t digit = chunk / place % 10;
      if ((seen >> digit) & 1u) continue;
      order |= digit << (4 * count);
      ++count;
      seen |= 1u << digit;
    }
    chunks[chunk] = order | count << kCountShift | seen << kMaskShift;
  }
  return chunks;
}();

// value / 10^k for value < 2^62 and k <= 11 as a multiplication: with
// l = ceil(log2 10^k) and m = ceil(2^(62+l) / 10^k), (value m) >> (62+l) is
// the exact quotient (Granlund and Montgomery), where a division by a
// looked-up power would take a slow division.
struct Reciprocal {
  std::uint64_t multiplier;
  int shift;
};
constexpr std::array<Reciprocal, 12> kReciprocals = [] {
  std::array<Reciprocal, 12> reciprocals{};
  for (std::size_t k = 0; k < reciprocals.size(); ++k) {
    const std::uint64_t divisor = plan::kPowersOfTen[k];
    int l = 0;
    while ((std::uint64_t{1} << l) < divisor) ++l;
    const Wide scaled = Wide{1} << (62 + l);
    reciprocals[k] = {static_cast<std::uint64_t>((scaled + divisor - 1) / divisor), 62 + l};
  }
  return reciprocals;
}();

std::uint64_t DividedByPowerOfTen(std::uint64_t value, int k) {
  const Reciprocal& r = kReciprocals[static_cast<std::size_t>(k)];
  return static_cast<std::uint64_t>((Wide{value} * r.multiplier) >> r.shift);
}

// Digits in value >= 1.
int DecimalLength(std::uint64_t value) {
  const auto guess = static_cast<std::size_t>((std::bit_width(value) * 1233) >> 12);
  return static_cast<int>(guess) + (value >= plan::kPowersOfTen[guess] ? 1 : 0);
}

constexpr std::uint64_t kTenPow7 = plan::kPowersOfTen[7];

}  // namespace

ClassPicker::ClassPicker(int play) : play_(play) {
  for (unsigned first = 0; first < 10; ++first) {
    for (unsigned third = 0; third < 10; ++third) {
      for (unsigned fourth = 0; fourth < 10; ++fourth) {
        masks_[first * 100 + third * 10 + fourth] =
            plan::ClassOfMethod(play, first, third, fourth).mask;
      }
    }
  }
}

std::uint32_t ClassPicker::FromFullText(std::uint64_t firstValue, std::uint32_t drawNumber) const {
  const LeadDigits lead = PredictLeadDigits(MakeValueText(firstValue, drawNumber));
  return plan::ClassOfMethod(play_, lead.first, lead.third, lead.fourth).mask;
}

void ClassPicker::Masks(const std::uint64_t* firstValues, const std::uint32_t* drawNumbers,
                        std::size_t count, std::uint32_t* masks) const {
  for (std::size_t i = 0; i < count; ++i) masks[i] = Mask(firstValues[i], drawNumbers[i]);
}

std::uint32_t ClassPicker::Mask(std::uint64_t firstValue, std::uint32_t drawNumber) const {
  // V1 < 10^13 and N2 < 10^5: the exact product is below 2^60. The double
  // product rounds it once to 53 bits, as converting it does; the doubling
  // is exact. Signed conversions: the unsigned ones branch.
  const std::uint64_t product = firstValue * drawNumber;
  const auto rounded = static_cast<std::uint64_t>(
      static_cast<std::int64_t>(static_cast<double>(static_cast<std::int64_t>(product))));
  const std::uint64_t value = rounded * 2;
  if (value < kTenPow7) return FromFullText(firstValue, drawNumber);

  // The top eight digits. "%.13g" keeps five digits more, rounded half to
  // even on the exact value: the rounding carries into the top eight when
  // those five are 99999 and what follows is half a unit or more (a tie
  // rounds the odd 9 up), that is when the rest below the top eight
  // reaches 10^(length-8) - 10^cut / 2. Nothing is cut below 14 digits.
  const int length = DecimalLength(value);
  const std::uint64_t unit = plan::kPowersOfTen[static_cast<std::size_t>(length - 8)];
  const std::uint64_t top = DividedByPowerOfTen(value, length - 8);
  const int cut = std::max(length - 13, 0);
  const std::uint64_t half = plan::kPowersOfTen[static_cast<std::size_t>(cut)] / 2;
  if (value - top * unit >= unit - half) return FromFullText(firstValue, drawNumber);

  // The text starts with the top eight digits (a mantissa whose trailing
  // zeros are dropped goes on with the exponent's "0" just the same), so
  // their first four distinct digits are the text's when they have four.
  const std::uint32_t high = kChunks[top / 10000];
  const std::uint32_t low = kChunks[top % 10000];
  std::uint32_t order = high & 0xFFFF;
  std::uint32_t count = (high >> kCountShift) & 7;
  const std::uint32_t seen = high >> kMaskShift;
  const std::uint32_t lowCount = (low >> kCountShift) & 7;
  for (std::uint32_t j = 0; j < 4; ++j) {
    // The low chunk's digits differ from one another: each is new or not
    // by the high chunk alone.
    const std::uint32_t digit = (low >> (4 * j)) & 15;
    const std::uint32_t valid = j < lowCount;
    const std::uint32_t fresh = valid & ~(seen >> digit) & 1u;
    order |= (fresh * digit) << (4 * count);
    count += fresh;
  }
  if (count < 4) return FromFullText(firstValue, drawNumber);
  const std::uint32_t first = order & 15, third = (order >> 8) & 15, fourth = (order >> 12) & 15;
  return masks_[first * 100 + third * 10 + fourth];
}

}  // namespace search
