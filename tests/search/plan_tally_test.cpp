#include "search/plan_tally.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace search {
namespace {

// The runs counted one outcome at a time.
Streaks CountRuns(const std::vector<bool>& outcomes) {
  Streaks s;
  for (std::size_t i = 0; i < outcomes.size(); ++i) {
    const bool hit = outcomes[i];
    ++(hit ? s.tally.hits : s.tally.misses);
    s.currentRun = i > 0 && outcomes[i - 1] == hit ? s.currentRun + 1 : 1;
    s.currentHit = hit;
    int& longest = hit ? s.longestHitRun : s.longestMissRun;
    if (s.currentRun > longest) longest = s.currentRun;
  }
  return s;
}

TEST(SearchStreaks, WorkedExample) {
  // 中中挂中中中挂挂: longest 3 hits, 2 misses, ending on 挂2.
  StreakTally tally;
  for (bool hit : {true, true, false, true, true, true, false, false}) tally.Add(hit);
  const Streaks s = tally.Figures();
  EXPECT_EQ(s.tally, (Tally{5, 3}));
  EXPECT_EQ(s.longestHitRun, 3);
  EXPECT_EQ(s.longestMissRun, 2);
  EXPECT_EQ(s.currentRun, 2);
  EXPECT_FALSE(s.currentHit);
  EXPECT_EQ(StreakTally().Figures(), Streaks{});
}

// Runs that cross the 64-plan words, whole words of one outcome, words
// handed over part by part: the figures of counting one by one.
TEST(SearchStreaks, AgreesWithCountingOneByOne) {
  std::mt19937 random(11);
  for (int round = 0; round < 400; ++round) {
    const std::size_t n = random() % 400;
    const unsigned bias = random() % 11;  // from all misses to all hits
    std::vector<bool> outcomes(n);
    for (std::size_t i = 0; i < n; ++i) outcomes[i] = random() % 10 < bias;
    StreakTally tally;
    Tally plain;
    for (std::size_t i = 0; i < n;) {
      if (random() % 2 == 0) {
        tally.Add(outcomes[i]);
        plain.Add(outcomes[i]);
        ++i;
        continue;
      }
      const std::size_t part = std::min<std::size_t>(n - i, 1 + random() % 64);
      std::uint64_t word = 0;
      for (std::size_t k = 0; k < part; ++k) word |= std::uint64_t{outcomes[i + k]} << k;
      tally.AddOutcomes(word, static_cast<unsigned>(part));
      plain.AddOutcomes(word, static_cast<unsigned>(part));
      i += part;
    }
    const Streaks expected = CountRuns(outcomes);
    ASSERT_EQ(tally.Figures(), expected) << round << " n=" << n;
    ASSERT_EQ(plain, expected.tally);
  }
}

}  // namespace
}  // namespace search
