// Draw history: parsing a full day page, and a whole two-day refresh against
// the local mirror served in-process.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "app/area_states.h"
#include "core/context.h"
#include "draws/draw_list.h"
#include "draws/draw_refresh.h"
#include "draws/history_page.h"
#include "lottery/lottery.h"
#include "mirror_pages.h"
#include "mirror_server.h"
#include "storage/ini_file.h"
#include "temp_dir.h"
#include "ui/memory_window.h"

namespace {

using namespace std::chrono;

constexpr year_month_day kDay = 2014y / January / 5d;

// The mirror's page of a full day.
std::string FullDayPage() {
  std::vector<lottery::Draw> draws;
  for (int sequence = 1; sequence <= drawd::MirroredLottery().schedule.DrawsPerDay(); ++sequence) {
    draws.push_back(drawd::SimulatedDraw({kDay, sequence}));
  }
  return drawd::HistoryPage(kDay, draws);
}

void BM_ParseHistoryPage(benchmark::State& state) {
  const std::string page = FullDayPage();
  for (auto _ : state) {
    auto items = draws::ParseHistoryPage(page, "20140105", drawd::MirroredLottery());
    if (items.size() != 120) state.SkipWithError("the page gave no 120 items");
    benchmark::DoNotOptimize(items);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
  state.counters["rows"] = 120;
}
BENCHMARK(BM_ParseHistoryPage);

// A full day followed by row openings that are never closed, up to the
// argument's size in bytes: a search from each opening would run to the end
// of the page, so this shape shows whether the parse stays linear.
void BM_ParseUnclosedRowsPage(benchmark::State& state) {
  std::string page = FullDayPage();
  while (page.size() < static_cast<std::size_t>(state.range(0))) page += "<tr><td class='gray'>";
  for (auto _ : state) {
    auto items = draws::ParseHistoryPage(page, "20140105", drawd::MirroredLottery());
    if (items.size() != 120) state.SkipWithError("the page gave no 120 items");
    benchmark::DoNotOptimize(items);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_ParseUnclosedRowsPage)
    ->Arg(1 << 20)
    ->Arg(4 << 20)
    ->Arg(31 << 20)
    ->Unit(benchmark::kMillisecond);

// RefreshDraws from clearing the list to the filled list, both feeds and the
// combo boxes: yesterday's full page and 119 draws of today, 180 rows kept.
void BM_TwoDayRefresh(benchmark::State& state) {
  const drawd::LocalSeconds now{local_days(kDay).time_since_epoch() + hours(23) + minutes(56)};
  auto source = drawd::MirrorSource::Simulated([now] { return now; });
  drawd::MirrorServer mirror(source);
  const base::Result<int> port = mirror.Listen(0);
  if (!port) return state.SkipWithError(port.error().message.c_str());
  mirror.Start();

  TempDir dir;
  const std::string base = "http://127.0.0.1:" + std::to_string(port.value());
  for (const char* key : {"history", "feed1", "feed2", "video"}) {
    if (!storage::WriteIniKey(dir.path() / "sources.ini", "sources", key, base).ok()) {
      state.SkipWithError("sources.ini cannot be written");
    }
  }
  ui::MemoryWindow window;
  window.SetClock(ui::LocalTime{now.time_since_epoch()});
  app::AreaStates states;
  core::Context ctx{states.MakeContext(window, dir.path(), dir.path(), lottery::Chongqing())};

  for (auto _ : state) {
    draws::RefreshDraws(ctx);
    if (window.RowCount(draws::kDrawList) != 180) state.SkipWithError("the list has no 180 rows");
  }
}
BENCHMARK(BM_TwoDayRefresh)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
