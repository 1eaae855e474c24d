#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "trend/trend_chart.h"

namespace trend {
namespace {

constexpr int kArchiveSize = 100000;

// Random draws, 120 a day; `missing` is a digit never drawn at 个 (-1 for
// none), the case where finding the first shown row's omissions reads the whole archive.
std::vector<lottery::Draw> Archive(int missing) {
  std::mt19937 random(11);
  std::vector<lottery::Draw> archive;
  archive.reserve(kArchiveSize);
  for (int i = 0; i < kArchiveSize; ++i) {
    char issue[16];
    std::snprintf(issue, sizeof issue, "2%07d-%03d", i / 120, i % 120 + 1);
    std::string code;
    for (int k = 0; k < 5; ++k) {
      int digit = static_cast<int>(random() % 10);
      if (k == 4 && digit == missing) digit = (digit + 1) % 10;
      code.push_back(static_cast<char>('0' + digit));
    }
    archive.push_back({issue, code});
  }
  return archive;
}

void BuildChart(benchmark::State& state, int missing) {
  const std::vector<lottery::Draw> archive = Archive(missing);
  const int shown = static_cast<int>(state.range(0));
  for (auto _ : state) {
    benchmark::DoNotOptimize(BuildTrendChart(archive, 4, shown));
  }
}

void BM_BuildTrendChart(benchmark::State& state) { BuildChart(state, -1); }
void BM_BuildTrendChartDigitNeverDrawn(benchmark::State& state) { BuildChart(state, 9); }

BENCHMARK(BM_BuildTrendChart)->Arg(50)->Arg(200)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BuildTrendChartDigitNeverDrawn)->Arg(200)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace trend
