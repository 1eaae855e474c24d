#include "plan/plan_run.h"

#include <gtest/gtest.h>

#include "lottery/lottery.h"
#include "plan/plan_report.h"
#include "plan/plan_rules.h"

namespace plan {
namespace {

// Eight draws of one day, newest first; the plans start at 025.
const std::vector<lottery::Draw> kHistory = {
    {"20140301-030", "52917"}, {"20140301-029", "60438"}, {"20140301-028", "13579"},
    {"20140301-027", "88210"}, {"20140301-026", "47302"}, {"20140301-025", "95161"},
    {"20140301-024", "38149"}, {"20140301-023", "20486"},
};
const std::string kStart = "20140301-025";

std::vector<std::string> Lines(const std::string& report) {
  std::vector<std::string> lines;
  std::size_t from = 0;
  while (true) {
    auto end = report.find("\r\n", from);
    lines.push_back(report.substr(from, end - from));
    if (end == std::string::npos) break;
    from = end + 2;
  }
  return lines;
}

PlanSettings Position(int method, int codeCount, int periodCount, std::string title) {
  PlanSettings s;
  s.kind = PlanKind::Position;
  s.position = 5;
  s.method = method;
  s.codeCount = codeCount;
  s.periodCount = periodCount;
  s.title = std::move(title);
  s.drawsPerDay = lottery::Chongqing().schedule.DrawsPerDay();
  return s;
}

PlanSettings Star(PlanKind kind, int playType, int codeCount, std::string title) {
  PlanSettings s;
  s.kind = kind;
  s.playType = playType;
  s.codeCount = codeCount;
  s.periodCount = 3;
  s.title = std::move(title);
  s.drawsPerDay = lottery::Chongqing().schedule.DrawsPerDay();
  return s;
}

PlanResult RunOnHistory(const PlanSettings& settings, std::string formula = "DCC*657") {
  return PlanRun(BuildPlanSource(kHistory, kStart), settings, formula);
}

TEST(PlanRun, PositionReportHasHitMissPendingAndSummary) {
  auto result = RunOnHistory(Position(kMethodDigits, 5, 3, "后一定位胆"));
  EXPECT_EQ(Lines(result.report), (std::vector<std::string>{
                                      "025—027后一定位胆（01348）025期 开 1中了",
                                      "026—028后一定位胆（14678）028期 开 9错了",
                                      "029—031后一定位胆（01235）等待【3】",
                                      "",
                                      "一共2期计划 对1期 错1期 准确率 50%",
                                  }));
  EXPECT_EQ(result.hits, 1);
  EXPECT_EQ(result.misses, 1);
  EXPECT_EQ(result.percentage, "50%");
  EXPECT_EQ(result.report.substr(result.report.size() - 3), "50%");  // no line end after it
}

TEST(PlanRun, PositionBigSmallComesFromTheSecondEvaluation) {
  auto result = RunOnHistory(Position(kMethodBigSmall, 5, 3, "后一大小"));
  auto lines = Lines(result.report);
  EXPECT_EQ(lines.front(), "025—027后一大小（大）027期 开 0错了");
  EXPECT_EQ(result.hits + result.misses, 4);
  EXPECT_EQ(result.hits, 3);
}

TEST(PlanRun, ClassMethodsShowTheClassWhateverTheCodeCount) {
  for (int method : {kMethodBigSmall, kMethodOddEven, kMethodBoth}) {
    auto a = RunOnHistory(Position(method, 1, 3, "后一x"));
    auto b = RunOnHistory(Position(method, 9, 3, "后一x"));
    EXPECT_EQ(a.report, b.report) << method;
    auto line = Lines(a.report).front();
    bool showsClass =
        line.find("（大）") != std::string::npos || line.find("（小）") != std::string::npos ||
        line.find("（单）") != std::string::npos || line.find("（双）") != std::string::npos;
    EXPECT_TRUE(showsClass) << line;
  }
  // Method 0 with nine codes shows nine sorted digits: 314086572.
  EXPECT_EQ(Lines(RunOnHistory(Position(kMethodDigits, 9, 3, "后一定位胆")).report).front(),
            "025—027后一定位胆（012345678）025期 开 1中了");
}

TEST(PlanRun, PeriodCountOneGivesOneIssuePlans) {
  auto lines = Lines(RunOnHistory(Position(kMethodDigits, 5, 1, "后一定位胆")).report);
  EXPECT_EQ(lines.front(), "025—025后一定位胆（01348）025期 开 1中了");
  EXPECT_EQ(lines[1].substr(0, std::string("026—026").size()), "026—026");
}

TEST(PlanRun, SequenceWrapsAtTheEndOfTheDay) {
  std::vector<lottery::Draw> history = {
      {"20140302-001", "11111"}, {"20140301-120", "22222"}, {"20140301-119", "38149"}};
  auto result =
      PlanRun(BuildPlanSource(history, ""), Position(kMethodDigits, 1, 3, "后一定位胆"), "DCC*657");
  // 38149 predicts 3; neither 2 nor 1 hits, and the third issue is awaited.
  EXPECT_EQ(Lines(result.report).front(), "120—002后一定位胆（3）等待【3】");
}

TEST(PlanRun, FillSequenceCompletesShortPredictions) {
  // 00000 evaluates to 0 for every formula: 0 then 1 7 6 5 from the fill of 0.
  std::vector<lottery::Draw> history = {{"20140301-002", "00007"}, {"20140301-001", "00000"}};
  auto result =
      PlanRun(BuildPlanSource(history, ""), Position(kMethodDigits, 5, 1, "后一定位胆"), "AAD*868");
  EXPECT_EQ(Lines(result.report).front(), "002—002后一定位胆（01567）002期 开 7中了");
}

TEST(PlanRun, EditedHitTextChangesHitLinesOnly) {
  auto settings = Position(kMethodDigits, 5, 3, "后一定位胆");
  settings.texts.hit = "对";
  auto lines = Lines(RunOnHistory(settings).report);
  EXPECT_EQ(lines[0], "025—027后一定位胆（01348）025期 开 1对");
  EXPECT_EQ(lines[1], "026—028后一定位胆（14678）028期 开 9错了");
  EXPECT_EQ(lines[4], "一共2期计划 对1期 错1期 准确率 50%");
}

TEST(PlanRun, EmptyFormulaOrEmptySource) {
  auto settings = Position(kMethodDigits, 5, 3, "后一定位胆");
  auto empty = RunOnHistory(settings, "");
  EXPECT_EQ(empty.report, "\r\n一共0期计划 对0期 错0期 准确率 0%");
  EXPECT_EQ(empty.percentage, "0%");
  EXPECT_EQ(PlanRun({}, settings, "DCC*657").report, "\r\n一共0期计划 对0期 错0期 准确率 0%");
}

TEST(PlanRun, ExactlyOnePendingLineAtTheEnd) {
  for (int period = 1; period <= 10; ++period) {
    for (int codes = 1; codes <= 9; ++codes) {
      auto result = RunOnHistory(Position(kMethodDigits, codes, period, "t"));
      auto lines = Lines(result.report);
      int pending = 0;
      for (const auto& line : lines) pending += line.find("等待【") != std::string::npos;
      EXPECT_EQ(pending, 1) << period << " " << codes;
      EXPECT_NE(lines[lines.size() - 3].find("等待【"), std::string::npos);
    }
  }
}

TEST(PlanRun, CountPlansAgreesWithTheReport) {
  for (int method = 0; method < 4; ++method) {
    auto settings = Position(method, 4, 2, "t");
    auto source = BuildPlanSource(kHistory, "");
    auto result = PlanRun(source, settings, "EDA-673");
    auto counts = CountPlans(source, settings, "EDA-673");
    EXPECT_EQ(counts.hits, result.hits);
    EXPECT_EQ(counts.misses, result.misses);
    EXPECT_TRUE(counts.pending);
  }
}

TEST(PlanRun, TwoStarStraightHitsWhenEachDigitIsInItsPositionsCodes) {
  auto result = RunOnHistory(Star(PlanKind::TwoStar, kTwoStarStraight, 8, "后二直选复式"));
  EXPECT_EQ(Lines(result.report), (std::vector<std::string>{
                                      "025—027后二直选复式（01345678*01235789）025期 开61中了",
                                      "026—028后二直选复式（12345678*12345678）028期 开79错了",
                                      "029—031后二直选复式（01235678*01234689）029期 开38中了",
                                      "030—032后二直选复式（01345679*01245689）等待【2】",
                                      "",
                                      "一共3期计划 对2期 错1期 准确率 66%",
                                  }));
}

TEST(PlanRun, TwoStarGroupHitsWhenBothDigitsAreAmongTheCodes) {
  auto result = RunOnHistory(Star(PlanKind::TwoStar, kTwoStarGroup, 5, "后二复式"));
  EXPECT_EQ(Lines(result.report).front(), "025—027后二复式（01348）027期 开10中了");
}

TEST(PlanRun, TwoStarBaseTypesShowTheBetCountAndNeverHit) {
  auto settings = Star(PlanKind::TwoStar, kTwoStarBackBase, 8, "后二大底");
  settings.betCountText = "25注";
  auto result = RunOnHistory(settings);
  EXPECT_EQ(Lines(result.report).front(), "025—027后二大底（25注）027期 开10错了");
  EXPECT_EQ(result.hits, 0);
  EXPECT_EQ(result.misses, 2);
}

TEST(PlanRun, ThreeStarStraightHitsWhenEachDigitIsInItsPositionsCodes) {
  auto result = RunOnHistory(Star(PlanKind::ThreeStar, kThreeStarStraight, 8, "后三直选复式"));
  EXPECT_EQ(Lines(result.report),
            (std::vector<std::string>{
                "025—027后三直选复式（01345678*01235789*01345678）027期 开210错了",
                "028—030后三直选复式（01234679*01234589*01234567）030期 开917中了",
                "031—033后三直选复式（01234789*01245689*01234789）等待【1】",
                "",
                "一共2期计划 对1期 错1期 准确率 50%",
            }));
}

TEST(PlanRules, TwoStarJudging) {
  PlanSettings settings = Star(PlanKind::TwoStar, kTwoStarGroup, 10, "");
  WindowPrediction all;
  all.first = Digits("0123456789");
  all.second = all.first;
  EXPECT_FALSE(IsHit(settings, all, "47355"));  // a pair never hits the group play
  EXPECT_TRUE(IsHit(settings, all, "47356"));

  settings.playType = kTwoStarStraight;
  WindowPrediction split;
  split.first = Digits("12");
  split.second = Digits("34");
  EXPECT_TRUE(IsHit(settings, split, "00013"));
  EXPECT_FALSE(IsHit(settings, split, "00031"));     // 十 only in P2, 个 only in P1
  EXPECT_TRUE(IsHit(settings, split, "1,2,3,1,4"));  // parts 4 and 5 of a split text
  EXPECT_EQ(JudgedDigits(settings, "47355"), "55");

  for (int type : {0, 1, 2, 3, 4, 5, 6, 7, 10, 11, 12, 13}) {
    settings.playType = type;
    EXPECT_FALSE(IsHit(settings, all, "47356")) << type;
  }
}

TEST(PlanRules, ThreeStarJudging) {
  PlanSettings settings = Star(PlanKind::ThreeStar, kThreeStarGroup, 10, "");
  WindowPrediction p;
  p.first = Digits("5");
  p.second = p.first;
  p.third = p.first;
  EXPECT_TRUE(IsHit(settings, p, "00555"));  // equal digits hit the group play

  settings.playType = kThreeStarStraight;
  p.first = Digits("1");
  p.second = Digits("2");
  p.third = Digits("3");
  EXPECT_TRUE(IsHit(settings, p, "00123"));
  EXPECT_FALSE(IsHit(settings, p, "00321"));
  EXPECT_EQ(JudgedDigits(settings, "00321"), "321");
}

TEST(AccuracySummary, IntegerPercentage) {
  const struct {
    int hits, misses;
    std::string percentage, summary;
  } cases[] = {
      {2, 1, "66%", "一共3期计划 对2期 错1期 准确率 66%"},
      {29, 71, "29%", "一共100期计划 对29期 错71期 准确率 29%"},
      {0, 0, "0%", "一共0期计划 对0期 错0期 准确率 0%"},
      {3, 0, "100%", "一共3期计划 对3期 错0期 准确率 100%"},
  };
  for (const auto& c : cases) {
    auto accuracy = AccuracySummary(c.hits, c.misses);
    EXPECT_EQ(accuracy.percentage, c.percentage);
    EXPECT_EQ(accuracy.summary, c.summary);
  }
}

TEST(FormatPlanLine, PositionKeepsTheBlankAfterTheDrawWord) {
  ReportTexts texts;
  texts.name = "张三";
  texts.left = "[";
  texts.right = "]";
  PlanLineParts parts{"025", "027", "后一定位胆", "01348", "026", "7", 0};
  EXPECT_EQ(FormatPlanLine(PlanKind::Position, PlanState::Missed, parts, texts),
            "025—027张三后一定位胆[01348]026期 开 7错了");
  EXPECT_EQ(FormatPlanLine(PlanKind::TwoStar, PlanState::Hit, parts, texts),
            "025—027张三后一定位胆[01348]026期 开7中了");
  parts.pendingIndex = 2;
  EXPECT_EQ(FormatPlanLine(PlanKind::ThreeStar, PlanState::Pending, parts, texts),
            "025—027张三后一定位胆[01348]等待【2】");
}

TEST(RunPresets, TenPresetsOverOneSource) {
  PresetFormulas formulas;
  formulas[0] = "DCC*657";
  formulas[4] = "CEE+741";
  auto results =
      RunPresets(kHistory, kStart, Position(kMethodDigits, 5, 3, "后一定位胆"), formulas);
  EXPECT_EQ(results[0].percentage, "50%");
  EXPECT_EQ(results[1].report, "\r\n一共0期计划 对0期 错0期 准确率 0%");
  EXPECT_EQ(results[4].report,
            RunOnHistory(Position(kMethodDigits, 5, 3, "后一定位胆"), "CEE+741").report);

  PresetMask onlyFifth{};
  onlyFifth[4] = true;
  auto some = RunPresets(kHistory, kStart, Position(kMethodDigits, 5, 3, "后一定位胆"), formulas,
                         onlyFifth);
  for (std::size_t j = 0; j < some.size(); ++j) {
    EXPECT_EQ(some[j].percentage, results[j].percentage) << j;
    EXPECT_EQ(some[j].hits, results[j].hits) << j;
    EXPECT_EQ(some[j].report, j == 4 ? results[j].report : "") << j;
  }
}

}  // namespace
}  // namespace plan
