#include "plan/plan_handlers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "area_states.h"
#include "core/context.h"
#include "lanzhou_test.h"
#include "plan/plan_page_run.h"
#include "plan/preset_formula_file.h"
#include "settings/ini_file.h"
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
  PlanHandlersTest() : ctx{states.ContextFor(window, dir.path(), dir.path())} {
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
    ASSERT_TRUE(settings::WriteIniKey(dir.path() / kPresetFileName, std::to_string(kind),
                                      std::to_string(preset), EncodeFormulaText(formula).value())
                    .ok());
  }

  TempDir dir;
  RecordingWindow window;
  AreaStates states;
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

}  // namespace
}  // namespace plan
