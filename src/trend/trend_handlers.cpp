#include "trend/trend_handlers.h"

#include <array>
#include <cstddef>

#include "archive/archive_handlers.h"
#include "base/leading_number.h"
#include "trend/trend_chart.h"

namespace trend {
namespace {

constexpr const char* kChart = "走势图_号码";
constexpr const char* kPositionCombo = "组合框_走势位置";
constexpr const char* kCountCombo = "组合框_走势期数";

// Draws read before the shown rows: enough for every digit to have shown
// itself in all but freak archives, which are then read whole.
constexpr std::size_t kLookBack = 1000;

bool EveryDigitBefore(const std::vector<lottery::Draw>& draws, std::size_t shown, int position) {
  std::array<bool, 10> seen{};
  int missing = 10;
  for (std::size_t i = 0; i + shown < draws.size() && missing > 0; ++i) {
    const int digit = DigitAt(draws[i].code, position);
    if (digit >= 0 && !seen[static_cast<std::size_t>(digit)]) {
      seen[static_cast<std::size_t>(digit)] = true;
      --missing;
    }
  }
  return missing == 0;
}

std::vector<lottery::Draw> DrawsFor(core::Context& ctx, std::size_t shown, int position) {
  std::vector<lottery::Draw> draws = archive::NewestArchivedDraws(ctx, shown + kLookBack);
  if (draws.size() < shown + kLookBack || EveryDigitBefore(draws, shown, position)) return draws;
  // A digit not seen for a thousand draws: its omission runs further back.
  return archive::NewestArchivedDraws(ctx, SIZE_MAX);
}

}  // namespace

void RebuildTrendChart(core::Context& ctx) {
  ui::Window& window = ctx.window;
  const int position = std::max(window.CurrentIndex(kPositionCombo), 0);
  const int shown = base::LeadingCount<int>(window.Text(kCountCombo));
  const std::vector<lottery::Draw> draws =
      DrawsFor(ctx, static_cast<std::size_t>(std::max(shown, 0)), position);
  const TrendChart chart = BuildTrendChart(draws, position, shown);

  window.DeleteAllRows(kChart);
  for (std::size_t r = 0; r < chart.rows.size(); ++r) {
    const int row = window.InsertRow(kChart, -1);
    const auto& cells = chart.rows[r];
    for (std::size_t c = 0; c < cells.size(); ++c) {
      window.SetCell(kChart, row, static_cast<int>(c), cells[c]);
    }
    if (r < chart.ballColumns.size()) window.SetRowMark(kChart, row, chart.ballColumns[r]);
  }
}

void BindTrendHandlers(core::Context& ctx) {
  for (const char* combo : {kPositionCombo, kCountCombo}) {
    ctx.window.Bind(combo, ui::Event::ItemChosen, [&ctx](int) { RebuildTrendChart(ctx); });
  }
  ctx.events.Subscribe(core::Event::ArchiveChanged, core::Stage::TrendChart,
                       [&ctx] { RebuildTrendChart(ctx); });
}

}  // namespace trend
