// The formula search at the sizes users meet: 5000 candidates over the 180
// draws of the list, and over a long history of 100,000 draws.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/area_states.h"
#include "lottery/lottery.h"
#include "plan/reference_formula.h"
#include "search/candidate_score.h"
#include "search/class_pick.h"
#include "search/search_handlers.h"
#include "search/search_run.h"
#include "temp_dir.h"
#include "ui/memory_window.h"

namespace {

using plan::PlanKind;
using search::SearchSettings;

std::uint32_t Next(std::uint32_t& state) {
  state = state * 1664525u + 1013904223u;
  return state >> 8;
}

std::vector<lottery::Draw> Draws(int n) {
  std::vector<lottery::Draw> draws;
  std::uint32_t state = 20140301;
  for (int i = 0; i < n; ++i) {
    char digits[6];
    std::snprintf(digits, sizeof digits, "%05u", Next(state) % 100000);
    draws.push_back({"x", digits});
  }
  return draws;
}

// Formulas shaped like the shipped library's: three letters, a sign, three digits.
std::vector<std::string> Candidates(int n) {
  std::vector<std::string> formulas;
  std::uint32_t state = 7;
  for (int i = 0; i < n; ++i) {
    std::string f;
    for (int c = 0; c < 3; ++c) f += static_cast<char>('A' + Next(state) % 5);
    f += "*+-"[Next(state) % 3];
    char digits[4];
    std::snprintf(digits, sizeof digits, "%03u", Next(state) % 1000);
    formulas.push_back(f + digits);
  }
  return formulas;
}

// The default settings of each kind and scored play.
SearchSettings Play(int index) {
  switch (index) {
    case 0:
    case 1:
    case 2:
    case 3:  // 定位胆, 大小, 单双, 大小单双
      return {plan::PlanKind::Position, 4, 4, 5, index};
    case 4:
      return {plan::PlanKind::TwoStar, 8, 3, 0, plan::kTwoStarGroup};
    case 5:
      return {plan::PlanKind::TwoStar, 8, 3, 0, plan::kTwoStarStraight};
    case 6:
      return {plan::PlanKind::ThreeStar, 8, 3, 0, plan::kThreeStarGroup};
    default:
      return {plan::PlanKind::ThreeStar, 8, 3, 0, plan::kThreeStarStraight};
  }
}
const char* kPlayNames[] = {"定位胆",   "大小",         "单双",     "大小单双",
                            "后二复式", "后二直选复式", "后三复式", "后三直选复式"};
constexpr int kPlays = 8;

void BM_Search180(benchmark::State& state) {
  const search::SearchSource source(Draws(180));
  const auto candidates = Candidates(5000);
  const SearchSettings settings = Play(static_cast<int>(state.range(0)));
  state.SetLabel(kPlayNames[state.range(0)]);
  for (auto _ : state) {
    // Preparing the scorer is part of every search.
    const search::CandidateScorer scorer(source, settings);
    int listed = 0;
    for (const auto& f : candidates) listed += search::RatePercent(scorer.Score(f)) >= 80;
    benchmark::DoNotOptimize(listed);
  }
}
BENCHMARK(BM_Search180)->DenseRange(0, kPlays - 1)->Unit(benchmark::kMillisecond);

// The class of 大小单双 for 8192 bases (formula numbers of up to eight digits)
// by the block kernel of each instruction set: 0 one at a time, 1 AVX2,
// 2 AVX-512. A machine without one runs the next it has.
void BM_ClassPickerMasks(benchmark::State& state) {
  const auto isa = static_cast<search::LaneIsa>(state.range(0));
  constexpr std::size_t kBases = 8192;
  std::vector<std::uint32_t> formulaNumbers(kBases + search::kClassPadding);
  std::vector<std::uint32_t> drawNumbers(kBases + search::kClassPadding);
  std::uint32_t random = 7;
  for (std::size_t i = 0; i < kBases; ++i) {
    formulaNumbers[i] = Next(random) % 100'000'000;
    drawNumbers[i] = Next(random) % 100'000;
  }
  std::vector<std::uint32_t> masks(kBases + search::kClassPadding);
  const search::ClassPicker picker(plan::kMethodBoth, isa);
  state.SetLabel(search::LaneIsaSupported(isa) ? "" : "not on this machine");
  for (auto _ : state) {
    picker.Masks(formulaNumbers.data(), drawNumbers.data(), kBases, masks.data());
    benchmark::DoNotOptimize(masks.data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kBases));
}
BENCHMARK(BM_ClassPickerMasks)->DenseRange(0, 2);

// The same search evaluating every plan through the plan engine's
// EvaluateFormula (0) and its literal reference evaluation (1).
void BM_Search180Plain(benchmark::State& state) {
  const auto draws = Draws(180);
  const auto candidates = Candidates(5000);
  const SearchSettings settings = Play(static_cast<int>(state.range(1)));
  const auto evaluate =
      state.range(0) == 0 ? &plan::EvaluateFormula : &plan::ReferenceEvaluateFormula;
  state.SetLabel(std::string(state.range(0) == 0 ? "EvaluateFormula " : "reference ") +
                 kPlayNames[state.range(1)]);
  for (auto _ : state) {
    int listed = 0;
    for (const auto& f : candidates) {
      listed +=
          search::RatePercent(search::ScoreCandidatePlain(draws, settings, f, evaluate)) >= 80;
    }
    benchmark::DoNotOptimize(listed);
  }
}
BENCHMARK(BM_Search180Plain)
    ->ArgsProduct({{0, 1}, benchmark::CreateDenseRange(0, kPlays - 1, 1)})
    ->Unit(benchmark::kMillisecond);

// 100,000 draws: scored on every core, listed in library order.
void BM_SearchLongHistory(benchmark::State& state) {
  const auto draws = Draws(100000);
  const auto candidates = Candidates(5000);
  const SearchSettings settings = Play(static_cast<int>(state.range(0)));
  state.SetLabel(kPlayNames[state.range(0)]);
  for (auto _ : state) {
    search::ParallelScoring scoring(search::CandidateScorer(search::SearchSource(draws), settings),
                                    candidates, nullptr);
    int listed = 0;
    search::SearchHooks hooks;
    hooks.stopRequested = [] { return false; };
    hooks.list = [&](std::size_t, int) { ++listed; };
    hooks.wait = [](const std::function<bool()>& ready) {
      while (!ready()) std::this_thread::sleep_for(std::chrono::microseconds(200));
    };
    hooks.between = [](std::size_t) {};
    search::ListScoredCandidates(scoring, 50, hooks);
    benchmark::DoNotOptimize(listed);
  }
}
BENCHMARK(BM_SearchLongHistory)
    ->DenseRange(0, kPlays - 1)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The whole click on the in-memory window: library file read, 5000 rows
// scored over 180 draws on every core, qualifying rows listed. The argument
// is the play of 组合框_搜玩发2 (0 定位胆, 3 大小单双).
void BM_StartFormulaSearchClick(benchmark::State& state) {
  TempDir data;
  sqlite3* db = nullptr;
  sqlite3_open((data.path() / "gssjj.dll").c_str(), &db);
  std::string sql = "BEGIN; CREATE TABLE records (定位公式 TEXT);";
  for (const auto& f : Candidates(5000)) sql += "INSERT INTO records VALUES ('" + f + "');";
  sqlite3_exec(db, (sql + "COMMIT;").c_str(), nullptr, nullptr, nullptr);
  sqlite3_close(db);

  ui::MemoryWindow window;
  app::AreaStates states;
  core::Context ctx{states.MakeContext(window, data.path(), data.path(), lottery::Chongqing())};
  const auto draws = Draws(180);
  for (const auto& d : draws) {
    const int row = window.InsertRow("列表框_开奖", -1);
    window.SetCell("列表框_开奖", row, 0, "20140301-001");
    window.SetCell("列表框_开奖", row, 1, d.code);
  }
  window.SetCurrentIndex("组合框_搜索条数", window.ItemCount("组合框_搜索条数") - 1);  // 5000
  window.SetCurrentIndex("组合框_搜概率", 0);  // 10%: nearly every candidate listed
  window.SetCurrentIndex("组合框_搜玩发2", static_cast<int>(state.range(0)));
  state.SetLabel(kPlayNames[state.range(0)]);
  for (auto _ : state) {
    search::StartFormulaSearch(ctx);
    benchmark::DoNotOptimize(window.RowCount("超级列表框_搜索"));
  }
  state.counters["rows"] = window.RowCount("超级列表框_搜索");
}
BENCHMARK(BM_StartFormulaSearchClick)->Arg(0)->Arg(3)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
