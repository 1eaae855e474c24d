#include "search/search_run.h"

#include <gtest/gtest.h>

#include <atomic>

namespace search {
namespace {

std::vector<lottery::Draw> RandomDraws(int n) {
  std::vector<lottery::Draw> draws;
  std::uint32_t x = 99;
  for (int i = 0; i < n; ++i) {
    x = x * 1664525u + 1013904223u;
    char digits[6];
    std::snprintf(digits, sizeof digits, "%05u", (x >> 8) % 100000);
    draws.push_back({"x", digits});
  }
  return draws;
}

std::vector<std::string> Candidates(int n) {
  const char* shapes[] = {"DCC*", "CEE+", "AB-", "E*", "BEB+"};
  std::vector<std::string> candidates;
  for (int i = 0; i < n; ++i) candidates.push_back(shapes[i % 5] + std::to_string(i * 7 % 1000));
  return candidates;
}

struct Listing {
  std::vector<std::pair<std::size_t, int>> listed;
  std::vector<std::size_t> stopAsked;
};

// Lists with a stop request that appears while candidate `stopDuring` (1-based) is scored.
Listing ListWithStop(unsigned threads, std::size_t stopDuring) {
  const SearchSettings settings{plan::PlanKind::Position, 4, 4, 5, plan::kMethodDigits};
  std::atomic<int> wakes{0};
  ParallelScoring scoring(
      CandidateScorer(SearchSource(RandomDraws(150)), settings), Candidates(300), [&] { ++wakes; },
      threads);
  Listing listing;
  bool stop = false;
  SearchHooks hooks;
  hooks.stopRequested = [&] { return stop; };
  hooks.list = [&](std::size_t i, int rate) { listing.listed.emplace_back(i, rate); };
  hooks.wait = [](const std::function<bool()>& ready) {
    while (!ready()) std::this_thread::yield();
  };
  hooks.between = [&](std::size_t done) {
    listing.stopAsked.push_back(done);
    if (done == stopDuring) stop = true;
  };
  ListScoredCandidates(scoring, 88, hooks);
  return listing;
}

TEST(ListScoredCandidates, StopDuringCandidate40FinishesItAndListsNothingAfter) {
  const Listing one = ListWithStop(1, 40);
  ASSERT_FALSE(one.listed.empty());
  EXPECT_LE(one.listed.back().first, 39u);  // 0-based index of candidate 40
  EXPECT_EQ(one.stopAsked.back(), 40u);
  // Several threads scoring ahead list exactly what one thread lists.
  EXPECT_EQ(ListWithStop(4, 40).listed, one.listed);
}

TEST(ListScoredCandidates, ParallelListingEqualsTheOneByOneSearch) {
  const Listing parallel = ListWithStop(2, 0);
  const SearchSettings settings{plan::PlanKind::Position, 4, 4, 5, plan::kMethodDigits};
  const CandidateScorer scorer(SearchSource(RandomDraws(150)), settings);
  std::vector<std::pair<std::size_t, int>> expected;
  const auto candidates = Candidates(300);
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    const int rate = RatePercent(scorer.Score(candidates[i]));
    if (rate >= 88) expected.emplace_back(i, rate);
  }
  EXPECT_EQ(parallel.listed, expected);
  EXPECT_LT(expected.size(), candidates.size());
  EXPECT_FALSE(expected.empty());
}

TEST(SearchProgressText, FollowsTheBusyText) {
  EXPECT_EQ(SearchProgressText(1200, 5000), "正在搜索，请稍侯..... 1200/5000");
}

}  // namespace
}  // namespace search
