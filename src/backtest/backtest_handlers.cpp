#include "backtest/backtest_handlers.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "archive/archive_handlers.h"
#include "backtest/backtest_ranking.h"
#include "backtest/backtest_run.h"
#include "backtest/backtest_state.h"
#include "backtest/formula_lines.h"
#include "base/leading_number.h"
#include "plan/plan_page_run.h"
#include "plan/preset_formula_file.h"
#include "search/formula_library.h"
#include "search/save_best_as_presets.h"

namespace backtest {
namespace {

constexpr const char* kList = "超级列表框_回测";
constexpr const char* kStartButton = "超级按钮_开始回测";
constexpr const char* kProgressBar = "进度条_回测";
constexpr const char* kProgressLabel = "标签_回测进度";
constexpr const char* kPlayCombo = "组合框_回测玩法";
constexpr const char* kPositionCombo = "组合框_回测位置";

// Every formula the library holds; the search reads at most 5000.
constexpr int kWholeLibrary = 1'000'000;

struct KindControls {
  plan::PlanKind kind;
  const char* radio;
  const char* planPlayCombo;  // the plan page's play list, as the search copies it
};
constexpr KindControls kKinds[] = {
    {plan::PlanKind::Position, "单选框_回测定位", "组合框_定位选法1"},
    {plan::PlanKind::TwoStar, "单选框_回测二星", "组合框_二星选1"},
    {plan::PlanKind::ThreeStar, "单选框_回测三星", "组合框_三星选1"},
};

plan::PlanKind CheckedKind(const ui::Window& window) {
  for (const KindControls& k : kKinds) {
    if (window.Checked(k.radio)) return k.kind;
  }
  return plan::PlanKind::Position;
}

// The play the search picks first for a kind: 定位胆, or the one-key panel's
// mode for the two- and three-star kinds.
int DefaultPlay(const ui::Window& window, plan::PlanKind kind) {
  switch (kind) {
    case plan::PlanKind::TwoStar:
      return window.Checked("单选框_后二复试") ? plan::kTwoStarGroup : plan::kTwoStarStraight;
    case plan::PlanKind::ThreeStar:
      return window.Checked("单选框_后三组选") ? plan::kThreeStarGroup : plan::kThreeStarStraight;
    case plan::PlanKind::Position:
      break;
  }
  return plan::kMethodDigits;
}

void SelectKind(core::Context& ctx, const KindControls& k) {
  ui::Window& window = ctx.window;
  window.ClearItems(kPlayCombo);
  for (int i = 0; i < window.ItemCount(k.planPlayCombo); ++i) {
    window.AddItem(kPlayCombo, window.ItemText(k.planPlayCombo, i));
  }
  window.SetCurrentIndex(kPlayCombo, DefaultPlay(window, k.kind));
  window.SetEnabled(kPositionCombo, k.kind == plan::PlanKind::Position);
}

search::SearchSettings ReadSettings(const ui::Window& window) {
  search::SearchSettings settings;
  settings.kind = CheckedKind(window);
  settings.position = window.CurrentIndex(kPositionCombo) + 1;
  settings.play = window.CurrentIndex(kPlayCombo);
  settings.codeCount = window.CurrentIndex("组合框_回测码数") + 1;
  settings.periods = window.CurrentIndex("组合框_回测期数") + 1;
  return settings;
}

// "最近1000期" reads 1000, "全部" every draw.
std::size_t DrawCount(const ui::Window& window) {
  const std::string range = window.Text("组合框_回测范围");
  const std::string recent = "最近";
  if (range.rfind(recent, 0) != 0) return SIZE_MAX;
  return base::LeadingCount<std::size_t>(range.substr(recent.size()));
}

base::Result<std::vector<std::string>> ReadFormulas(core::Context& ctx, plan::PlanKind kind) {
  const std::string source = ctx.window.Text("组合框_回测公式");
  if (source == "预设公式") {
    const plan::PresetFormulas presets = plan::LoadPresetFormulas(ctx.dataDir, kind);
    return std::vector<std::string>(presets.begin(), presets.end());
  }
  if (source == "自定义") return FormulaLines(ctx.window.Text("编辑框_回测公式"));
  auto library = search::ReadFormulaLibrary(ctx.dataDir, kWholeLibrary);
  if (!library) return base::Error{"无法读取公式库：" + library.error().message};
  return library;
}

void ListRows(core::Context& ctx) {
  ui::Window& window = ctx.window;
  const std::string limitText = window.Text("组合框_回测条数");
  const std::size_t limit =
      limitText == "全部" ? ctx.backtest.rows.size() : base::LeadingCount<std::size_t>(limitText);
  window.DeleteAllRows(kList);
  for (std::size_t i = 0; i < std::min(limit, ctx.backtest.rows.size()); ++i) {
    const int row = window.InsertRow(kList, -1);
    const auto cells = RowCells(ctx.backtest.rows[i], static_cast<int>(i) + 1);
    for (std::size_t c = 0; c < cells.size(); ++c) {
      window.SetCell(kList, row, static_cast<int>(c), cells[c]);
    }
  }
}

std::string Seconds(std::chrono::steady_clock::duration elapsed) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", std::chrono::duration<double>(elapsed).count());
  return text;
}

void ShowProgress(ui::Window& window, std::size_t completed, std::size_t total) {
  window.SetProgress(kProgressBar, total == 0 ? 100 : static_cast<int>(completed * 100 / total));
  window.SetText(kProgressLabel,
                 "已完成 " + std::to_string(completed) + "/" + std::to_string(total));
}

void RunAndList(core::Context& ctx, std::vector<lottery::Draw> source,
                const search::SearchSettings& settings, std::vector<std::string> formulas) {
  ui::Window& window = ctx.window;
  const auto started = std::chrono::steady_clock::now();
  const std::size_t total = formulas.size();
  BacktestRun run(std::move(source), settings, std::move(formulas),
                  [&window](std::size_t) { window.Wake(); });
  ctx.backtest.running = &run;
  // At least four updates a second; events run throughout, the stop button's too.
  while (!run.Done()) {
    window.WaitUntil([&run] { return run.Done(); }, std::chrono::milliseconds(200));
    ShowProgress(window, run.Completed(), total);
  }
  ctx.backtest.running = nullptr;
  ctx.backtest.rows = run.Rows();
  RankRows(ctx.backtest.rows);
  ListRows(ctx);
  const std::size_t finished = ctx.backtest.rows.size();
  if (finished < total) {
    window.SetText(kProgressLabel,
                   "已停止 " + std::to_string(finished) + "/" + std::to_string(total));
  } else {
    window.SetProgress(kProgressBar, 100);
    window.SetText(kProgressLabel, "完成 " + std::to_string(total) + " 个公式，用时 " +
                                       Seconds(std::chrono::steady_clock::now() - started) + " 秒");
  }
}

void SaveAsPresets(core::Context& ctx) {
  std::vector<std::string> best;
  for (std::size_t i = 0; i < std::min<std::size_t>(10, ctx.backtest.rows.size()); ++i) {
    best.push_back(ctx.backtest.rows[i].formula);
  }
  if (best.empty()) return;
  const int kind = static_cast<int>(CheckedKind(ctx.window));
  if (auto saved = search::SaveBestAsPresets(ctx.dataDir, kind, best); !saved) {
    ctx.window.MessageBox("保存公式", "无法保存预设公式：" +
                                          (ctx.dataDir / plan::kPresetFileName).string() + "\n" +
                                          saved.error().message);
    return;
  }
  // The kind's plans run again, so its buttons caption the new presets.
  switch (static_cast<plan::PlanKind>(kind)) {
    case plan::PlanKind::Position:
      plan::RunPositionPlans(ctx);
      break;
    case plan::PlanKind::TwoStar:
      plan::RunTwoStarPlans(ctx);
      break;
    case plan::PlanKind::ThreeStar:
      plan::RunThreeStarPlans(ctx);
      break;
  }
}

}  // namespace

void StartBacktest(core::Context& ctx) {
  ui::Window& window = ctx.window;
  if (ctx.backtest.running != nullptr) return;
  const search::SearchSettings settings = ReadSettings(window);
  auto formulas = ReadFormulas(ctx, settings.kind);
  if (!formulas) {
    window.SetText(kProgressLabel, formulas.error().message);
    return;
  }
  std::vector<lottery::Draw> source = archive::NewestArchivedDraws(ctx, DrawCount(window));
  window.SetEnabled(kStartButton, false);
  ShowProgress(window, 0, formulas.value().size());
  RunAndList(ctx, std::move(source), settings, std::move(formulas.value()));
  window.SetEnabled(kStartButton, true);
}

void BindBacktestHandlers(core::Context& ctx) {
  ui::Window& window = ctx.window;
  for (const KindControls& k : kKinds) {
    window.Bind(k.radio, ui::Event::Click, [&ctx, &k](int) { SelectKind(ctx, k); });
  }
  window.Bind(kStartButton, ui::Event::Click, [&ctx](int) { StartBacktest(ctx); });
  window.Bind("超级按钮_停止回测", ui::Event::Click, [&ctx](int) {
    if (ctx.backtest.running != nullptr) ctx.backtest.running->Stop();
  });
  window.Bind("超级按钮_回测存预设", ui::Event::Click, [&ctx](int) { SaveAsPresets(ctx); });
  window.Bind(kList, ui::Event::HeaderClick, [&ctx](int column) {
    SortRowsByColumn(ctx.backtest.rows, column);
    ListRows(ctx);
  });
}

}  // namespace backtest
