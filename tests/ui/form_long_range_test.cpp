#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/form.h"

namespace {

using ui::ControlDefinition;
using ui::ControlKind;

// The part of a page of 高级选择夹_总 below its tab strip that shows.
constexpr int kPageWidth = 690;
constexpr int kPageHeight = 566;

std::vector<const ControlDefinition*> OnPage(int page) {
  std::vector<const ControlDefinition*> controls;
  for (const ControlDefinition& entry : ui::MainForm()) {
    if (entry.parent == "高级选择夹_总" && entry.page == page) controls.push_back(&entry);
  }
  return controls;
}

bool Overlap(const ui::Geometry& a, const ui::Geometry& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

TEST(LongRangePages, EveryControlShowsWholeAndNoneCoversAnother) {
  for (int page : {5, 6}) {
    const auto controls = OnPage(page);
    ASSERT_FALSE(controls.empty()) << page;
    for (std::size_t i = 0; i < controls.size(); ++i) {
      const ui::Geometry& g = controls[i]->geometry;
      SCOPED_TRACE(controls[i]->name);
      EXPECT_GE(g.left, 0);
      EXPECT_GE(g.top, 0);
      EXPECT_LE(g.left + g.width, kPageWidth);
      EXPECT_LE(g.top + g.height, kPageHeight);
      for (std::size_t j = i + 1; j < controls.size(); ++j) {
        EXPECT_FALSE(Overlap(g, controls[j]->geometry)) << controls[j]->name;
      }
    }
  }
}

TEST(LongRangePages, CombosOfferTheirItemsAndStartOnTheirDefault) {
  const struct {
    const char* name;
    std::vector<std::string> items;
    std::string selected;
  } combos[] = {
      {"组合框_走势位置", {"万位", "千位", "百位", "十位", "个位"}, "个位"},
      {"组合框_走势期数", {"30期", "50期", "100期", "200期"}, "50期"},
      {"组合框_回测位置", {"万位", "千位", "百位", "十位", "个位"}, "个位"},
      {"组合框_回测玩法", {"定位胆", "大小", "单双", "大小单双"}, "定位胆"},
      {"组合框_回测范围",
       {"最近180期", "最近1000期", "最近5000期", "最近10000期", "最近50000期", "全部"},
       "最近1000期"},
      {"组合框_回测公式", {"公式库", "预设公式", "自定义"}, "公式库"},
      {"组合框_回测条数", {"50", "100", "200", "500", "全部"}, "100"},
  };
  for (const auto& combo : combos) {
    SCOPED_TRACE(combo.name);
    const ControlDefinition* entry = ui::FindControl(combo.name);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->items, combo.items);
    ASSERT_GE(entry->selectedItem, 0);
    EXPECT_EQ(entry->items[static_cast<std::size_t>(entry->selectedItem)], combo.selected);
  }
  // The code and period boxes offer what the search's do.
  EXPECT_EQ(ui::FindControl("组合框_回测码数")->items, ui::FindControl("组合框_搜码数")->items);
  EXPECT_EQ(ui::FindControl("组合框_回测期数")->items, ui::FindControl("组合框_搜期数")->items);
}

TEST(LongRangePages, ChartAndResultListHaveTheirColumns) {
  auto captions = [](const char* name) {
    std::vector<std::string> result;
    for (const ui::Column& column : ui::FindControl(name)->columns)
      result.push_back(column.caption);
    return result;
  };
  EXPECT_EQ(ui::FindControl("走势图_号码")->kind, ControlKind::TrendChart);
  EXPECT_EQ(captions("走势图_号码"),
            (std::vector<std::string>{"期号", "奖号", "0", "1", "2", "3", "4", "5", "6", "7", "8",
                                      "9", "大小", "单双"}));
  EXPECT_EQ(captions("超级列表框_回测"),
            (std::vector<std::string>{"序号", "公式", "计划", "中", "挂", "概率", "最大连中",
                                      "最大连挂", "当前"}));
  EXPECT_EQ(ui::FindControl("进度条_回测")->kind, ControlKind::ProgressBar);
  EXPECT_TRUE(ui::FindControl("单选框_回测定位")->checked);
  EXPECT_TRUE(ui::FindControl("编辑框_回测公式")->multiLine);
}

}  // namespace
