#include "draws/draw_list.h"

#include <gtest/gtest.h>

#include "ui/memory_window.h"

namespace draws {
namespace {

class DrawListTest : public ::testing::Test {
 protected:
  // rows newest first: 20140105-0NN counting down from `newest`
  void AddRows(int count, int newest = 50) {
    for (int i = 0; i < count; ++i) {
      char issue[16];
      std::snprintf(issue, sizeof issue, "20140105-%03d", newest - i);
      int row = window.InsertRow(kDrawList, -1);
      window.SetCell(kDrawList, row, 0, issue);
      window.SetCell(kDrawList, row, 1, "12345");
    }
  }
  std::vector<ui::Picture> Pictures() const {
    std::vector<ui::Picture> pictures;
    for (int k = 1; k <= 5; ++k) pictures.push_back(window.PictureOf("图片框" + std::to_string(k)));
    return pictures;
  }
  ui::MemoryWindow window;
};

TEST_F(DrawListTest, ShowLatestDrawShowsRowZero) {
  int row = window.InsertRow(kDrawList, -1);
  window.SetCell(kDrawList, row, 0, "20140105-024");
  window.SetCell(kDrawList, row, 1, "90817");
  ShowLatestDraw(window);
  EXPECT_EQ(window.Text("透明标签_显示期号"), " 第:20140105-024 期");
  EXPECT_EQ(Pictures(), (std::vector<ui::Picture>{{9}, {0}, {8}, {1}, {7}}));
}

TEST_F(DrawListTest, ShowLatestDrawWithoutRowsKeepsThePictures) {
  std::vector<ui::Picture> before = Pictures();
  ShowLatestDraw(window);
  EXPECT_EQ(window.Text("透明标签_显示期号"), " 第: 期");
  EXPECT_EQ(Pictures(), before);
}

TEST_F(DrawListTest, ShowLatestDrawCountsNonDigitsAndMissingCharactersAsZero) {
  int row = window.InsertRow(kDrawList, -1);
  window.SetCell(kDrawList, row, 0, "20140105-024");
  window.SetCell(kDrawList, row, 1, "9x8");
  ShowLatestDraw(window);
  EXPECT_EQ(Pictures(), (std::vector<ui::Picture>{{9}, {0}, {8}, {0}, {0}}));
}

TEST_F(DrawListTest, ComboWithNineRowsHasNoSelection) {
  AddRows(9);
  FillStartIssueCombo(window, "组合框_定位起始期1", true);
  ASSERT_EQ(window.ItemCount("组合框_定位起始期1"), 9);
  EXPECT_EQ(window.ItemText("组合框_定位起始期1", 0), "20140105-050");
  EXPECT_EQ(window.CurrentIndex("组合框_定位起始期1"), -1);
}

TEST_F(DrawListTest, ComboWithTenRowsSelectsTheTenthNewest) {
  AddRows(12);
  FillStartIssueCombo(window, "组合框_搜起始期", false);
  ASSERT_EQ(window.ItemCount("组合框_搜起始期"), 12);
  EXPECT_EQ(window.CurrentIndex("组合框_搜起始期"), 9);
  EXPECT_EQ(window.ItemText("组合框_搜起始期", 9), "20140105-041");
}

TEST_F(DrawListTest, ComboIsLeftAloneWithoutRowsOrWithAShortTopIssue) {
  window.AddItem("组合框_二星起始期1", "old");
  FillStartIssueCombo(window, "组合框_二星起始期1", true);
  EXPECT_EQ(window.ItemCount("组合框_二星起始期1"), 1);

  int row = window.InsertRow(kDrawList, -1);
  window.SetCell(kDrawList, row, 0, "140105-024");  // 10 characters
  FillStartIssueCombo(window, "组合框_二星起始期1", true);
  EXPECT_EQ(window.ItemText("组合框_二星起始期1", 0), "old");
  FillStartIssueCombo(window, "组合框_二星起始期1", false);
  EXPECT_EQ(window.ItemText("组合框_二星起始期1", 0), "140105-024");
}

}  // namespace
}  // namespace draws
