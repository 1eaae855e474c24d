#include "search/search_handlers.h"

#include <chrono>
#include <cstdlib>

#include "base/leading_number.h"
#include "draws/draw_list_reading.h"
#include "plan/draw.h"
#include "plan/plan_page_reading.h"
#include "plan/plan_page_run.h"
#include "plan/preset_formula_file.h"
#include "search/formula_library.h"
#include "search/result_sort.h"
#include "search/save_best_as_presets.h"
#include "search/search_run.h"
#include "search/search_state.h"
#include "search/used_formula_record.h"

namespace search {
namespace {

constexpr const char* kResultList = "超级列表框_搜索";
constexpr const char* kStartButton = "按钮_搜开始";
constexpr const char* kSortButton = "按钮_搜公式排序";
constexpr const char* kSmartButton = "超级按钮_智能筛选";
constexpr const char* kHint = "标签_搜索提示";
constexpr const char* kBusyText = "正在搜索，请稍侯.....";
constexpr const char* kLibraryUnreadableText = "无法读取公式库 gssjj.dll，没有公式可搜索";
constexpr const char* kCodeCombo = "组合框_搜码数";
constexpr const char* kPeriodCombo = "组合框_搜期数";
constexpr const char* kPositionCombo = "组合框_搜玩发1";
constexpr const char* kPlayCombo = "组合框_搜玩发2";
constexpr const char* kStartCombo = "组合框_搜起始期";

// What differs between the kinds on the search tab and in the plan area.
struct KindControls {
  plan::PlanKind kind;
  const char* radio;
  const char* planStartCombo;
  const char* planPlayCombo;
  int planTab;  // page of 高级选择夹_计划总
};
constexpr KindControls kKinds[] = {
    {plan::PlanKind::Position, "单选框_搜定位", "组合框_定位起始期1", "组合框_定位选法1", 0},
    {plan::PlanKind::TwoStar, "单选框_搜二星", "组合框_二星起始期1", "组合框_二星选1", 1},
    {plan::PlanKind::ThreeStar, "单选框_搜三星", "组合框_三星起始期1", "组合框_三星选1", 2},
};
const KindControls& ControlsOf(plan::PlanKind kind) { return kKinds[static_cast<int>(kind) - 1]; }

int NumberIn(const std::string& text) { return base::LeadingCount<int>(text); }

// The position search follows the position plan's one-key settings.
void CopyPositionPlanSettings(ui::Window& window) {
  plan::SelectCheckedPosition(window, kPositionCombo);
  window.SetCurrentIndex(kCodeCombo, NumberIn(window.Text("编辑框_定位码数")) - 1);
  window.SetCurrentIndex(kPeriodCombo, NumberIn(window.Text("编辑框_定位期数")) - 1);
}

void AppendResultRow(ui::Window& window, int sequence, const std::string& formula,
                     const std::string& rateText) {
  const int row = window.InsertRow(kResultList, -1);
  window.SetCell(kResultList, row, 0, std::to_string(sequence));
  window.SetCell(kResultList, row, 1, formula);
  window.SetCell(kResultList, row, 2, rateText + "%");
}

base::Status RunSearch(core::Context& ctx, plan::PlanKind kind) {
  ui::Window& window = ctx.window;
  if (draws::NewestDraw(window).issue.empty()) return base::Ok{};
  ctx.search.stopRequested = false;
  if (kind == plan::PlanKind::Position) CopyPositionPlanSettings(window);

  const int count = NumberIn(plan::SelectedItem(window, "组合框_搜索条数"));
  const int threshold = NumberIn(plan::SelectedItem(window, "组合框_搜概率"));
  SearchSettings settings;
  settings.kind = kind;
  settings.codeCount = window.CurrentIndex(kCodeCombo) + 1;
  settings.periods = window.CurrentIndex(kPeriodCombo) + 1;
  settings.position = window.CurrentIndex(kPositionCombo) + 1;
  settings.play = window.CurrentIndex(kPlayCombo);
  // The plan tab's start combo holds the same issues in the same order.
  const int startIndex = window.CurrentIndex(ControlsOf(kind).planStartCombo);
  const std::string startIssue = startIndex >= 0 && startIndex < window.ItemCount(kStartCombo)
                                     ? window.ItemText(kStartCombo, startIndex)
                                     : std::string();

  SearchSource source(plan::BuildPlanSource(draws::ReadDrawList(window), startIssue));
  auto library = ReadFormulaLibrary(ctx.dataDir, count);
  window.DeleteAllRows(kResultList);
  if (!library) return base::Error{kLibraryUnreadableText};
  std::vector<std::string> candidates = std::move(library.value());

  ParallelScoring scoring(CandidateScorer(std::move(source), settings), std::move(candidates),
                          [&window] { window.Wake(); });
  using Clock = std::chrono::steady_clock;
  const auto started = Clock::now();
  auto shown = started;
  int listed = 0;
  SearchHooks hooks;
  hooks.stopRequested = [&] { return ctx.search.stopRequested; };
  hooks.list = [&](std::size_t i, int rate) {
    AppendResultRow(window, ++listed, scoring.Candidate(i), std::to_string(rate));
  };
  hooks.wait = [&](const std::function<bool()>& ready) {
    window.WaitUntil(ready, std::chrono::milliseconds(50));
  };
  hooks.between = [&](std::size_t done) {
    window.ProcessEvents();
    const auto now = Clock::now();
    if (now - started > std::chrono::seconds(1) && now - shown > std::chrono::milliseconds(100)) {
      window.SetText(kHint, SearchProgressText(done, scoring.size()));
      shown = now;
    }
  };
  ListScoredCandidates(scoring, threshold, hooks);
  ctx.search.stopRequested = false;
  return base::Ok{};
}

}  // namespace

void StartFormulaSearch(core::Context& ctx) {
  ui::Window& window = ctx.window;
  if (ctx.search.running) return;
  ctx.search.running = true;
  // The smart filter keeps its own button disabled around the whole search.
  const bool smartWasEnabled = window.Enabled(kSmartButton);
  window.SetEnabled(kStartButton, false);
  window.SetEnabled(kSmartButton, false);
  window.SetEnabled(kSortButton, false);
  window.SetText(kHint, kBusyText);

  struct Finish {
    core::Context& ctx;
    bool smartWasEnabled;
    base::Status searched = base::Ok{};
    ~Finish() {
      // A search that could not run says why until the next one starts.
      ctx.window.SetText(kHint, searched ? "" : searched.error().message);
      ctx.window.SetEnabled(kSortButton, true);
      ctx.window.SetEnabled(kStartButton, true);
      ctx.window.SetEnabled(kSmartButton, smartWasEnabled);
      ctx.search.running = false;
    }
  } finish{ctx, smartWasEnabled};

  if (window.Checked("单选框_搜定位")) finish.searched = SearchPosition(ctx);
  if (window.Checked("单选框_搜二星")) finish.searched = SearchTwoStar(ctx);
  if (window.Checked("单选框_搜三星")) finish.searched = SearchThreeStar(ctx);
}

void StopFormulaSearch(core::Context& ctx) {
  ctx.window.SetEnabled(kSortButton, true);
  ctx.search.stopRequested = true;
}

base::Status SearchPosition(core::Context& ctx) { return RunSearch(ctx, plan::PlanKind::Position); }
base::Status SearchTwoStar(core::Context& ctx) { return RunSearch(ctx, plan::PlanKind::TwoStar); }
base::Status SearchThreeStar(core::Context& ctx) {
  return RunSearch(ctx, plan::PlanKind::ThreeStar);
}

void SelectSearchKind(core::Context& ctx, plan::PlanKind kind) {
  ui::Window& window = ctx.window;
  for (const auto& k : kKinds) window.SetChecked(k.radio, k.kind == kind);

  window.SetEnabled("组合框_搜注数1", kind == plan::PlanKind::TwoStar);
  window.SetEnabled("组合框_搜注数2", kind == plan::PlanKind::ThreeStar);
  window.SetEnabled(kPositionCombo, kind == plan::PlanKind::Position);
  window.SetEnabled(kPlayCombo, true);

  const std::string planPlays = ControlsOf(kind).planPlayCombo;
  window.ClearItems(kPlayCombo);
  for (int i = 0; i < window.ItemCount(planPlays); ++i) {
    window.AddItem(kPlayCombo, window.ItemText(planPlays, i));
  }

  switch (kind) {
    case plan::PlanKind::Position:
      window.SetCurrentIndex(kPlayCombo, plan::kMethodDigits);
      window.SetCurrentIndex(kCodeCombo, 3);
      window.SetCurrentIndex(kPeriodCombo, 3);
      break;
    case plan::PlanKind::TwoStar:
      window.SetCurrentIndex(kPlayCombo, window.Checked("单选框_后二复试")
                                             ? plan::kTwoStarGroup
                                             : plan::kTwoStarStraight);
      window.SetCurrentIndex(kCodeCombo, NumberIn(window.Text("编辑框_后二码数")) - 1);
      window.SetCurrentIndex(kPeriodCombo, NumberIn(window.Text("编辑框_后二期数")) - 1);
      break;
    case plan::PlanKind::ThreeStar:
      window.SetCurrentIndex(kPlayCombo, window.Checked("单选框_后三组选")
                                             ? plan::kThreeStarGroup
                                             : plan::kThreeStarStraight);
      window.SetCurrentIndex(kCodeCombo, NumberIn(window.Text("编辑框_后三码数")) - 1);
      window.SetCurrentIndex(kPeriodCombo, NumberIn(window.Text("编辑框_后三期数")) - 1);
      break;
  }
  ctx.search.selectedResultRow = -1;
  window.DeleteAllRows(kResultList);
}

void SortSearchResults(core::Context& ctx) {
  ui::Window& window = ctx.window;
  const int rows = window.RowCount(kResultList);
  if (rows == 0) return;
  std::vector<ResultEntry> entries;
  entries.reserve(static_cast<std::size_t>(rows));
  for (int row = 0; row < rows; ++row) {
    const std::string rate = window.Cell(kResultList, row, 2);
    entries.push_back({window.Cell(kResultList, row, 1), rate.substr(0, rate.find('%'))});
  }
  entries = SortByRate(std::move(entries));
  window.DeleteAllRows(kResultList);
  std::vector<std::string> best;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    AppendResultRow(window, static_cast<int>(i) + 1, entries[i].formula, entries[i].rateText);
    if (i < 10) best.push_back(entries[i].formula);
  }
  // The page on show decides the kind, whatever kind was searched.
  const int page = window.CurrentPage("高级选择夹_那星");
  if (page >= 0 && page <= 2) {
    // A gs.ini that cannot be written keeps its old presets, and the
    // user is told why.
    if (auto saved = SaveBestAsPresets(ctx.dataDir, page + 1, best); !saved) {
      window.MessageBox("保存公式", "无法保存预设公式：" +
                                        (ctx.dataDir / plan::kPresetFileName).string() + "\n" +
                                        saved.error().message);
    }
  }
}

void UseSearchFormula(core::Context& ctx) {
  ui::Window& window = ctx.window;
  const int row = ctx.search.selectedResultRow;
  const std::string formula =
      row >= 0 && row < window.RowCount(kResultList) ? window.Cell(kResultList, row, 1) : "";
  for (const auto& k : kKinds) {
    if (!window.Checked(k.radio)) continue;
    // A missing record file or first record records nothing; the plan
    // still runs.
    if (!formula.empty()) (void)RecordUsedFormula(ctx.workDir, static_cast<int>(k.kind), formula);
    if (formula.empty()) return;

    auto copy = [&](const char* plan, const char* search) {
      window.SetCurrentIndex(plan, window.CurrentIndex(search));
    };
    switch (k.kind) {
      case plan::PlanKind::Position:
        copy("组合框_定位起始期1", kStartCombo);
        copy("组合框_定位选1", kPositionCombo);
        copy("组合框_定位选法1", kPlayCombo);
        copy("组合框_定位码1", kCodeCombo);
        copy("组合框_定位期1", kPeriodCombo);
        window.SetCurrentPage("高级选择夹_计划总", k.planTab);
        plan::RunPositionPlans(ctx);
        break;
      case plan::PlanKind::TwoStar:
        copy("组合框_二星起始期1", kStartCombo);
        copy("组合框_二星选1", kPlayCombo);
        copy("组合框_二星码1", kCodeCombo);
        copy("组合框_二星期1", kPeriodCombo);
        copy("组合框_二星注数1", "组合框_搜注数1");
        window.SetCurrentPage("高级选择夹_计划总", k.planTab);
        plan::RunTwoStarPlans(ctx);
        break;
      case plan::PlanKind::ThreeStar:
        copy("组合框_三星起始期1", kStartCombo);
        copy("组合框_三星选1", kPlayCombo);
        copy("组合框_三星码1", kCodeCombo);
        copy("组合框_三星期1", kPeriodCombo);
        copy("组合框_三星注数1", "组合框_搜注数2");
        window.SetCurrentPage("高级选择夹_计划总", k.planTab);
        plan::RunThreeStarPlans(ctx);
        break;
    }
    ctx.search.selectedResultRow = -1;
  }
}

void SmartFilter(core::Context& ctx) {
  ui::Window& window = ctx.window;
  if (ctx.search.running) return;
  window.SetEnabled(kSmartButton, false);
  for (const auto& k : kKinds) {
    if (window.CurrentPage("高级选择夹_那星") != k.planTab) continue;
    SelectSearchKind(ctx, k.kind);
    StartFormulaSearch(ctx);
    SortSearchResults(ctx);
  }
  window.SetEnabled(kSmartButton, true);
}

void BindSearchHandlers(core::Context& ctx) {
  ui::Window& window = ctx.window;
  auto on = [&](const char* name, ui::Event event, void (*handler)(core::Context&)) {
    window.Bind(name, event, [&ctx, handler](int) { handler(ctx); });
  };
  on(kStartButton, ui::Event::Click, &StartFormulaSearch);
  on("按钮_搜停止", ui::Event::Click, &StopFormulaSearch);
  on(kSortButton, ui::Event::Click, &SortSearchResults);
  on("按钮_搜使用公式", ui::Event::Click, &UseSearchFormula);
  on(kSmartButton, ui::Event::Click, &SmartFilter);
  for (const auto& k : kKinds) {
    const plan::PlanKind kind = k.kind;
    window.Bind(k.radio, ui::Event::Click, [&ctx, kind](int) { SelectSearchKind(ctx, kind); });
  }
  window.Bind(kResultList, ui::Event::RowClick,
              [&ctx](int) { ctx.search.selectedResultRow = ctx.window.CurrentRow(kResultList); });
  window.Bind(kResultList, ui::Event::RowActivate, [&ctx](int) {
    ctx.search.selectedResultRow = ctx.window.CurrentRow(kResultList);
    UseSearchFormula(ctx);
  });
}

}  // namespace search
