#include "search/plan_tally.h"

#include <algorithm>

namespace search {
namespace {

// The longest run of set bits: each round shortens every run by one.
int LongestRun(std::uint64_t bits) {
  int length = 0;
  for (; bits != 0; ++length) bits &= bits >> 1;
  return length;
}

}  // namespace

int RatePercent(const Tally& tally) {
  const long long total = static_cast<long long>(tally.hits) + tally.misses;
  return total == 0 ? 0 : static_cast<int>(tally.hits * 100LL / total);
}

Streaks StreakTally::Figures() const {
  StreakTally copy = *this;
  copy.TakePending();
  return copy.figures_;
}

void StreakTally::Take(std::uint64_t outcomes, unsigned n) {
  if (n == 0) return;
  const std::uint64_t valid = n == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << n) - 1;
  const std::uint64_t hits = outcomes & valid, misses = ~outcomes & valid;
  Streaks& f = figures_;
  f.tally.AddOutcomes(hits, n);

  // The word's first run continues the run the last word ended on when the
  // outcome is the same. Runs cut by the word's ends are no longer in it
  // than in the whole replay, so the longest ones inside it count as they are.
  const bool firstHit = hits & 1;
  const int firstRun = std::countr_one(firstHit ? hits : misses);
  const int joined = firstRun + (f.currentRun > 0 && f.currentHit == firstHit ? f.currentRun : 0);
  int& longestFirst = firstHit ? f.longestHitRun : f.longestMissRun;
  longestFirst = std::max(longestFirst, joined);
  f.longestHitRun = std::max(f.longestHitRun, LongestRun(hits));
  f.longestMissRun = std::max(f.longestMissRun, LongestRun(misses));

  const bool lastHit = (hits >> (n - 1)) & 1;
  const int lastRun = std::countl_one((lastHit ? hits : misses) << (64 - n));
  f.currentRun = firstRun == static_cast<int>(n) ? joined : lastRun;
  f.currentHit = lastHit;
}

}  // namespace search
