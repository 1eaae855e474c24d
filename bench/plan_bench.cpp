#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "lottery/lottery.h"
#include "plan/formula.h"
#include "plan/plan_run.h"
#include "plan/reference_formula.h"

namespace plan {
namespace {

constexpr std::size_t kDrawCount = 1024;  // a power of two: cycled with a mask

const std::vector<std::string>& Draws() {
  static const std::vector<std::string> draws = [] {
    std::mt19937 random(7);
    std::vector<std::string> result;
    for (std::size_t i = 0; i < kDrawCount; ++i) {
      std::string digits;
      for (int k = 0; k < 5; ++k) digits.push_back(static_cast<char>('0' + random() % 10));
      result.push_back(digits);
    }
    return result;
  }();
  return draws;
}

// The value digits of "DCC*657" per draw: the formula of the position plan's
// second evaluation.
const std::vector<std::string>& ValueDigits() {
  static const std::vector<std::string> values = [] {
    std::vector<std::string> result;
    for (const auto& d : Draws())
      result.push_back(EvaluateFormula(d, 5, "DCC*657").valueDigits.str());
    return result;
  }();
  return values;
}

template <typename Evaluate>
void EvaluateOverDraws(benchmark::State& state, Evaluate evaluate, std::string_view formula) {
  const auto& draws = Draws();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(evaluate(draws[i++ & (kDrawCount - 1)], 5, formula));
  }
}

template <typename Evaluate>
void EvaluateValueDigits(benchmark::State& state, Evaluate evaluate) {
  const auto& draws = Draws();
  const auto& values = ValueDigits();
  std::size_t i = 0;
  for (auto _ : state) {
    std::size_t k = i++ & (kDrawCount - 1);
    benchmark::DoNotOptimize(evaluate(draws[k], 5, values[k]));
  }
}

void BM_EvaluateFormula_DCC657(benchmark::State& state) {
  EvaluateOverDraws(state, EvaluateFormula, "DCC*657");
}
void BM_Reference_DCC657(benchmark::State& state) {
  EvaluateOverDraws(state, ReferenceEvaluateFormula, "DCC*657");
}
void BM_EvaluateFormula_SevenDigitLiteral(benchmark::State& state) {
  EvaluateOverDraws(state, EvaluateFormula, "3140865");
}
void BM_Reference_SevenDigitLiteral(benchmark::State& state) {
  EvaluateOverDraws(state, ReferenceEvaluateFormula, "3140865");
}
void BM_EvaluateFormula_ValueDigits(benchmark::State& state) {
  EvaluateValueDigits(state, EvaluateFormula);
}
void BM_Reference_ValueDigits(benchmark::State& state) {
  EvaluateValueDigits(state, ReferenceEvaluateFormula);
}
// The path of machines without the AVX-512 instructions EvaluateFormula uses.
void BM_EvaluateFormulaPortably_DCC657(benchmark::State& state) {
  EvaluateOverDraws(state, EvaluateFormulaPortably, "DCC*657");
}
void BM_EvaluateFormulaPortably_ValueDigits(benchmark::State& state) {
  EvaluateValueDigits(state, EvaluateFormulaPortably);
}
BENCHMARK(BM_EvaluateFormula_DCC657);
BENCHMARK(BM_Reference_DCC657);
BENCHMARK(BM_EvaluateFormula_SevenDigitLiteral);
BENCHMARK(BM_Reference_SevenDigitLiteral);
BENCHMARK(BM_EvaluateFormula_ValueDigits);
BENCHMARK(BM_Reference_ValueDigits);
BENCHMARK(BM_EvaluateFormulaPortably_DCC657);
BENCHMARK(BM_EvaluateFormulaPortably_ValueDigits);

// A history newest first, 120 issues a day.
std::vector<lottery::Draw> History(std::size_t count) {
  std::mt19937 random(11);
  std::vector<lottery::Draw> history(count);
  for (std::size_t i = 0; i < count; ++i) {
    std::size_t age = count - 1 - i;  // 0 for the oldest
    char issue[32];
    std::snprintf(issue, sizeof issue, "2014%04zu-%03zu", 101 + age / 120, 1 + age % 120);
    std::string digits;
    for (int k = 0; k < 5; ++k) digits.push_back(static_cast<char>('0' + random() % 10));
    history[i] = {issue, digits};
  }
  return history;
}

// What one click of 按钮_定位开始 computes: ten presets over the whole history,
// the report text of the selected one (or of all ten).
void PositionPlans(benchmark::State& state, int method, bool allReports = false) {
  auto history = History(static_cast<std::size_t>(state.range(0)));
  PlanSettings settings;
  settings.kind = PlanKind::Position;
  settings.position = 5;
  settings.method = method;
  settings.codeCount = 5;
  settings.periodCount = 3;
  settings.title = "后一定位胆";
  settings.drawsPerDay = lottery::Chongqing().schedule.DrawsPerDay();
  PresetFormulas formulas = {"DCC*657", "CED-762", "CEE+741", "DDE*241", "BEB+065",
                             "AAD*868", "EEA+354", "EDA-673", "ECC-733", "ABD*519"};
  PresetMask selected{};
  selected[0] = true;
  const PresetMask& withReport = allReports ? kAllPresets : selected;
  for (auto _ : state) {
    benchmark::DoNotOptimize(RunPresets(history, "", settings, formulas, withReport));
  }
  state.SetComplexityN(state.range(0));
}
void BM_PositionPlans(benchmark::State& state) { PositionPlans(state, kMethodDigits); }
void BM_PositionPlans_BigSmallOddEven(benchmark::State& state) {
  PositionPlans(state, kMethodBoth);
}
BENCHMARK(BM_PositionPlans)
    ->Arg(180)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);
void BM_PositionPlans_AllTenReports(benchmark::State& state) {
  PositionPlans(state, kMethodDigits, true);
}
BENCHMARK(BM_PositionPlans_AllTenReports)->Arg(180)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PositionPlans_BigSmallOddEven)->Arg(180)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace plan
