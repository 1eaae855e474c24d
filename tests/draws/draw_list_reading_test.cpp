#include "draws/draw_list_reading.h"

#include <gtest/gtest.h>

#include <vector>

#include "ui/memory_window.h"

namespace draws {
namespace {

using lottery::Draw;

class DrawListReading : public ::testing::Test {
 protected:
  void Insert(int position, const std::string& issue, const std::string& code) {
    const int row = window.InsertRow(kDrawList, position);
    window.SetCell(kDrawList, row, 0, issue);
    window.SetCell(kDrawList, row, 1, code);
  }
  ui::MemoryWindow window;
};

TEST_F(DrawListReading, AnEmptyListReadsAsNoDrawsAndAnEmptyNewest) {
  EXPECT_TRUE(ReadDrawList(window).empty());
  EXPECT_EQ(NewestDraw(window), Draw{});
}

TEST_F(DrawListReading, RowsReadNewestFirstAsTheWindowShowsThem) {
  Insert(-1, "20140105-024", "90817");
  Insert(-1, "20140105-023", "12345");
  Insert(0, "20140105-025", "00000");  // what an update does with a new draw
  EXPECT_EQ(ReadDrawList(window),
            (std::vector<Draw>{
                {"20140105-025", "00000"}, {"20140105-024", "90817"}, {"20140105-023", "12345"}}));
  EXPECT_EQ(NewestDraw(window), (Draw{"20140105-025", "00000"}));
}

TEST_F(DrawListReading, CellsAreReadAsTheyStandWithoutJudgingThem) {
  Insert(-1, "140105-024", "9x8");
  window.InsertRow(kDrawList, -1);  // a row without cells
  EXPECT_EQ(ReadDrawList(window), (std::vector<Draw>{{"140105-024", "9x8"}, {"", ""}}));
  EXPECT_EQ(NewestDraw(window), (Draw{"140105-024", "9x8"}));
}

}  // namespace
}  // namespace draws
