#include "output/collection_page.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/area_states.h"
#include "lottery/lottery.h"
#include "output/output_handlers.h"
#include "plan/plan_handlers.h"
#include "storage/ini_file.h"
#include "temp_dir.h"
#include "ui/memory_window.h"

namespace output {
namespace {

const std::string kSeparator = "————————————————";
const std::string kHint = "彩世有风险，投资需谨慎。";

// Eight draws of one day, newest first; the plan tests use the same.
const std::vector<std::pair<std::string, std::string>> kHistory = {
    {"20140301-030", "52917"}, {"20140301-029", "60438"}, {"20140301-028", "13579"},
    {"20140301-027", "88210"}, {"20140301-026", "47302"}, {"20140301-025", "95161"},
    {"20140301-024", "38149"}, {"20140301-023", "20486"}};

class CollectionPage : public testing::Test {
 protected:
  CollectionPage() : ctx{states.MakeContext(window, dir.path(), dir.path(), lottery::Chongqing())} {
    BindOutputHandlers(ctx);
  }

  void AddDraw(int position, const std::string& issue, const std::string& digits) {
    const int row = window.InsertRow("列表框_开奖", position);
    window.SetCell("列表框_开奖", row, 0, issue);
    window.SetCell("列表框_开奖", row, 1, digits);
  }

  std::string Collection() const { return window.Text("编辑框_计划和集"); }

  TempDir dir;
  ui::MemoryWindow window;
  app::AreaStates states;
  core::Context ctx;
};

TEST_F(CollectionPage, FormValuesGiveThreeSeparatorsHintAndDrawLine) {
  AddDraw(-1, "20140301-030", "52917");
  window.Click("按钮_集合开始");
  EXPECT_EQ(Collection(), kSeparator + "\r\n" + kSeparator + "\r\n" + kSeparator + "\r\n" + kHint +
                              "\r\n" + kSeparator + "\r\n重庆:20140301-030 期开[52917]\r\n");
}

TEST_F(CollectionPage, EmptiedPositionLeavesKindOutAndEmptyListGivesEmptyDrawLine) {
  window.SetText("编辑框_集合二星位", "");
  window.SetText("编辑框_提示语", "");
  window.Click("按钮_集合开始");
  EXPECT_EQ(Collection(), kSeparator + "\r\n" + kSeparator + "\r\n重庆: 期开[]\r\n");

  window.Click("选择框_集合奖号");  // draw line off
  window.Click("按钮_集合开始");
  EXPECT_EQ(Collection(), kSeparator + "\r\n" + kSeparator + "\r\n");
}

TEST_F(CollectionPage, BlocksFollowPositionOrderAndRowCounts) {
  window.SetText("编辑框_后一结果", "A1\r\nA2\r\n\r\n一共1期计划 对1期 错0期 准确率 100%");
  window.SetText("编辑框_后二结果", "B1\r\nB2\r\nB3\r\n\r\n一共2期计划 对1期 错1期 准确率 50%");
  window.SetText("编辑框_后三结果", "");
  window.SetText("编辑框_集合定位位", "3");
  window.SetText("编辑框_集合二星位", "1");
  window.SetText("编辑框_集合三星位", "2");
  window.SetText("编辑框_集合二星行", "2");
  window.SetText("编辑框_集合定位行", "0");
  window.SetText("编辑框_集合分割符", "--");
  window.SetText("编辑框_提示语", "");
  window.Click("选择框_集合奖号");
  window.Click("按钮_集合开始");
  EXPECT_EQ(Collection(), "B2\r\nB3\r\n--\r\n--\r\n--\r\n");
  EXPECT_EQ(states.output.blockTexts[1], "B2\r\nB3\r\n");
}

TEST_F(CollectionPage, BuildReplacesUserEditsAndCopyTakesTheBoxAsItIs) {
  window.SetText("编辑框_计划和集", "old text");
  window.Click("按钮_集合复制");
  EXPECT_EQ(window.ClipboardText(), "old text");
  window.Click("按钮_集合开始");
  EXPECT_EQ(Collection().find("old text"), std::string::npos);
}

TEST_F(CollectionPage, CopyOfEmptyCollectionStoresEmptyTextAndStillReports) {
  window.Click("按钮_集合复制");
  EXPECT_EQ(window.ClipboardText(), "");
  ASSERT_EQ(window.Messages().size(), 1u);
  EXPECT_EQ(window.Messages()[0].caption, "信息：");
  EXPECT_EQ(window.Messages()[0].text, "复制成功");
}

struct PositionBoxes {
  std::string position, twoStar, threeStar;
  bool operator==(const PositionBoxes&) const = default;
};

void PrintTo(const PositionBoxes& p, std::ostream* os) {
  *os << p.position << '|' << p.twoStar << '|' << p.threeStar;
}

TEST_F(CollectionPage, IncludeBoxesNumberTheirPositions) {
  const auto boxes = [this] {
    return PositionBoxes{window.Text("编辑框_集合定位位"), window.Text("编辑框_集合二星位"),
                         window.Text("编辑框_集合三星位")};
  };
  window.Click("选择框_集合三星");
  EXPECT_FALSE(window.Checked("选择框_集合三星"));
  EXPECT_EQ(boxes(), (PositionBoxes{"1", "2", ""}));
  window.Click("选择框_集合三星");
  EXPECT_EQ(boxes(), (PositionBoxes{"1", "2", "3"}));

  window.SetText("编辑框_集合二星位", "3");
  window.Click("选择框_集合三星");
  window.Click("选择框_集合三星");
  EXPECT_EQ(boxes(), (PositionBoxes{"1", "3", "2"}));

  window.Click("选择框_集合二星");
  window.Click("选择框_集合三星");
  EXPECT_EQ(boxes(), (PositionBoxes{"1", "", ""}));
  window.SetText("编辑框_集合定位位", "");
  window.Click("选择框_集合二星");
  EXPECT_EQ(boxes(), (PositionBoxes{"1", "1", ""}));  // 定位 is renumbered in the same pass
}

TEST_F(CollectionPage, PasteReplacesHintAndClearEmptiesIt) {
  window.Click("按钮_提示粘贴");  // nothing on the clipboard yet
  EXPECT_EQ(window.Text("编辑框_提示语"), "");

  window.SetClipboardText("第一行\r\n第二行\r\n第三行");
  window.SetText("编辑框_提示语", "old");
  window.Click("按钮_提示粘贴");
  EXPECT_EQ(window.Text("编辑框_提示语"), "第一行\r\n第二行\r\n第三行");
  window.Click("选择框_集合奖号");
  window.SetText("编辑框_集合定位位", "");
  window.SetText("编辑框_集合二星位", "");
  window.SetText("编辑框_集合三星位", "");
  window.Click("按钮_集合开始");
  EXPECT_EQ(Collection(), "第一行\r\n第二行\r\n第三行\r\n");

  window.Click("按钮_提示清空");
  EXPECT_EQ(window.Text("编辑框_提示语"), "");
}

class CollectionWithPlans : public CollectionPage {
 protected:
  CollectionWithPlans() {
    for (const auto& [issue, digits] : kHistory) {
      AddDraw(-1, issue, digits);
    }
    window.SetText("透明标签_显示期号", kHistory.front().first);
    for (const auto& draw : kHistory) {
      window.AddItem("组合框_定位起始期1", draw.first);
    }
    window.SetCurrentIndex("组合框_定位起始期1", 5);  // 20140301-025
    EXPECT_TRUE(storage::WriteIniKey(dir.path() / "gs.ini", "1", "1", "68,67,67,42,54,53,55").ok());
    window.SetChecked("选择框_定位更新", true);
    window.SetText("编辑框_集合定位行", "2");
    window.SetText("编辑框_集合二星位", "");
    window.SetText("编辑框_集合三星位", "");
  }
};

TEST_F(CollectionWithPlans, BlockCarriesTheLastPlanLinesOfARealRun) {
  window.Click("按钮_集合开始");
  EXPECT_EQ(Collection(),
            "026—028后一定位胆（14678）028期 开 9错了\r\n"
            "029—031后一定位胆（01235）等待【3】\r\n" +
                kSeparator + "\r\n" + kHint + "\r\n" + kSeparator +
                "\r\n重庆:20140301-030 期开[52917]\r\n");
}

TEST_F(CollectionWithPlans, RebuiltAfterAnInsertedDrawOnlyWhileAutoIsChecked) {
  window.Click("按钮_集合开始");
  // What the automatic update does with a new draw: insert it, refresh the
  // plans, run the hooks.
  const auto update = [this](const std::string& issue, const std::string& digits) {
    AddDraw(0, issue, digits);
    window.SetText("透明标签_显示期号", issue);
    plan::RefreshPresetPlans(ctx);
    ctx.events.Raise(core::Event::DrawInserted);
  };
  update("20140301-031", "00000");
  const std::string rebuilt = Collection();
  // The pending plan 029—031 is now hit by the 0 of -031, whose draw is the
  // base of the next plan, waiting for its first issue.
  const std::string hitLine = "029—031后一定位胆（01235）031期 开 0中了\r\n";
  ASSERT_EQ(rebuilt.substr(0, hitLine.size()), hitLine);
  const std::size_t nextEnd = rebuilt.find("\r\n", hitLine.size());
  const std::string next = rebuilt.substr(hitLine.size(), nextEnd - hitLine.size());
  EXPECT_EQ(next.rfind("032—034后一定位胆（", 0), 0u) << next;
  EXPECT_NE(next.find("等待【1】"), std::string::npos) << next;
  EXPECT_NE(rebuilt.find("\r\n重庆:20140301-031 期开[00000]\r\n"), std::string::npos);

  window.Click("选择框_集合自动");
  update("20140301-032", "11111");
  EXPECT_EQ(Collection(), rebuilt);
}

}  // namespace
}  // namespace output
