#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "search/fast_formula.h"
#include "search/value_text.h"

namespace search {

// Judging every base at once. A plan based at draw b is judged by the draws
// b+1 .. b+N alone, so the code set of every base can be worked out without
// knowing which bases the replay will reach: many bases side by side, one
// per vector lane, with no branch on the draws. The replay then only walks.

// A formula whose values stay below 10^13 on every draw: printed in full, no
// rounding, and small enough for 32-bit lanes. Its number as 32-bit weights.
struct LaneFormula {
  std::uint32_t constant = 0;
  std::array<std::uint32_t, 5> weights{};

  static std::optional<LaneFormula> From(const FastFormula& formula);
};

// The instruction sets the lanes are built for, widest last.
enum class LaneIsa { Baseline, Avx2, Avx512 };
bool LaneIsaSupported(LaneIsa isa);
LaneIsa BestLaneIsa();

// Bases are handled a whole vector at a time: output buffers need room for
// count rounded up to kLaneSlack, and inputs read that far.
inline constexpr std::size_t kLaneSlack = 16;

// The draws as the lanes read them, one array per field, and the code count.
class LaneJudge {
 public:
  LaneJudge(const std::vector<DrawValue>& draws, int codeCount, LaneIsa isa = BestLaneIsa());

  // For the bases begin .. begin+count-1: masks[i] the code set (bit d for
  // digit d) exactly as MaskPredictor gives it; first[i] its first code when
  // first is not null.
  void Predict(const LaneFormula& formula, std::size_t begin, std::size_t count,
               std::uint32_t* masks, std::uint32_t* first) const;

  // The plan of base i with masks[i], judged by the hit bits of the draws
  // after it, after[i] .. after[i+N-1] (a hit lacks none of its bits in the
  // mask), 1 <= N <= kLaneSlack: hit[i] 1 when one of them hits, next[i] the
  // base after it (the hit draw, or the window's last).
  void Judge(const std::uint32_t* masks, const std::uint32_t* after, std::size_t count, int periods,
             std::uint32_t* next, std::uint32_t* hit) const;

 private:
  LaneIsa isa_;
  int wanted_;
  MaskPredictor predict_;
  std::array<std::vector<std::uint32_t>, 5> digits_;
  std::vector<std::uint32_t> twiceHigh_;  // draw number x 2 / 10^4
  std::vector<std::uint32_t> twiceLow_;   // draw number x 2 mod 10^4
};

}  // namespace search
