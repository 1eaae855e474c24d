#include "plan/plan_handlers.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/area_states.h"
#include "core/context.h"
#include "lanzhou_test.h"
#include "lottery/lottery.h"
#include "plan/plan_page_run.h"
#include "plan/preset_formula_file.h"
#include "plan/refresh_boxes.h"
#include "storage/ini_file.h"
#include "temp_dir.h"
#include "ui/memory_window.h"

namespace plan {
namespace {

// Remembers which output boxes were written, in order.
class RecordingWindow : public ui::MemoryWindow {
 public:
  void SetText(const std::string& name, const std::string& text) override {
    if (name.starts_with("编辑框_后")) written.push_back(name);
    MemoryWindow::SetText(name, text);
  }
  std::vector<std::string> written;
};

const std::vector<std::pair<std::string, std::string>> kHistory = {
    {"20140301-030", "52917"}, {"20140301-029", "60438"}, {"20140301-028", "13579"},
    {"20140301-027", "88210"}, {"20140301-026", "47302"}, {"20140301-025", "95161"},
    {"20140301-024", "38149"}, {"20140301-023", "20486"},
};

const std::string kPositionReport =
    "025—027后一定位胆（01348）025期 开 1中了\r\n"
    "026—028后一定位胆（14678）028期 开 9错了\r\n"
    "029—031后一定位胆（01235）等待【3】\r\n"
    "\r\n"
    "一共2期计划 对1期 错1期 准确率 50%";
const std::string kTwoStarReport =
    "025—027后二直选复式（01345678*01235789）025期 开61中了\r\n"
    "026—028后二直选复式（12345678*12345678）028期 开79错了\r\n"
    "029—031后二直选复式（01235678*01234689）029期 开38中了\r\n"
    "030—032后二直选复式（01345679*01245689）等待【2】\r\n"
    "\r\n"
    "一共3期计划 对2期 错1期 准确率 66%";
const std::string kThreeStarReport =
    "025—027后三直选复式（01345678*01235789*01345678）027期 开210错了\r\n"
    "028—030后三直选复式（01234679*01234589*01234567）030期 开917中了\r\n"
    "031—033后三直选复式（01234789*01245689*01234789）等待【1】\r\n"
    "\r\n"
    "一共2期计划 对1期 错1期 准确率 50%";
const std::string kEmptyReport = "\r\n一共0期计划 对0期 错0期 准确率 0%";

class PlanHandlersTest : public ::testing::Test {
 protected:
  PlanHandlersTest()
      : ctx{states.MakeContext(window, dir.path(), dir.path(), lottery::Chongqing())} {
    for (int kind = 1; kind <= 3; ++kind) StorePreset(kind, 1, "DCC*657");
    for (const auto& [issue, digits] : kHistory) {
      int row = window.InsertRow("列表框_开奖", -1);
      window.SetCell("列表框_开奖", row, 0, issue);
      window.SetCell("列表框_开奖", row, 1, digits);
    }
    window.SetText("透明标签_显示期号", "20140301-030");
    for (const char* combo : {"组合框_定位起始期1", "组合框_二星起始期1", "组合框_三星起始期1"}) {
      for (const auto& [issue, digits] : kHistory) window.AddItem(combo, issue);
      window.SetCurrentIndex(combo, 5);  // 20140301-025
    }
    BindPlanHandlers(ctx);
  }

  void StorePreset(int kind, int preset, const std::string& formula) {
    ASSERT_TRUE(storage::WriteIniKey(dir.path() / kPresetFileName, std::to_string(kind),
                                     std::to_string(preset), EncodeFormulaText(formula).value())
                    .ok());
  }

  TempDir dir;
  RecordingWindow window;
  app::AreaStates states;
  core::Context ctx;
};

TEST_F(PlanHandlersTest, PositionStartShowsReportCaptionAndAccuracies) {
  window.Click("按钮_定位开始");
  EXPECT_CONTROL_TEXT(window, "编辑框_后一结果", kPositionReport);
  EXPECT_CONTROL_TEXT(window, "标签_后一显示", "定位胆后一 3期 5码  [1]");
  EXPECT_CONTROL_TEXT(window, "超级按钮_后一1", "定位胆50%");
  for (int j = 2; j <= 10; ++j) {
    EXPECT_CONTROL_TEXT(window, "超级按钮_后一" + std::to_string(j), "定位胆0%");
  }
}

TEST_F(PlanHandlersTest, OneKeyValuesOverrideThePlanPage) {
  window.SetCurrentIndex("组合框_定位选1", 0);
  window.SetCurrentIndex("组合框_定位码1", 0);
  window.SetCurrentIndex("组合框_定位期1", 9);
  window.SetCurrentIndex("组合框_定位选法1", 1);  // the method is the page's own
  window.Click("单选框_千");
  window.SetText("编辑框_定位码数", "7");
  window.SetText("编辑框_定位期数", "2");
  window.Click("按钮_定位开始");
  EXPECT_EQ(window.CurrentIndex("组合框_定位选1"), 1);
  EXPECT_EQ(window.CurrentIndex("组合框_定位码1"), 6);
  EXPECT_EQ(window.CurrentIndex("组合框_定位期1"), 1);
  EXPECT_EQ(window.CurrentIndex("组合框_定位选法1"), 1);
  EXPECT_CONTROL_TEXT(window, "标签_后一显示", "定位胆千位 2期 7码  [1]");
  EXPECT_TRUE(window.Text("编辑框_后一结果").starts_with("025—026千位大小（"));
}

TEST_F(PlanHandlersTest, TwoStarStraightStartShowsReportCaptionAndAccuracies) {
  window.Click("单选框_后二直选复试");
  window.Click("按钮_二星开始");
  EXPECT_CONTROL_TEXT(window, "编辑框_后二结果", kTwoStarReport);
  EXPECT_CONTROL_TEXT(window, "标签_后二显示", "后二直选复式 3期 8码  [1]");
  EXPECT_CONTROL_TEXT(window, "超级按钮_后二1", "后二直选复式66%");
  EXPECT_CONTROL_TEXT(window, "超级按钮_后二2", "后二直选复式0%");
}

TEST_F(PlanHandlersTest, TwoStarGroupRadioForcesPlayTypeNine) {
  window.SetCurrentIndex("组合框_二星选1", 3);
  window.Click("按钮_二星开始");  // 单选框_后二复试 is checked by the form
  EXPECT_EQ(window.CurrentIndex("组合框_二星选1"), 9);
  std::string caption = window.Text("超级按钮_后二1");
  EXPECT_TRUE(caption.starts_with("后二复式") && caption.ends_with("%")) << caption;
  EXPECT_TRUE(window.Text("编辑框_后二结果").starts_with("025—027后二复式（"));
}

TEST_F(PlanHandlersTest, TwoStarWithoutRadioKeepsThePageTypeAndShowsBetCount) {
  window.SetChecked("单选框_后二复试", false);
  window.SetChecked("单选框_后二直选复试", false);
  window.SetCurrentIndex("组合框_二星选1", 10);  // 后二大底
  window.SetCurrentIndex("组合框_二星注数1", 0);
  window.Click("按钮_二星开始");
  EXPECT_TRUE(window.Text("编辑框_后二结果").starts_with("025—027后二大底（25注）027期 开10错了"));
  EXPECT_CONTROL_TEXT(window, "超级按钮_后二1", "后二大底0%");
}

TEST_F(PlanHandlersTest, ThreeStarRadioSetsPlayTypeAndHitTextIsPerKind) {
  window.SetCurrentIndex("组合框_三星选1", 12);  // replaced on every run
  window.Click("单选框_后三直选复试");
  window.Click("按钮_三星开始");
  EXPECT_EQ(window.CurrentIndex("组合框_三星选1"), 10);
  EXPECT_CONTROL_TEXT(window, "编辑框_后三结果", kThreeStarReport);
  EXPECT_CONTROL_TEXT(window, "标签_后三显示", "后三直选复式 3期 8码  [1]");
  EXPECT_CONTROL_TEXT(window, "超级按钮_后三1", "后三直选复式50%");

  window.SetText("编辑框_三星正确", "对");
  window.Click("按钮_三星开始");
  EXPECT_NE(window.Text("编辑框_后三结果").find("030期 开917对\r\n"), std::string::npos);
  window.Click("单选框_后二直选复试");
  window.Click("按钮_二星开始");
  EXPECT_CONTROL_TEXT(window, "编辑框_后二结果", kTwoStarReport);  // still 中了
}

TEST_F(PlanHandlersTest, NothingBeforeADrawIsLoaded) {
  window.SetText("透明标签_显示期号", "");
  window.SetCurrentIndex("组合框_定位码1", 0);
  window.Click("按钮_定位开始");
  EXPECT_CONTROL_TEXT(window, "超级按钮_后一1", "定位胆");
  EXPECT_EQ(window.CurrentIndex("组合框_定位码1"), 0);
  EXPECT_CONTROL_TEXT(window, "编辑框_后一结果", "");
}

TEST_F(PlanHandlersTest, MissingCountIsNamedAndNothingRuns) {
  window.SetText("编辑框_后一结果", "old report");
  const struct {
    std::string codes, periods, caption;
  } cases[] = {
      {"", "3", "请填写码数"},
      {"5", "0", "请填写期数"},
      {"0", "", "请填写码数和期数"},
  };
  for (const auto& c : cases) {
    window.SetText("编辑框_定位码数", c.codes);
    window.SetText("编辑框_定位期数", c.periods);
    window.Click("按钮_定位开始");
    EXPECT_CONTROL_TEXT(window, "标签_后一显示", c.caption);
    EXPECT_CONTROL_TEXT(window, "编辑框_后一结果", "old report");
    EXPECT_CONTROL_TEXT(window, "超级按钮_后一1", "定位胆");
  }
  window.SetText("编辑框_后二码数", "");
  window.Click("按钮_二星开始");
  EXPECT_CONTROL_TEXT(window, "标签_后二显示", "请填写码数");
  window.SetText("编辑框_后三期数", "0");
  window.Click("按钮_三星开始");
  EXPECT_CONTROL_TEXT(window, "标签_后三显示", "请填写期数");
}

TEST_F(PlanHandlersTest, SelectingAPresetShowsItsReport) {
  StorePreset(2, 3, "CEE+741");
  window.SetSelected("超级按钮_后二1", false);
  window.SetSelected("超级按钮_后二7", true);
  window.Click("单选框_后二直选复试");
  window.Click("超级按钮_后二3");
  for (int j = 1; j <= 10; ++j) {
    EXPECT_EQ(window.Selected("超级按钮_后二" + std::to_string(j)), j == 3) << j;
  }
  EXPECT_CONTROL_TEXT(window, "标签_后二显示", "后二直选复式 3期 8码  [3]");
  std::string report = window.Text("编辑框_后二结果");
  EXPECT_NE(report, kTwoStarReport);
  EXPECT_TRUE(report.starts_with("025—02")) << report;
  EXPECT_NE(report.find("准确率"), std::string::npos);
}

TEST_F(PlanHandlersTest, SecondClickUnselectsAndKeepsTheOutput) {
  window.Click("按钮_定位开始");
  window.Click("超级按钮_后一1");  // selected by the form: this click unselects it
  EXPECT_CONTROL_NOT_SELECTED(window, "超级按钮_后一1");
  EXPECT_CONTROL_TEXT(window, "标签_后一显示", "定位胆后一 3期 5码  [1]");
  EXPECT_CONTROL_TEXT(window, "编辑框_后一结果", kPositionReport);

  window.SetText("编辑框_定位码数", "9");
  window.Click("超级按钮_后一2");
  EXPECT_CONTROL_SELECTED(window, "超级按钮_后一2");
  EXPECT_CONTROL_TEXT(window, "标签_后一显示", "定位胆后一 3期 9码  [2]");
  EXPECT_CONTROL_TEXT(window, "编辑框_后一结果", kEmptyReport);
}

TEST_F(PlanHandlersTest, RefreshRunsTheCheckedKindsInOrder) {
  window.SetChecked("选择框_定位更新", true);
  window.SetChecked("选择框_后二更新", false);
  window.SetChecked("选择框_后三更新", true);
  window.written.clear();
  RefreshPresetPlans(ctx);
  EXPECT_EQ(window.written, (std::vector<std::string>{"编辑框_后一结果", "编辑框_后三结果"}));
  EXPECT_CONTROL_TEXT(window, "超级按钮_后二1", "后二");
}

TEST_F(PlanHandlersTest, PageButtonsAndOneKeyStart) {
  window.SetChecked("选择框_定位更新", true);
  window.SetChecked("选择框_后三更新", true);
  window.Click("超级按钮_后二");
  EXPECT_EQ(window.CurrentPage("高级选择夹_那星"), 1);
  window.Click("超级按钮_一键开启");
  EXPECT_NE(window.Text("超级按钮_后二1"), "后二");
  EXPECT_CONTROL_TEXT(window, "超级按钮_后一1", "定位胆");
  EXPECT_CONTROL_TEXT(window, "超级按钮_后三1", "后三");

  window.Click("超级按钮_后三");
  EXPECT_EQ(window.CurrentPage("高级选择夹_那星"), 2);
  EXPECT_CONTROL_NOT_SELECTED(window, "超级按钮_后一");
  EXPECT_CONTROL_NOT_SELECTED(window, "超级按钮_后二");
  EXPECT_CONTROL_SELECTED(window, "超级按钮_后三");
  window.Click("超级按钮_后三");  // a second click keeps it selected
  EXPECT_CONTROL_SELECTED(window, "超级按钮_后三");
}

// The controls of one kind's own formula, and its worked example with preset
// 1 "DCC*657".
struct OwnFormulaKind {
  std::string startButton;
  std::string straightRadio;  // makes the run the worked example's play type
  std::string ownCheck;
  std::string formulaBox;
  std::string resultBox;
  std::string caption;
  std::string pageBox;
  std::string firstPreset;
  std::string report;
  std::string runCaption;  // without the preset part
};

const std::vector<OwnFormulaKind> kOwnFormulaKinds = {
    {"按钮_定位开始", "单选框_个", "选择框_定位自定义公式", "编辑框_定位公式", "编辑框_后一结果",
     "标签_后一显示", "编辑框_定位公式1", "超级按钮_后一1", kPositionReport, "定位胆后一 3期 5码"},
    {"按钮_二星开始", "单选框_后二直选复试", "选择框_二星自定义公式", "编辑框_二星公式",
     "编辑框_后二结果", "标签_后二显示", "编辑框_二星公式1", "超级按钮_后二1", kTwoStarReport,
     "后二直选复式 3期 8码"},
    {"按钮_三星开始", "单选框_后三直选复试", "选择框_三星自定义公式", "编辑框_三星公式",
     "编辑框_后三结果", "标签_后三显示", "编辑框_三星公式1", "超级按钮_后三1", kThreeStarReport,
     "后三直选复式 3期 8码"},
};

TEST_F(PlanHandlersTest, OwnFormulaIsShownInPlaceOfTheSelectedPreset) {
  for (std::size_t k = 0; k < kOwnFormulaKinds.size(); ++k) {
    const OwnFormulaKind& kind = kOwnFormulaKinds[k];
    SCOPED_TRACE(kind.startButton);
    window.Click(kind.straightRadio);
    window.Click(kind.startButton);
    EXPECT_CONTROL_TEXT(window, kind.resultBox, kind.report);
    EXPECT_CONTROL_TEXT(window, kind.formulaBox, "DCC*657");
    EXPECT_CONTROL_TEXT(window, kind.pageBox, kind.report);

    // The same formula typed in as the page's own, with another preset 1:
    // the report is the one the formula gave as preset 1.
    StorePreset(static_cast<int>(k) + 1, 1, "CEE+741");
    window.Click(kind.ownCheck);
    window.Click(kind.startButton);
    EXPECT_CONTROL_TEXT(window, kind.resultBox, kind.report);
    EXPECT_CONTROL_TEXT(window, kind.caption, kind.runCaption + "  [自定义]");
    EXPECT_CONTROL_TEXT(window, kind.pageBox, kind.report);
    EXPECT_CONTROL_TEXT(window, kind.formulaBox, "DCC*657");
    const std::string presetCaption = window.Text(kind.firstPreset);

    // The presets were still run: unchecked, the run shows preset 1's plan
    // under the caption the own run gave it.
    window.Click(kind.ownCheck);
    window.Click(kind.startButton);
    EXPECT_NE(window.Text(kind.resultBox), kind.report);
    EXPECT_CONTROL_TEXT(window, kind.firstPreset, presetCaption);
    EXPECT_CONTROL_TEXT(window, kind.formulaBox, "CEE+741");
    EXPECT_CONTROL_TEXT(window, kind.caption, kind.runCaption + "  [1]");
    EXPECT_CONTROL_TEXT(window, kind.pageBox, window.Text(kind.resultBox));
  }
}

TEST_F(PlanHandlersTest, AnyTextIsAnOwnFormula) {
  // Whatever is typed is evaluated as a stored preset would be.
  const std::string text = "万位 D C C 乘 657!";
  StorePreset(1, 1, text);
  window.Click("按钮_定位开始");
  const std::string asPreset = window.Text("编辑框_后一结果");
  ASSERT_TRUE(asPreset.starts_with("025—027后一定位胆（")) << asPreset;
  EXPECT_CONTROL_TEXT(window, "编辑框_定位公式", text);

  StorePreset(1, 1, "CEE+741");
  window.Click("选择框_定位自定义公式");
  window.Click("按钮_定位开始");
  EXPECT_CONTROL_TEXT(window, "编辑框_后一结果", asPreset);
  EXPECT_CONTROL_TEXT(window, "标签_后一显示", "定位胆后一 3期 5码  [自定义]");
}

TEST_F(PlanHandlersTest, AnEmptyOwnFormulaIsRefusedAndThePlanOnShowStays) {
  for (const OwnFormulaKind& kind : kOwnFormulaKinds) {
    SCOPED_TRACE(kind.startButton);
    const std::string presetCaption = window.Text(kind.firstPreset);
    window.SetText(kind.resultBox, "old report");
    window.Click(kind.ownCheck);
    window.Click(kind.startButton);
    EXPECT_CONTROL_TEXT(window, kind.caption, "请填写公式");
    EXPECT_CONTROL_TEXT(window, kind.resultBox, "old report");
    EXPECT_CONTROL_TEXT(window, kind.pageBox, "old report");
    EXPECT_CONTROL_TEXT(window, kind.firstPreset, presetCaption);
    EXPECT_CONTROL_TEXT(window, kind.formulaBox, "");

    // A blank is text, and so a formula.
    window.Click(kind.straightRadio);
    window.SetText(kind.formulaBox, " ");
    window.Click(kind.startButton);
    EXPECT_CONTROL_TEXT(window, kind.caption, kind.runCaption + "  [自定义]");
    EXPECT_NE(window.Text(kind.resultBox), "old report");
    EXPECT_CONTROL_TEXT(window, kind.pageBox, window.Text(kind.resultBox));
  }
}

TEST_F(PlanHandlersTest, EveryRunOfTheKindShowsTheOwnFormula) {
  StorePreset(1, 1, "CEE+741");
  window.Click("选择框_定位自定义公式");
  window.SetText("编辑框_定位公式", "DCC*657");
  window.SetChecked("选择框_定位更新", true);
  const struct {
    const char* what;
    std::function<void()> run;
  } runs[] = {
      {"preset button", [&] { window.Click("超级按钮_后一4"); }},
      {"second click on it, no preset selected", [&] { window.Click("超级按钮_后一4"); }},
      {"one-key start", [&] { window.Click("超级按钮_一键开启"); }},
      {"automatic refresh", [&] { RefreshPresetPlans(ctx); }},
  };
  for (const auto& run : runs) {
    window.SetText("编辑框_后一结果", "");
    window.SetText("标签_后一显示", "");
    run.run();
    EXPECT_CONTROL_TEXT(window, "编辑框_后一结果", kPositionReport) << run.what;
    EXPECT_CONTROL_TEXT(window, "标签_后一显示", "定位胆后一 3期 5码  [自定义]") << run.what;
    EXPECT_CONTROL_TEXT(window, "编辑框_定位公式1", kPositionReport) << run.what;
  }
}

TEST_F(PlanHandlersTest, FormulaBoxFollowsTheSelectedPreset) {
  StorePreset(2, 3, "CEE+741");
  window.SetText("编辑框_二星公式", "mine");
  window.Click("按钮_二星开始");
  EXPECT_CONTROL_TEXT(window, "编辑框_二星公式", "DCC*657");
  window.Click("超级按钮_后二3");
  EXPECT_CONTROL_TEXT(window, "编辑框_二星公式", "CEE+741");
  EXPECT_CONTROL_TEXT(window, "编辑框_二星公式1", window.Text("编辑框_后二结果"));
  // Unselected, no report changes and neither does the formula shown.
  const std::string shown = window.Text("编辑框_后二结果");
  window.Click("超级按钮_后二3");
  EXPECT_CONTROL_TEXT(window, "编辑框_二星公式", "CEE+741");
  EXPECT_CONTROL_TEXT(window, "编辑框_后二结果", shown);
  // The other kinds' boxes are their own.
  EXPECT_CONTROL_TEXT(window, "编辑框_定位公式", "");
  EXPECT_CONTROL_TEXT(window, "编辑框_三星公式1", "");
}

TEST_F(PlanHandlersTest, PageBoxRepeatsTheResultBoxAlsoWhenARunIsRefused) {
  window.Click("按钮_定位开始");
  EXPECT_CONTROL_TEXT(window, "编辑框_定位公式1", kPositionReport);
  window.SetText("编辑框_定位码数", "0");
  window.SetText("编辑框_定位公式1", "typed over");
  window.Click("按钮_定位开始");
  EXPECT_CONTROL_TEXT(window, "标签_后一显示", "请填写码数");
  EXPECT_CONTROL_TEXT(window, "编辑框_定位公式1", kPositionReport);
}

struct RefreshPair {
  std::string oneKey;
  std::string planPage;
};

const std::vector<RefreshPair> kRefreshPairs = {
    {"选择框_定位更新", "选择框_定位自动更新"},
    {"选择框_后二更新", "选择框_二星自动更新"},
    {"选择框_后三更新", "选择框_三星自动更新"},
};

TEST_F(PlanHandlersTest, RefreshBoxesAreOneSettingShownTwice) {
  ShowRefreshSettingOnPlanPages(window);
  for (const RefreshPair& pair : kRefreshPairs) {
    EXPECT_CONTROL_UNCHECKED(window, pair.planPage);  // the form checks it; the setting wins
    bool checked = false;
    for (const std::string& clicked : {pair.oneKey, pair.planPage, pair.planPage, pair.oneKey}) {
      window.Click(clicked);
      checked = !checked;
      EXPECT_EQ(window.Checked(pair.oneKey), checked) << clicked;
      EXPECT_EQ(window.Checked(pair.planPage), checked) << clicked;
    }
  }
  // Either box of a kind decides the refresh.
  window.Click("选择框_二星自动更新");
  EXPECT_CONTROL_CHECKED(window, "选择框_后二更新");
  EXPECT_CONTROL_UNCHECKED(window, "选择框_定位更新");
  window.written.clear();
  RefreshPresetPlans(ctx);
  EXPECT_EQ(window.written, (std::vector<std::string>{"编辑框_后二结果"}));
}

TEST_F(PlanHandlersTest, PlanPagesShowTheLoadedRefreshSetting) {
  // Loading the settings sets the one-key boxes without a click.
  window.SetChecked("选择框_定位更新", true);
  window.SetChecked("选择框_后二更新", false);
  window.SetChecked("选择框_后三更新", true);
  window.SetChecked("选择框_三星自动更新", false);
  ShowRefreshSettingOnPlanPages(window);
  EXPECT_CONTROL_CHECKED(window, "选择框_定位自动更新");
  EXPECT_CONTROL_UNCHECKED(window, "选择框_二星自动更新");
  EXPECT_CONTROL_CHECKED(window, "选择框_三星自动更新");
}

}  // namespace
}  // namespace plan
