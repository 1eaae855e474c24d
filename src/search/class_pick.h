#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "search/lane_judge.h"

namespace search {

// The class a class play (大小, 单双, 大小单双) picks for one base, straight
// from the first evaluation's value V1 (below 10^13, so printed in full and
// read whole as the second evaluation's formula) and the base draw's number.
// The class needs only the first, third and fourth distinct digits of the
// second value's text; the top eight digits of that value hold them nearly
// always, and two table lookups find them there without a branch on the
// digits. The few values they do not settle take the full text.
inline constexpr std::size_t kClassPadding = 8;

class ClassPicker {
 public:
  // Blocks go eight bases at a time where isa is AVX-512 or AVX2 (with FMA)
  // and the machine has it, one at a time otherwise.
  explicit ClassPicker(int play, LaneIsa isa = BestLaneIsa());

  // The class's digit mask (bit d for digit d).
  std::uint32_t Mask(std::uint64_t firstValue, std::uint32_t drawNumber) const;
  // The masks of many bases whose first values are formula number x draw
  // number x 2, masks[i] of formulaNumbers[i] and drawNumbers[i], the
  // formula numbers those of a lane formula (below 2^32): one call for a
  // block, so the bases' work overlaps. Whole vectors are read and written:
  // the arrays must reach count rounded up to kClassPadding.
  void Masks(const std::uint32_t* formulaNumbers, const std::uint32_t* drawNumbers,
             std::size_t count, std::uint32_t* masks) const;

 private:
  std::uint32_t FromFullText(std::uint64_t firstValue, std::uint32_t drawNumber) const;

  int play_;
  LaneIsa isa_;                              // of the block kernel
  std::array<std::uint16_t, 1000> masks_{};  // by first * 100 + third * 10 + fourth
  // The class by the one digit the play decides by: the prediction's third
  // (大小), its fourth (单双), or first plus third mod 10 (大小单双).
  std::array<std::uint32_t, 16> byKey_{};
};

}  // namespace search
