#include "plan/plan_page_run.h"

#include <string>
#include <vector>

#include "base/leading_number.h"
#include "draws/draw_list_reading.h"
#include "lottery/lottery.h"
#include "plan/plan_page_reading.h"
#include "plan/plan_run.h"
#include "plan/preset_formula_file.h"

namespace plan {
namespace {

// The controls one plan kind reads and writes.
struct KindControls {
  PlanKind kind;
  const char* startCombo;
  const char* codeCombo;
  const char* periodCombo;
  const char* oneKeyCodes;
  const char* oneKeyPeriods;
  const char* textBoxPrefix;  // 编辑框_定位 + 名/正确/错误/未开/左/右
  const char* presetButton;   // + 1..10
  const char* outputCaption;
  const char* outputBox;
  const char* ownFormulaCheck;  // 自定义
  const char* formulaBox;       // 所用公式
  const char* pageBox;          // the plan page's large box
};

const KindControls kPosition{PlanKind::Position, "组合框_定位起始期1",    "组合框_定位码1",
                             "组合框_定位期1",   "编辑框_定位码数",       "编辑框_定位期数",
                             "编辑框_定位",      "超级按钮_后一",         "标签_后一显示",
                             "编辑框_后一结果",  "选择框_定位自定义公式", "编辑框_定位公式",
                             "编辑框_定位公式1"};
const KindControls kTwoStar{PlanKind::TwoStar, "组合框_二星起始期1",    "组合框_二星码1",
                            "组合框_二星期1",  "编辑框_后二码数",       "编辑框_后二期数",
                            "编辑框_二星",     "超级按钮_后二",         "标签_后二显示",
                            "编辑框_后二结果", "选择框_二星自定义公式", "编辑框_二星公式",
                            "编辑框_二星公式1"};
const KindControls kThreeStar{PlanKind::ThreeStar, "组合框_三星起始期1",    "组合框_三星码1",
                              "组合框_三星期1",    "编辑框_后三码数",       "编辑框_后三期数",
                              "编辑框_三星",       "超级按钮_后三",         "标签_后三显示",
                              "编辑框_后三结果",   "选择框_三星自定义公式", "编辑框_三星公式",
                              "编辑框_三星公式1"};

// A one-key count box, read as a number and truncated.
int CountIn(const ui::Window& window, const std::string& box) {
  return base::LeadingCount<int>(window.Text(box));
}

// The page's large box repeats the result box, so the plan page shows its
// own plan.
void ShowOnPlanPage(ui::Window& window, const KindControls& c) {
  window.SetText(c.pageBox, "");
  window.AppendText(c.pageBox, window.Text(c.outputBox));
}

bool OwnFormulaChosen(const ui::Window& window, const KindControls& c) {
  return window.Checked(c.ownFormulaCheck);
}

// What a run lacks, empty when it can go ahead. A count the plan page cannot
// select (an empty box or 0) would replay every window as missed, and an own
// formula left empty would show a plan of nothing.
std::string MissingInput(const ui::Window& window, const KindControls& c) {
  int codes = CountIn(window, c.oneKeyCodes);
  int periods = CountIn(window, c.oneKeyPeriods);
  bool codesOk = codes >= 1 && codes <= window.ItemCount(c.codeCombo);
  bool periodsOk = periods >= 1 && periods <= window.ItemCount(c.periodCombo);
  if (!codesOk || !periodsOk) {
    return !codesOk && !periodsOk ? "码数和期数" : !codesOk ? "码数" : "期数";
  }
  if (OwnFormulaChosen(window, c) && window.Text(c.formulaBox).empty()) return "公式";
  return {};
}

// A refused run names what to fill in and keeps the plan on show.
bool Refused(ui::Window& window, const KindControls& c) {
  std::string missing = MissingInput(window, c);
  if (missing.empty()) return false;
  window.SetText(c.outputCaption, "请填写" + missing);
  ShowOnPlanPage(window, c);
  return true;
}

void CopyCounts(ui::Window& window, const KindControls& c) {
  window.SetCurrentIndex(c.codeCombo, CountIn(window, c.oneKeyCodes) - 1);
  window.SetCurrentIndex(c.periodCombo, CountIn(window, c.oneKeyPeriods) - 1);
}

PlanSettings ReadCommonSettings(const core::Env& ctx, const KindControls& c) {
  const ui::Window& window = ctx.window;
  PlanSettings settings;
  settings.kind = c.kind;
  settings.codeCount = window.CurrentIndex(c.codeCombo) + 1;
  settings.periodCount = window.CurrentIndex(c.periodCombo) + 1;
  std::string prefix = c.textBoxPrefix;
  settings.texts.name = window.Text(prefix + "名");
  settings.texts.hit = window.Text(prefix + "正确");
  settings.texts.miss = window.Text(prefix + "错误");
  settings.texts.pending = window.Text(prefix + "未开");
  settings.texts.left = window.Text(prefix + "左");
  settings.texts.right = window.Text(prefix + "右");
  settings.drawsPerDay = ctx.lottery.schedule.DrawsPerDay();
  return settings;
}

void ShowReport(ui::Window& window, const KindControls& c, const std::string& caption,
                const std::string& report) {
  window.SetText(c.outputCaption, caption);
  window.SetText(c.outputBox, "");
  window.AppendText(c.outputBox, report);
}

// Runs the ten presets and shows them: every button's accuracy, and the
// report of the selected preset with its caption and formula, or with 自定义
// checked the report of the page's own formula in its place.
void RunAndShow(const core::Env& ctx, const KindControls& c, const PlanSettings& settings,
                const std::string& buttonPrefix, const std::string& caption) {
  ui::Window& window = ctx.window;
  auto formulas = LoadPresetFormulas(ctx.dataDir, c.kind);
  const bool own = OwnFormulaChosen(window, c);
  PresetMask selected{};
  for (std::size_t j = 0; j < selected.size(); ++j) {
    selected[j] = window.Selected(c.presetButton + std::to_string(j + 1));
  }
  const std::vector<lottery::Draw> history = draws::ReadDrawList(window);
  const std::string startIssue = SelectedItem(window, c.startCombo);
  auto results = RunPresets(history, startIssue, settings, formulas, own ? PresetMask{} : selected);
  for (std::size_t j = 0; j < results.size(); ++j) {
    std::string number = std::to_string(j + 1);
    std::string button = c.presetButton + number;
    window.SetText(button, buttonPrefix + results[j].percentage);
    if (selected[j] && !own) {
      ShowReport(window, c, caption + "  [" + number + "]", results[j].report);
      window.SetText(c.formulaBox, formulas[j]);
    }
  }
  if (own) {
    PlanResult result =
        PlanRun(BuildPlanSource(history, startIssue), settings, window.Text(c.formulaBox));
    ShowReport(window, c, caption + "  [自定义]", result.report);
  }
  ShowOnPlanPage(window, c);
}

std::string CountsCaption(const PlanSettings& settings) {
  std::string caption = " ";
  caption += std::to_string(settings.periodCount);
  caption += "期 ";
  caption += std::to_string(settings.codeCount);
  caption += "码";
  return caption;
}

}  // namespace

void RunPositionPlans(const core::Env& ctx) {
  ui::Window& window = ctx.window;
  if (window.Text("透明标签_显示期号").empty()) return;
  if (Refused(window, kPosition)) return;
  SelectCheckedPosition(window, "组合框_定位选1");
  CopyCounts(window, kPosition);

  PlanSettings settings = ReadCommonSettings(ctx, kPosition);
  settings.position = window.CurrentIndex("组合框_定位选1") + 1;
  settings.method = window.CurrentIndex("组合框_定位选法1");
  std::string positionName = SelectedItem(window, "组合框_定位选1");
  settings.title = positionName + SelectedItem(window, "组合框_定位选法1");
  RunAndShow(ctx, kPosition, settings, "定位胆", "定位胆" + positionName + CountsCaption(settings));
}

void RunTwoStarPlans(const core::Env& ctx) {
  ui::Window& window = ctx.window;
  if (window.Text("透明标签_显示期号").empty()) return;
  if (Refused(window, kTwoStar)) return;
  if (window.Checked("单选框_后二复试")) window.SetCurrentIndex("组合框_二星选1", kTwoStarGroup);
  if (window.Checked("单选框_后二直选复试")) {
    window.SetCurrentIndex("组合框_二星选1", kTwoStarStraight);
  }
  CopyCounts(window, kTwoStar);

  PlanSettings settings = ReadCommonSettings(ctx, kTwoStar);
  settings.playType = window.CurrentIndex("组合框_二星选1");
  settings.title = SelectedItem(window, "组合框_二星选1");
  settings.betCountText = SelectedItem(window, "组合框_二星注数1");
  RunAndShow(ctx, kTwoStar, settings, settings.title, settings.title + CountsCaption(settings));
}

void RunThreeStarPlans(const core::Env& ctx) {
  ui::Window& window = ctx.window;
  if (window.Text("透明标签_显示期号").empty()) return;
  if (Refused(window, kThreeStar)) return;
  window.SetCurrentIndex("组合框_三星选1",
                         window.Checked("单选框_后三组选") ? kThreeStarGroup : kThreeStarStraight);
  CopyCounts(window, kThreeStar);

  PlanSettings settings = ReadCommonSettings(ctx, kThreeStar);
  settings.playType = window.CurrentIndex("组合框_三星选1");
  settings.title = SelectedItem(window, "组合框_三星选1");
  RunAndShow(ctx, kThreeStar, settings, settings.title, settings.title + CountsCaption(settings));
}

}  // namespace plan
