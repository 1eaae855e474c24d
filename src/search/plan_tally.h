#pragma once

#include <bit>
#include <cstdint>

namespace search {

// Every replay hands its judged plans, in replay order, to a tally: Add one
// at a time, or AddOutcomes with up to 64 at once.

// The judged plans of one replay, hit or miss, counted as they come.
struct Tally {
  int hits = 0;
  int misses = 0;

  void Add(bool hit) {
    hits += hit;
    misses += !hit;
  }
  // n plans at once (1 .. 64), in order from bit 0: a set bit for a hit.
  void AddOutcomes(std::uint64_t outcomes, unsigned n) {
    const int hitCount = std::popcount(outcomes);
    hits += hitCount;
    misses += static_cast<int>(n) - hitCount;
  }
  int plans() const { return hits + misses; }
  bool operator==(const Tally&) const = default;
};

// The integer part of hits * 100 / total, in integers as the plan report
// computes it; 0 when no plan finished.
int RatePercent(const Tally& tally);

// A replay's plans with their runs of consecutive hits and misses.
struct Streaks {
  Tally tally;
  int longestHitRun = 0;
  int longestMissRun = 0;
  int currentRun = 0;  // the run the replay ends on; 0 without a plan
  bool currentHit = false;
  bool operator==(const Streaks&) const = default;
};

// Takes the plans one by one like a Tally but works out the runs 64 plans at
// a time from a word of outcomes: a plan costs a few instructions and no
// branch on its outcome, which comes in no predictable order.
class StreakTally {
 public:
  void Add(bool hit) {
    pending_ |= std::uint64_t{hit} << count_;
    if (++count_ == 64) TakePending();
  }
  void AddOutcomes(std::uint64_t outcomes, unsigned n) {
    TakePending();
    Take(outcomes, n);
  }
  Streaks Figures() const;

 private:
  void TakePending() {
    Take(pending_, count_);
    pending_ = 0;
    count_ = 0;
  }
  void Take(std::uint64_t outcomes, unsigned n);

  Streaks figures_;
  std::uint64_t pending_ = 0;  // bit i: plan i of the word hit
  unsigned count_ = 0;
};

}  // namespace search
