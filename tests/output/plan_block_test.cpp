#include "output/plan_block.h"

#include <gtest/gtest.h>

namespace output {
namespace {

const std::string kReport =
    "025—027后一定位胆（01348）025期 开 1中了\r\n"
    "026—028后一定位胆（14678）028期 开 9错了\r\n"
    "029—031后一定位胆（01235）等待【3】\r\n"
    "\r\n"
    "一共2期计划 对1期 错1期 准确率 50%";

TEST(PlanBlock, LastRowsPlanLinesWithoutBlankAndSummary) {
  EXPECT_EQ(PlanBlock(kReport, 2),
            "026—028后一定位胆（14678）028期 开 9错了\r\n"
            "029—031后一定位胆（01235）等待【3】\r\n");
  EXPECT_EQ(PlanBlock(kReport, 8),
            "025—027后一定位胆（01348）025期 开 1中了\r\n"
            "026—028后一定位胆（14678）028期 开 9错了\r\n"
            "029—031后一定位胆（01235）等待【3】\r\n");
  EXPECT_EQ(PlanBlock(kReport, 1), "029—031后一定位胆（01235）等待【3】\r\n");
  EXPECT_EQ(PlanBlock(kReport, 0), "");
  EXPECT_EQ(PlanBlock(kReport, -3), "");
}

TEST(PlanBlock, AcceptsLfOnlyLinesAndEmptyReports) {
  std::string lfOnly;
  for (char c : kReport) {
    if (c != '\r') lfOnly += c;
  }
  EXPECT_EQ(PlanBlock(lfOnly, 2), PlanBlock(kReport, 2));
  EXPECT_EQ(PlanBlock("", 8), "");
  // The report of an empty preset formula: no plan line at all.
  EXPECT_EQ(PlanBlock("\r\n一共0期计划 对0期 错0期 准确率 0%", 8), "");
}

TEST(IsSummaryLine, OnlyTheExactSummaryForm) {
  EXPECT_TRUE(IsSummaryLine("一共2期计划 对1期 错1期 准确率 50%"));
  EXPECT_TRUE(IsSummaryLine("一共120期计划 对100期 错20期 准确率 83%"));
  EXPECT_FALSE(IsSummaryLine("一共2期计划 对1期 错1期 准确率 50%x"));
  EXPECT_FALSE(IsSummaryLine("一共期计划 对1期 错1期 准确率 50%"));
  EXPECT_FALSE(IsSummaryLine("029—031后一定位胆（01235）等待【3】"));
}

TEST(RowCount, NumberTruncatedAndNeverNegative) {
  const struct {
    const char* text;
    int rows;
  } cases[] = {{"8", 8},  {"", 0},      {"0", 0},    {"abc", 0}, {"2.9", 2},
               {"-3", 0}, {"１２", 12}, {" 3行", 3}, {"0.5", 0}, {"1e99", 1'000'000'000}};
  for (const auto& c : cases) {
    EXPECT_EQ(RowCount(c.text), c.rows) << '"' << c.text << '"';
  }
}

}  // namespace
}  // namespace output
