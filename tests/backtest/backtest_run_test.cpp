#include "backtest/backtest_run.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <random>
#include <thread>

#include "plan/formula.h"
#include "search/formula_library.h"
#include "search/search_run.h"

namespace backtest {
namespace {

using plan::PlanKind;
using search::SearchSettings;

std::vector<lottery::Draw> Draws(std::size_t n, std::uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<lottery::Draw> draws;
  draws.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    char digits[6];
    std::snprintf(digits, sizeof digits, "%05u", static_cast<unsigned>(random() % 100000));
    draws.push_back({"20140301-001", digits});
  }
  return draws;
}

const std::vector<std::string>& Library() {
  static const std::vector<std::string> formulas =
      search::ReadFormulaLibrary(LANZHOU_SHIPPED_DIR, 6000).value();
  return formulas;
}

// Every kind, the scored plays and one that never hits.
const SearchSettings kSettings[] = {
    {PlanKind::Position, 5, 3, 5, plan::kMethodDigits},
    {PlanKind::Position, 4, 4, 1, plan::kMethodBigSmall},
    {PlanKind::Position, 4, 4, 3, plan::kMethodOddEven},
    {PlanKind::Position, 6, 2, 2, plan::kMethodBoth},
    {PlanKind::TwoStar, 8, 3, 0, plan::kTwoStarGroup},
    {PlanKind::TwoStar, 6, 3, 0, plan::kTwoStarStraight},
    {PlanKind::TwoStar, 8, 3, 0, plan::kTwoStarBigSmall},
    {PlanKind::ThreeStar, 8, 3, 0, plan::kThreeStarGroup},
    {PlanKind::ThreeStar, 7, 4, 0, plan::kThreeStarStraight},
    {PlanKind::ThreeStar, 8, 3, 0, 16},
};

// ---- the replay as the rules read, one plan at a time on texts -----------

struct CodeSets {
  std::string first, second, third;
};

std::string Evaluate(const std::string& base, int m, std::string_view formula) {
  return plan::EvaluateFormula(base, m, formula).prediction.str();
}

CodeSets Sets(const SearchSettings& s, const std::string& base, const std::string& formula) {
  const int m = s.codeCount;
  switch (s.kind) {
    case PlanKind::Position: {
      if (s.play == plan::kMethodDigits) return {Evaluate(base, m, formula), "", ""};
      const std::string value = plan::EvaluateFormula(base, m, formula).valueDigits.str();
      const std::string e = Evaluate(base, 5, value);
      const int d1 = e[0] - '0', d3 = e[2] - '0', d4 = e[3] - '0';
      if (s.play == plan::kMethodBigSmall) return {d3 % 2 == 0 ? "01234" : "56789", "", ""};
      if (s.play == plan::kMethodOddEven) return {d4 % 2 == 0 ? "02468" : "13579", "", ""};
      int w = (d1 + d3) % 10;
      if (w == 0) w = 1;
      const char* classes[] = {"",      "56789", "01234", "13579", "02468",
                               "56789", "01234", "13579", "02468", "56789"};
      return {classes[w], "", ""};
    }
    case PlanKind::TwoStar:
    case PlanKind::ThreeStar: {
      CodeSets sets{Evaluate(base, m, formula), "", ""};
      sets.second = Evaluate(base, m, plan::CompanionFormula(sets.first));
      sets.third = Evaluate(base, m, plan::CompanionFormula(sets.second));
      return sets;
    }
  }
  return {};
}

// Part n of an examined draw: its n-th character when it has five, else its
// n-th piece between commas.
std::string Part(const std::string& draw, int n) {
  if (draw.size() == 5) return draw.substr(static_cast<std::size_t>(n - 1), 1);
  std::size_t from = 0;
  for (int i = 1; i < n; ++i) {
    from = draw.find(',', from);
    if (from == std::string::npos) return "";
    ++from;
  }
  return draw.substr(from, draw.find(',', from) - from);
}

bool In(const std::string& set, const std::string& part) {
  return !part.empty() && set.find(part) != std::string::npos;
}

bool IsHit(const SearchSettings& s, const CodeSets& sets, const std::string& draw) {
  switch (s.kind) {
    case PlanKind::Position:
      return In(sets.first, Part(draw, s.position));
    case PlanKind::TwoStar: {
      const std::string d4 = Part(draw, 4), d5 = Part(draw, 5);
      if (s.play == plan::kTwoStarGroup)
        return In(sets.first, d4) && In(sets.first, d5) && d4 != d5;
      if (s.play == plan::kTwoStarStraight) return In(sets.first, d4) && In(sets.second, d5);
      return false;
    }
    case PlanKind::ThreeStar: {
      if (draw.size() < 5) return false;
      const std::string d1 = draw.substr(2, 1), d2 = draw.substr(3, 1), d3 = draw.substr(4, 1);
      if (s.play == plan::kThreeStarGroup)
        return In(sets.first, d1) && In(sets.first, d2) && In(sets.first, d3);
      if (s.play == plan::kThreeStarStraight)
        return In(sets.first, d1) && In(sets.second, d2) && In(sets.third, d3);
      return false;
    }
  }
  return false;
}

struct Expected {
  int plans = 0, hits = 0, misses = 0, longestHits = 0, longestMisses = 0;
  std::string current = "-";
};

Expected StraightforwardReplay(const std::vector<lottery::Draw>& d, const SearchSettings& s,
                               const std::string& formula) {
  std::vector<bool> outcomes;
  const std::size_t n = d.size(), periods = static_cast<std::size_t>(s.periods);
  if (!(s.kind == PlanKind::ThreeStar && formula.empty())) {
    for (std::size_t b = 0; b < n;) {
      const CodeSets sets = Sets(s, d[b].code, formula);
      std::size_t k = 1;
      while (k <= periods && b + k < n && !IsHit(s, sets, d[b + k].code)) ++k;
      if (k <= periods && b + k < n) {
        outcomes.push_back(true);
        b += k;
      } else if (b + periods < n) {
        outcomes.push_back(false);
        b += periods;
      } else {
        break;  // the window runs past the newest draw
      }
    }
  }
  Expected e;
  int run = 0;
  for (std::size_t i = 0; i < outcomes.size(); ++i) {
    run = i > 0 && outcomes[i] == outcomes[i - 1] ? run + 1 : 1;
    ++e.plans;
    if (outcomes[i]) {
      ++e.hits;
      e.longestHits = std::max(e.longestHits, run);
    } else {
      ++e.misses;
      e.longestMisses = std::max(e.longestMisses, run);
    }
  }
  if (!outcomes.empty()) e.current = (outcomes.back() ? "中" : "挂") + std::to_string(run);
  return e;
}

// ---- tests ----------------------------------------------------------------

// The 概率 the backtest lists is the rate the formula search lists for the
// same settings over the same 180 draws, for every library formula.
TEST(BacktestRun, RateIsTheSearchesOver180Draws) {
  const auto draws = Draws(180, 20140301);
  const auto& formulas = Library();
  ASSERT_EQ(formulas.size(), 6000u);
  for (const SearchSettings& s : kSettings) {
    const auto rows = RunBacktest(draws, s, formulas);
    ASSERT_EQ(rows.size(), formulas.size());

    // The search as it runs: scored ahead on workers, listed in library
    // order with a threshold of 0.
    search::ParallelScoring scoring(search::CandidateScorer(search::SearchSource(draws), s),
                                    formulas, nullptr);
    std::vector<int> searchRates;
    search::SearchHooks hooks;
    hooks.stopRequested = [] { return false; };
    hooks.list = [&](std::size_t, int rate) { searchRates.push_back(rate); };
    hooks.wait = [](const std::function<bool()>& ready) {
      while (!ready()) std::this_thread::yield();
    };
    hooks.between = [](std::size_t) {};
    search::ListScoredCandidates(scoring, 0, hooks);
    ASSERT_EQ(searchRates.size(), formulas.size());

    for (std::size_t i = 0; i < rows.size(); ++i) {
      ASSERT_EQ(rows[i].index, i);
      ASSERT_EQ(rows[i].formula, formulas[i]);
      const search::Tally plain = search::ScoreCandidatePlain(draws, s, formulas[i]);
      ASSERT_EQ(rows[i].figures.tally, plain) << formulas[i] << " play " << s.play;
      ASSERT_EQ(RateText(rows[i].figures), std::to_string(searchRates[i]) + "%") << formulas[i];
    }
  }
}

// Plans, hits, misses and runs over a longer history agree with the rules
// replayed one plan at a time in this test; also through the plain path
// (draws that are not five digits) and for formulas too long for the lanes.
TEST(BacktestRun, StreaksAgreeWithAStraightforwardReplay) {
  const auto draws = Draws(1200, 7);
  auto odd = Draws(300, 8);
  odd[5].code = "1,2,3,4,5";
  odd[9].code = "7,8";
  std::vector<std::string> formulas(Library().begin(), Library().begin() + 12);
  for (const char* f : {"", "E", "0", "ABCDEABCDEABCDE", "AABBCCDDEE+123456789"}) {
    formulas.push_back(f);
  }
  const std::vector<lottery::Draw>* sources[] = {&draws, &odd};
  for (const SearchSettings& s : kSettings) {
    for (const auto* source : sources) {
      const auto rows = RunBacktest(*source, s, formulas, 2);
      ASSERT_EQ(rows.size(), formulas.size());
      for (const auto& row : rows) {
        const Expected e = StraightforwardReplay(*source, s, row.formula);
        const search::Streaks& f = row.figures;
        const std::string where = row.formula + " play " + std::to_string(s.play);
        EXPECT_EQ(f.tally.plans(), e.plans) << where;
        EXPECT_EQ(f.tally.hits, e.hits) << where;
        EXPECT_EQ(f.tally.misses, e.misses) << where;
        EXPECT_EQ(f.longestHitRun, e.longestHits) << where;
        EXPECT_EQ(f.longestMissRun, e.longestMisses) << where;
        EXPECT_EQ(CurrentRunText(f), e.current) << where;
      }
    }
  }
}

TEST(BacktestRun, NothingToReplay) {
  const SearchSettings s = kSettings[0];
  EXPECT_TRUE(RunBacktest(Draws(50, 1), s, {}).empty());
  // Without a draw after the base no plan is judged: "0%" and "-".
  for (std::size_t n : {0, 1}) {
    const auto rows = RunBacktest(Draws(n, 1), s, {"DCC*657", ""});
    ASSERT_EQ(rows.size(), 2u);
    for (const auto& row : rows) {
      EXPECT_EQ(row.figures, search::Streaks{});
      EXPECT_EQ(RateText(row.figures), "0%");
      EXPECT_EQ(CurrentRunText(row.figures), "-");
    }
  }
}

TEST(BacktestRun, ProgressRunsToTheLastFormula) {
  const std::vector<std::string> formulas(Library().begin(), Library().begin() + 600);
  std::mutex mutex;
  std::vector<std::size_t> reported;
  BacktestRun run(Draws(20000, 2), kSettings[0], formulas, [&](std::size_t completed) {
    std::lock_guard lock(mutex);
    reported.push_back(completed);
  });
  const auto rows = run.Rows();
  EXPECT_TRUE(run.Done());
  EXPECT_EQ(run.Completed(), 600u);
  ASSERT_EQ(rows.size(), 600u);
  for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].index, i);
  std::lock_guard lock(mutex);
  ASSERT_FALSE(reported.empty());
  EXPECT_EQ(reported.back(), 600u);  // the last call comes when the run has ended
  EXPECT_TRUE(std::is_sorted(reported.begin(), reported.end()));
}

// A stop leaves the formulas finished so far, each with its whole replay,
// and none half done.
TEST(BacktestRun, StopKeepsTheFinishedFormulasOnly) {
  const auto draws = Draws(200000, 3);
  const auto& formulas = Library();
  BacktestRun run(draws, kSettings[0], formulas);
  while (run.Completed() == 0 && !run.Done())
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  run.Stop();
  const auto rows = run.Rows();
  EXPECT_TRUE(run.Done());
  ASSERT_FALSE(rows.empty());
  ASSERT_LT(rows.size(), formulas.size());
  EXPECT_EQ(rows.size(), run.Completed());
  const search::CandidateScorer scorer(search::SearchSource(draws), kSettings[0]);
  const std::atomic<bool> go{false};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (i > 0) {
      ASSERT_LT(rows[i - 1].index, rows[i].index);
    }
    if (i % 16 == 0 || i + 1 == rows.size()) {
      EXPECT_EQ(rows[i].figures, scorer.ScoreStreaks(rows[i].formula, go)) << rows[i].formula;
    }
  }
}

TEST(BacktestRun, StopBeforeTheFirstFormula) {
  BacktestRun run(Draws(1000, 4), kSettings[0], Library());
  run.Stop();
  const auto rows = run.Rows();
  EXPECT_EQ(rows.size(), run.Completed());
  EXPECT_LT(rows.size(), Library().size());
}

// The longest archive the page offers: a million draws.
TEST(BacktestRun, AMillionDraws) {
  const auto draws = Draws(1000000, 5);
  const std::vector<std::string> formulas = {"DCC*657", "EEA+354"};
  const auto rows = RunBacktest(draws, kSettings[0], formulas);
  ASSERT_EQ(rows.size(), 2u);
  for (const auto& row : rows) {
    EXPECT_EQ(row.figures.tally, search::ScoreCandidatePlain(draws, kSettings[0], row.formula));
    EXPECT_GT(row.figures.tally.plans(), 500000);
  }
}

}  // namespace
}  // namespace backtest
