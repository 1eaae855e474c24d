// The draw archive: importing and exporting a million draws, reading the
// newest hundred thousand for a backtest, and storing one full refresh.
#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>

#include "archive/draw_export.h"
#include "archive/draw_import.h"
#include "archive/draw_store.h"
#include "archive/generated_draws.h"
#include "temp_dir.h"

namespace {

using namespace std::chrono;

constexpr std::size_t kMillion = 1000000;
const local_seconds kNow = local_days(2024y / January / 2d) + 3h;

archive::DrawStore OpenStore(const std::filesystem::path& file) {
  auto opened = archive::DrawStore::Open(file, lottery::Chongqing(), kNow);
  if (!opened) throw std::runtime_error(opened.error().message);
  return std::move(opened.value().store);
}

void RemoveArchive(const std::filesystem::path& file) {
  for (const char* suffix : {"", "-wal", "-shm"}) {
    std::filesystem::remove(file.string() + suffix);
  }
}

// Built once for the whole run: a file of a million lines and an archive
// holding them.
struct MillionDraws {
  MillionDraws() {
    std::ofstream(csv, std::ios::binary) << DrawCsv(GeneratedDraws(kMillion));
    archive::DrawStore store = OpenStore(db);
    auto imported = archive::ImportDrawFile(store, csv, "import", kNow);
    if (!imported || imported.value().imported != static_cast<std::int64_t>(kMillion)) {
      throw std::runtime_error("the million draws did not import");
    }
  }
  TempDir dir;
  std::filesystem::path csv = dir.path() / "million.csv";
  std::filesystem::path db = dir.path() / "million.db";
};

const MillionDraws& Million() {
  static const MillionDraws million;
  return million;
}

void BM_ImportMillionLines(benchmark::State& state) {
  const MillionDraws& million = Million();
  const auto file = million.dir.path() / "import.db";
  for (auto _ : state) {
    state.PauseTiming();
    RemoveArchive(file);
    auto store = std::make_unique<archive::DrawStore>(OpenStore(file));
    state.ResumeTiming();
    auto report = archive::ImportDrawFile(*store, million.csv, "import", kNow);
    state.PauseTiming();
    if (!report || report.value().imported != static_cast<std::int64_t>(kMillion)) {
      state.SkipWithError("the import fell short");
    }
    store.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kMillion));
}
BENCHMARK(BM_ImportMillionLines)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ExportMillionDraws(benchmark::State& state) {
  const MillionDraws& million = Million();
  const archive::DrawStore store = OpenStore(million.db);
  const auto file = million.dir.path() / "export.csv";
  for (auto _ : state) {
    auto exported = archive::ExportDrawFile(store, file);
    if (!exported || exported.value() != static_cast<std::int64_t>(kMillion)) {
      state.SkipWithError("the export fell short");
    }
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kMillion));
}
BENCHMARK(BM_ExportMillionDraws)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_NewestHundredThousand(benchmark::State& state) {
  const archive::DrawStore store = OpenStore(Million().db);
  for (auto _ : state) {
    auto newest = store.Newest(100000);
    if (!newest || newest.value().size() != 100000) state.SkipWithError("too few draws");
    benchmark::DoNotOptimize(newest);
  }
}
BENCHMARK(BM_NewestHundredThousand)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SummaryOfMillion(benchmark::State& state) {
  const archive::DrawStore store = OpenStore(Million().db);
  for (auto _ : state) {
    auto summary = store.Summary();
    if (!summary || summary.value().count != static_cast<std::int64_t>(kMillion)) {
      state.SkipWithError("the count is wrong");
    }
  }
}
BENCHMARK(BM_SummaryOfMillion)->Unit(benchmark::kMillisecond)->UseRealTime();

// The start-up cost: the integrity check reads the whole file.
void BM_OpenMillionArchive(benchmark::State& state) {
  const auto& db = Million().db;
  for (auto _ : state) {
    archive::DrawStore store = OpenStore(db);
    benchmark::DoNotOptimize(store);
  }
}
BENCHMARK(BM_OpenMillionArchive)->Unit(benchmark::kMillisecond)->UseRealTime();

// A full refresh into an archive of a hundred thousand draws: 180 new ones
// each time (after a long pause), or the same 180 again (the usual case).
void BM_StoreRefresh(benchmark::State& state) {
  const bool fresh = state.range(0) == 1;
  TempDir dir;
  archive::DrawStore store = OpenStore(dir.path() / "draws.db");
  if (!store.Store(GeneratedDraws(100000), "import", kNow)) {
    state.SkipWithError("no archive");
    return;
  }
  std::size_t next = 100000;
  auto rows = GeneratedDraws(180, next - 180);
  for (auto _ : state) {
    if (fresh) {
      state.PauseTiming();
      rows = GeneratedDraws(180, next);
      next += 180;
      state.ResumeTiming();
    }
    auto counts = store.Store(rows, "refresh", kNow);
    if (!counts || counts.value().added + counts.value().unchanged != 180) {
      state.SkipWithError("the refresh was not stored");
    }
  }
}
BENCHMARK(BM_StoreRefresh)
    ->ArgName("new")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
