#include "trend/trend_chart.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace trend {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// A dozen draws with two gaps in the issues (006 → 009, 012 → 120). At 个 the
// digits are 3 7 3 6 | 5 5 2 5 8 0 5 1: 4 and 9 are never drawn, 3 only before
// the last eight. At 万 the last four draws all drew 7.
const std::vector<lottery::Draw> kArchive{
    {"20240301-001", "12343"}, {"20240301-002", "40187"}, {"20240301-003", "75523"},
    {"20240301-004", "49006"}, {"20240301-005", "93145"}, {"20240301-006", "08825"},
    {"20240301-009", "21672"}, {"20240301-010", "66035"}, {"20240301-011", "74298"},
    {"20240301-012", "70710"}, {"20240301-120", "72555"}, {"20240302-001", "79361"},
};

std::vector<std::string> Summary(const std::string& name, const std::vector<std::string>& figures) {
  std::vector<std::string> row{name, ""};
  row.insert(row.end(), figures.begin(), figures.end());
  row.insert(row.end(), {"", ""});
  return row;
}

struct ChartCase {
  const char* name;
  int position;
  int shownCount;
  Rows rows;
  std::vector<int> ballColumns;
};

const ChartCase kCases[] = {
    {"个位, the newest eight",
     4,
     8,
     {
         {"20240301-005", "93145", "5", "5", "5", "2", "5", "5", "1", "3", "5", "5", "大", "单"},
         {"20240301-006", "08825", "6", "6", "6", "3", "6", "5", "2", "4", "6", "6", "大", "单"},
         {"20240301-009", "21672", "7", "7", "2", "4", "7", "1", "3", "5", "7", "7", "小", "双"},
         {"20240301-010", "66035", "8", "8", "1", "5", "8", "5", "4", "6", "8", "8", "大", "单"},
         {"20240301-011", "74298", "9", "9", "2", "6", "9", "1", "5", "7", "8", "9", "大", "双"},
         {"20240301-012", "70710", "0", "10", "3", "7", "10", "2", "6", "8", "1", "10", "小", "双"},
         {"20240301-120", "72555", "1", "11", "4", "8", "11", "5", "7", "9", "2", "11", "大", "单"},
         {"20240302-001", "79361", "2", "1", "5", "9", "12", "1", "8", "10", "3", "12", "小", "单"},
         Summary("出现次数", {"1", "1", "1", "0", "0", "4", "0", "0", "1", "0"}),
         Summary("平均遗漏", {"3", "3", "3", "8", "8", "0", "8", "8", "3", "8"}),
         Summary("最大遗漏", {"9", "11", "6", "9", "12", "2", "8", "10", "8", "12"}),
         Summary("最大连出", {"1", "1", "1", "0", "0", "2", "0", "0", "1", "0"}),
     },
     {7, 7, 4, 7, 10, 2, 7, 3}},
    {"万位, the newest four all drew 7",
     0,
     4,
     {
         {"20240301-011", "74298", "3", "8", "2", "9", "5", "9", "1", "7", "9", "4", "大", "单"},
         {"20240301-012", "70710", "4", "9", "3", "10", "6", "10", "2", "7", "10", "5", "大", "单"},
         {"20240301-120", "72555", "5", "10", "4", "11", "7", "11", "3", "7", "11", "6", "大",
          "单"},
         {"20240302-001", "79361", "6", "11", "5", "12", "8", "12", "4", "7", "12", "7", "大",
          "单"},
         Summary("出现次数", {"0", "0", "0", "0", "0", "0", "0", "4", "0", "0"}),
         Summary("平均遗漏", {"4", "4", "4", "4", "4", "4", "4", "0", "4", "4"}),
         Summary("最大遗漏", {"6", "11", "5", "12", "8", "12", "4", "0", "12", "7"}),
         Summary("最大连出", {"0", "0", "0", "0", "0", "0", "0", "4", "0", "0"}),
     },
     {9, 9, 9, 9}},
};

TEST(BuildTrendChart, EveryCellMatchesChartsCountedByHand) {
  for (const ChartCase& c : kCases) {
    SCOPED_TRACE(c.name);
    const TrendChart chart = BuildTrendChart(kArchive, c.position, c.shownCount);
    ASSERT_EQ(chart.rows.size(), c.rows.size());
    for (std::size_t r = 0; r < c.rows.size(); ++r) {
      EXPECT_EQ(chart.rows[r], c.rows[r]) << "row " << r;
    }
    EXPECT_EQ(chart.ballColumns, c.ballColumns);
    EXPECT_EQ(chart.DrawRowCount(), c.shownCount);
  }
}

TEST(BuildTrendChart, MoreRowsAskedThanArchivedShowsTheWholeArchive) {
  const TrendChart chart = BuildTrendChart(kArchive, 4, 200);
  ASSERT_EQ(chart.DrawRowCount(), 12);
  ASSERT_EQ(chart.rows.size(), 12u + kSummaryRowCount);
  // The oldest archived draw starts every omission at 1.
  EXPECT_EQ(chart.rows[0], (std::vector<std::string>{"20240301-001", "12343", "1", "1", "1", "3",
                                                     "1", "1", "1", "1", "1", "1", "小", "单"}));
  // The omission does not depend on how many rows are shown.
  const TrendChart eight = BuildTrendChart(kArchive, 4, 8);
  for (int r = 0; r < 8; ++r) EXPECT_EQ(chart.rows[4 + r], eight.rows[r]) << "row " << r;
  EXPECT_EQ(chart.rows[12],
            Summary("出现次数", {"1", "1", "1", "2", "0", "4", "1", "1", "1", "0"}));
  EXPECT_EQ(chart.rows[13],
            Summary("平均遗漏", {"5", "5", "5", "3", "12", "1", "5", "5", "5", "12"}));
  EXPECT_EQ(chart.rows[14],
            Summary("最大遗漏", {"9", "11", "6", "9", "12", "4", "8", "10", "8", "12"}));
  EXPECT_EQ(chart.rows[15],
            Summary("最大连出", {"1", "1", "1", "1", "0", "2", "1", "1", "1", "0"}));
}

TEST(BuildTrendChart, NoRowsGiveSummaryRowsOfZeros) {
  const std::vector<std::string> zeros(10, "0");
  const Rows expected{Summary("出现次数", zeros), Summary("平均遗漏", zeros),
                      Summary("最大遗漏", zeros), Summary("最大连出", zeros)};
  const struct {
    const char* name;
    std::vector<lottery::Draw> archive;
    int shownCount;
  } cases[] = {
      {"empty archive", {}, 50}, {"nothing shown", kArchive, 0}, {"negative", kArchive, -3}};
  for (const auto& c : cases) {
    const TrendChart chart = BuildTrendChart(c.archive, 4, c.shownCount);
    EXPECT_EQ(chart.rows, expected) << c.name;
    EXPECT_EQ(chart.DrawRowCount(), 0) << c.name;
  }
}

TEST(BuildTrendChart, OmissionCountsDrawsNotIssueNumbers) {
  const std::vector<lottery::Draw> archive{
      {"20240301-001", "00001"}, {"20240301-050", "00002"}, {"20240305-117", "00003"}};
  const TrendChart chart = BuildTrendChart(archive, 4, 1);
  EXPECT_EQ(chart.rows[0], (std::vector<std::string>{"20240305-117", "00003", "3", "2", "1", "3",
                                                     "3", "3", "3", "3", "3", "3", "小", "单"}));
}

TEST(BuildTrendChart, ARowWithoutADigitAtThePositionHasNoBallAndMissesEveryDigit) {
  const std::vector<lottery::Draw> archive{{"20240301-001", "00001"},
                                           {"20240301-002", "12a45"},
                                           {"20240301-003", "1234"},
                                           {"20240301-004", "00003"}};
  const TrendChart chart = BuildTrendChart(archive, 4, 3);
  const Rows expected{
      {"20240301-002", "12a45", "2", "1", "2", "2", "2", "2", "2", "2", "2", "2", "", ""},
      {"20240301-003", "1234", "3", "2", "3", "3", "3", "3", "3", "3", "3", "3", "", ""},
      {"20240301-004", "00003", "4", "3", "4", "3", "4", "4", "4", "4", "4", "4", "小", "单"},
  };
  for (int r = 0; r < 3; ++r) EXPECT_EQ(chart.rows[r], expected[r]) << "row " << r;
  EXPECT_EQ(chart.ballColumns, (std::vector<int>{-1, -1, 5}));
  EXPECT_EQ(chart.rows[3], Summary("出现次数", {"0", "0", "0", "1", "0", "0", "0", "0", "0", "0"}));
}

TEST(DigitAt, OnlyFiveDigitCodesAndPositionsZeroToFour) {
  const struct {
    std::string code;
    int position;
    int digit;
  } cases[] = {{"12345", 0, 1},   {"12345", 4, 5},   {"90000", 0, 9},
               {"12345", 5, -1},  {"12345", -1, -1}, {"1234", 0, -1},
               {"123456", 0, -1}, {"12 45", 0, -1},  {"", 0, -1}};
  for (const auto& c : cases) {
    EXPECT_EQ(DigitAt(c.code, c.position), c.digit) << c.code << " @" << c.position;
  }
}

}  // namespace
}  // namespace trend
