#include "trend/chart_row_buffer.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace trend {
namespace {

using Cells = std::vector<std::string>;

// The cells of every row as the buffer reads them back, up to `columns`.
std::vector<Cells> Read(const ChartRowBuffer& buffer, int columns) {
  std::vector<Cells> rows;
  for (int row = 0; row < buffer.Count(); ++row) {
    Cells cells;
    for (int column = 0; column < columns; ++column) cells.push_back(buffer.Cell(row, column));
    rows.push_back(cells);
  }
  return rows;
}

TEST(ChartRowBuffer, InsertPutsAnEmptyRowWithoutABallWhereAsked) {
  const struct {
    int position;
    int expectedRow;
    std::vector<Cells> expected;
  } cases[] = {
      {-1, 2, {{"a"}, {"b"}, {""}}}, {0, 0, {{""}, {"a"}, {"b"}}}, {1, 1, {{"a"}, {""}, {"b"}}},
      {2, 2, {{"a"}, {"b"}, {""}}},  {3, 2, {{"a"}, {"b"}, {""}}}, {-7, 2, {{"a"}, {"b"}, {""}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("position " + std::to_string(c.position));
    ChartRowBuffer buffer;
    buffer.SetCell(buffer.Insert(-1), 0, "a");
    buffer.SetMark(0, 3);
    buffer.SetCell(buffer.Insert(-1), 0, "b");
    buffer.SetMark(1, 5);
    EXPECT_EQ(buffer.Insert(c.position), c.expectedRow);
    EXPECT_EQ(Read(buffer, 1), c.expected);
    EXPECT_EQ(buffer.Mark(c.expectedRow), -1);
    // The other rows keep their balls.
    EXPECT_EQ(buffer.Mark(c.expectedRow == 0 ? 1 : 0), 3);
  }
}

TEST(ChartRowBuffer, CellsAndMarksOutOfRangeAreIgnoredAndReadEmpty) {
  ChartRowBuffer buffer;
  buffer.SetCell(0, 0, "no row yet");
  buffer.SetMark(0, 4);
  EXPECT_EQ(buffer.Count(), 0);
  const int row = buffer.Insert(-1);
  buffer.SetCell(row, 3, "d");  // the row grows to the column
  buffer.SetCell(row, -1, "x");
  buffer.SetCell(row + 1, 0, "x");
  buffer.SetMark(row + 1, 4);
  EXPECT_EQ(Read(buffer, 5), (std::vector<Cells>{{"", "", "", "d", ""}}));
  for (const auto& [r, column] : {std::pair{row, -1}, {row, 99}, {row + 1, 0}, {-1, 0}}) {
    EXPECT_EQ(buffer.Cell(r, column), "") << r << "," << column;
  }
  EXPECT_EQ(buffer.Mark(row + 1), -1);
  EXPECT_EQ(buffer.Mark(-1), -1);
}

TEST(ChartRowBuffer, AMarkKeepsItsColumnAndAnyNegativeReadsAsNone) {
  ChartRowBuffer buffer;
  const int row = buffer.Insert(-1);
  for (const auto& [column, expected] : {std::pair{7, 7}, {30, 30}, {0, 0}, {-5, -1}, {-1, -1}}) {
    buffer.SetMark(row, column);
    EXPECT_EQ(buffer.Mark(row), expected) << column;
  }
}

TEST(ChartRowBuffer, ClearLeavesNoRows) {
  ChartRowBuffer buffer;
  buffer.SetCell(buffer.Insert(-1), 0, "a");
  buffer.SetMark(0, 4);
  buffer.Clear();
  EXPECT_EQ(buffer.Count(), 0);
  EXPECT_EQ(buffer.Mark(0), -1);
  EXPECT_TRUE(buffer.Chart().rows.empty());
}

// Rows named by their first cell, each with a ball in `marks`.
ChartRowBuffer Buffer(const std::vector<Cells>& rows, const std::vector<int>& marks) {
  ChartRowBuffer buffer;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const int row = buffer.Insert(-1);
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      buffer.SetCell(row, static_cast<int>(c), rows[r][c]);
    }
    buffer.SetMark(row, marks[r]);
  }
  return buffer;
}

TEST(ChartRowBuffer, TheLastFourRowsAreTheSummaryBandAndOnlyDrawRowsCarryBalls) {
  const struct {
    const char* name;
    std::vector<int> marks;
    std::vector<int> ballColumns;
  } cases[] = {
      {"no rows", {}, {}},
      {"fewer rows than the band", {2, 3, 4}, {}},
      {"just the band", {2, 3, 4, 5}, {}},
      {"two draw rows", {2, 11, 4, 5, 6, 7}, {2, 11}},
      {"balls outside the digits", {-1, 1, 12, 30, 9, 2, 3, 4, 5}, {-1, -1, -1, -1, 9}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<Cells> rows;
    for (std::size_t r = 0; r < c.marks.size(); ++r) rows.push_back({std::to_string(r)});
    const TrendChart chart = Buffer(rows, c.marks).Chart();
    EXPECT_EQ(chart.ballColumns, c.ballColumns);
    EXPECT_EQ(chart.DrawRowCount(), static_cast<int>(c.ballColumns.size()));
    ASSERT_EQ(chart.rows.size(), c.marks.size());
    for (std::size_t r = 0; r < chart.rows.size(); ++r) {
      EXPECT_EQ(chart.rows[r][kIssueColumn], std::to_string(r));
    }
  }
}

TEST(ChartRowBuffer, EveryRowOfTheChartHasAllColumns) {
  Cells tooLong(kColumnCount + 3, "x");
  tooLong[kParityColumn] = "单";
  const ChartRowBuffer buffer =
      Buffer({{"20240301-001", "12345", "1"}, {}, tooLong, {"出现次数"}, {}, {}, {}},
             {4, -1, 5, -1, -1, -1, -1});
  const TrendChart chart = buffer.Chart();
  for (const Cells& row : chart.rows) EXPECT_EQ(row.size(), static_cast<std::size_t>(kColumnCount));
  EXPECT_EQ(chart.rows[0][kFirstDigitColumn], "1");
  EXPECT_EQ(chart.rows[0][kSizeColumn], "");
  EXPECT_EQ(chart.rows[2][kParityColumn], "单");
  EXPECT_EQ(chart.rows[3][kIssueColumn], "出现次数");
  EXPECT_EQ(chart.ballColumns, (std::vector<int>{4, -1, 5}));
  // What the program wrote reads back unchanged.
  EXPECT_EQ(buffer.Cell(2, kColumnCount + 2), "x");
}

TEST(TrendChartLayout, CaptionsNameEveryColumnAndTheDigitsAreTheTenInTheMiddle) {
  const std::vector<std::string>& captions = TrendColumnCaptions();
  ASSERT_EQ(captions.size(), static_cast<std::size_t>(kColumnCount));
  EXPECT_EQ(captions[kIssueColumn], "期号");
  EXPECT_EQ(captions[kCodeColumn], "奖号");
  EXPECT_EQ(captions[kSizeColumn], "大小");
  EXPECT_EQ(captions[kParityColumn], "单双");
  for (int column = -1; column <= kColumnCount; ++column) {
    const bool digit = column >= kFirstDigitColumn && column < kFirstDigitColumn + 10;
    EXPECT_EQ(IsDigitColumn(column), digit) << column;
    if (digit) {
      EXPECT_EQ(captions[column], std::to_string(column - kFirstDigitColumn));
    }
  }
}

}  // namespace
}  // namespace trend
