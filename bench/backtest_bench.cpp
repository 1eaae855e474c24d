// The long-range backtest: the shipped library's 6000 formulas replayed with
// every statistic (定位胆 个位 5码 3期) over 100,000 draws and over 180, on
// every core; beside it the same replay on one core and the plain
// plan-engine path (ScoreCandidatePlain), per formula and draw, for the ratio.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <string>
#include <vector>

#include "backtest/backtest_run.h"
#include "search/candidate_score.h"
#include "search/formula_library.h"

namespace {

std::uint32_t Next(std::uint32_t& state) {
  state = state * 1664525u + 1013904223u;
  return state >> 8;
}

std::vector<lottery::Draw> Draws(std::int64_t n) {
  std::vector<lottery::Draw> draws;
  draws.reserve(static_cast<std::size_t>(n));
  std::uint32_t state = 20140301;
  for (std::int64_t i = 0; i < n; ++i) {
    char digits[6];
    std::snprintf(digits, sizeof digits, "%05u", Next(state) % 100000);
    draws.push_back({"20140301-001", digits});
  }
  return draws;
}

const std::vector<std::string>& Library() {
  static const std::vector<std::string> formulas = [] {
    auto read = search::ReadFormulaLibrary(LANZHOU_BENCH_BIN_DIR, 6000);
    return read.ok() ? std::move(read.value()) : std::vector<std::string>();
  }();
  return formulas;
}

const search::SearchSettings kSettings{plan::PlanKind::Position, 5, 3, 5, plan::kMethodDigits};

void Count(benchmark::State& state, std::size_t formulas, std::int64_t draws) {
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(formulas) * draws);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["maxRssMiB"] = static_cast<double>(usage.ru_maxrss) / 1024;
}

// Everything a click starts: the draws prepared, every formula replayed on
// every core, the rows collected in formula order.
void BM_Backtest(benchmark::State& state) {
  const auto draws = Draws(state.range(0));
  const auto& formulas = Library();
  if (formulas.size() != 6000) state.SkipWithError("formula library missing");
  for (auto _ : state) {
    auto rows = backtest::RunBacktest(draws, kSettings, formulas);
    benchmark::DoNotOptimize(rows.data());
  }
  Count(state, formulas.size(), state.range(0));
}
BENCHMARK(BM_Backtest)
    ->Arg(180)
    ->Arg(100000)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The same on one worker: the cost per core, and the yardstick of the ratio.
void BM_BacktestOneCore(benchmark::State& state) {
  const auto draws = Draws(state.range(0));
  const auto& formulas = Library();
  for (auto _ : state) {
    auto rows = backtest::RunBacktest(draws, kSettings, formulas, 1);
    benchmark::DoNotOptimize(rows.data());
  }
  Count(state, formulas.size(), state.range(0));
}
BENCHMARK(BM_BacktestOneCore)
    ->Arg(180)
    ->Arg(100000)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The plain path, one thread, over the first formulas (all of them would
// take minutes over 100,000 draws): compare items per second.
void BM_BacktestPlain(benchmark::State& state) {
  const auto draws = Draws(state.range(0));
  const auto& library = Library();
  const std::size_t count = state.range(0) > 1000 ? 30 : library.size();
  const std::vector<std::string> formulas(library.begin(),
                                          library.begin() + static_cast<long>(count));
  for (auto _ : state) {
    int hits = 0;
    for (const auto& f : formulas) hits += search::ScoreCandidatePlain(draws, kSettings, f).hits;
    benchmark::DoNotOptimize(hits);
  }
  Count(state, formulas.size(), state.range(0));
}
BENCHMARK(BM_BacktestPlain)->Arg(180)->Arg(100000)->Unit(benchmark::kMillisecond);

// The longest archive the page offers with "全部": a million draws.
void BM_BacktestMillion(benchmark::State& state) {
  const auto draws = Draws(1000000);
  const auto& library = Library();
  const std::vector<std::string> formulas(library.begin(), library.begin() + 600);
  for (auto _ : state) {
    auto rows = backtest::RunBacktest(draws, kSettings, formulas);
    benchmark::DoNotOptimize(rows.data());
  }
  Count(state, formulas.size(), 1000000);
}
BENCHMARK(BM_BacktestMillion)
    ->Iterations(1)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
