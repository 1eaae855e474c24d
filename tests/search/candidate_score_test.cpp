#include "search/candidate_score.h"

#include <gtest/gtest.h>

#include <random>

#include "plan/reference_formula.h"

namespace search {
namespace {

std::vector<plan::Draw> Draws(std::initializer_list<const char*> digits) {
  std::vector<plan::Draw> draws;
  int sequence = 1;
  for (const char* d : digits) {
    draws.push_back({"20140301-" + std::to_string(1000 + sequence++).substr(1), d});
  }
  return draws;
}

Tally Score(const std::vector<plan::Draw>& draws, const SearchSettings& settings,
            std::string_view formula) {
  const Tally fast = ScoreCandidate(SearchSource(draws), settings, formula);
  // Every case also holds for the plain replay.
  EXPECT_EQ(fast, ScoreCandidatePlain(draws, settings, formula)) << formula;
  return fast;
}

std::string Digits(const CodeSet& set) {
  std::string text;
  for (int i = 0; i < set.size; ++i) text += static_cast<char>('0' + set.digits[i]);
  return text;
}

TEST(RatePercent, IsTheIntegerPartInIntegers) {
  const struct {
    int hits, misses, rate;
  } cases[] = {{29, 21, 58}, {29, 71, 29}, {57, 43, 57}, {6, 4, 60},
               {2, 1, 66},   {0, 0, 0},    {0, 5, 0},    {5, 0, 100}};
  for (const auto& c : cases) {
    EXPECT_EQ(RatePercent({c.hits, c.misses}), c.rate) << c.hits << "/" << c.misses;
  }
}

TEST(FastFormula, WorkedExamples) {
  const DrawValue base = *ParseDrawValue("38149");
  const FastEvaluation first =
      EvaluateFast(FastFormula::Compile("DCC*657")->Number(base), base.number, 5);
  EXPECT_EQ(Digits(first.prediction), "31408");
  EXPECT_EQ(first.valueNumber, 31408605786u);
  EXPECT_EQ(
      Digits(
          EvaluateFast(FastFormula::Compile("DCC*657")->Number(base), base.number, 9).prediction),
      "314086572");
  // The value digits as the formula of a second evaluation: printf's
  // exponent enters the text in three digits.
  const FastEvaluation second = EvaluateFast(first.valueNumber, base.number, 5);
  EXPECT_EQ(Digits(second.prediction), "23964");
  EXPECT_EQ(second.valueNumber, 239641380426015u);

  const DrawValue zeros = *ParseDrawValue("00000");
  EXPECT_EQ(Digits(EvaluateFast(FastFormula::Compile("AAD*868")->Number(zeros), 0, 5).prediction),
            "01765");
  EXPECT_EQ(Digits(EvaluateFast(1, 1, 11).prediction).size(), 10u);
  EXPECT_FALSE(FastFormula::Compile("ABCDEABCDEABCDEABCDE").has_value());  // 20 places
  EXPECT_FALSE(ParseDrawValue("1234").has_value());
  EXPECT_FALSE(ParseDrawValue("1,2,3").has_value());
}

// The fast evaluation must agree with the plan engine on every formula it
// accepts: predictions in order, and the value digits as a number.
TEST(FastFormula, AgreesWithThePlanEngine) {
  std::mt19937 random(20140301);
  const std::string alphabet = "ABCDE0123456789*+- abe";
  for (int i = 0; i < 200000; ++i) {
    std::string formula;
    const int length = static_cast<int>(random() % 20);
    for (int c = 0; c < length; ++c) formula += alphabet[random() % alphabet.size()];
    char draw[6];
    std::snprintf(draw, sizeof draw, "%05u", static_cast<unsigned>(random() % 100000));
    const int m = static_cast<int>(random() % 12);
    const auto compiled = FastFormula::Compile(formula);
    if (!compiled) continue;
    const DrawValue base = *ParseDrawValue(draw);
    const FastEvaluation fast = EvaluateFast(compiled->Number(base), base.number, m);
    const plan::Evaluation slow = plan::EvaluateFormula(draw, m, formula);
    ASSERT_EQ(Digits(fast.prediction), slow.prediction.str()) << draw << " " << formula << " " << m;
    ASSERT_EQ(std::to_string(fast.valueNumber), slow.valueDigits.str()) << draw << " " << formula;
    const FastEvaluation fast2 = EvaluateFast(fast.valueNumber, base.number, 5);
    const plan::Evaluation slow2 = plan::EvaluateFormula(draw, 5, slow.valueDigits.view());
    ASSERT_EQ(Digits(fast2.prediction), slow2.prediction.str()) << draw << " " << formula;
  }
}

TEST(ScoreCandidate, StartIssueAtTheNewestDraw) {
  // Source: the draw before the start issue and the start issue itself.
  SearchSettings s{SearchKind::Position, 5, 3, 5, kPlayDigits};
  // 38149 with DCC*657 predicts 31408 (5 codes).
  EXPECT_EQ(Score(Draws({"38149", "00001"}), s, "DCC*657"), (Tally{1, 0}));
  EXPECT_EQ(RatePercent(Score(Draws({"38149", "00001"}), s, "DCC*657")), 100);
  EXPECT_EQ(Score(Draws({"38149", "00009"}), s, "DCC*657"), (Tally{0, 0}));  // unfinished
  s.periods = 1;
  EXPECT_EQ(Score(Draws({"38149", "00009"}), s, "DCC*657"), (Tally{0, 1}));
}

TEST(ScoreCandidate, APlanRunningPastTheNewestDrawIsNotCounted) {
  SearchSettings s{SearchKind::Position, 1, 5, 5, kPlayDigits};
  // With one code, 38149 predicts 3: the first plan hits on its second
  // draw; the next, based on 00003, predicts 3 again and misses three times.
  const auto draws = Draws({"38149", "00005", "00003", "00002", "00002", "00002"});
  EXPECT_EQ(Score(draws, s, "DCC*657"), (Tally{1, 0}));
  s.periods = 3;
  EXPECT_EQ(Score(draws, s, "DCC*657"), (Tally{1, 1}));
}

TEST(ScoreCandidate, PositionClassPlaysGoThroughTheValueDigits) {
  // 38149 with DCC*657: the second evaluation of 31408605786 gives 23964;
  // its third digit 9 is odd, so 大小 predicts 56789 (and not the 01234 a
  // second evaluation of the formula itself would give).
  SearchSettings s{SearchKind::Position, 4, 1, 5, 1};
  EXPECT_EQ(Score(Draws({"38149", "00007"}), s, "DCC*657"), (Tally{1, 0}));
  EXPECT_EQ(Score(Draws({"38149", "00002"}), s, "DCC*657"), (Tally{0, 1}));
  // 单双: fourth digit 6 is even, 02468.
  s.play = 2;
  EXPECT_EQ(Score(Draws({"38149", "00002"}), s, "DCC*657"), (Tally{1, 0}));
  EXPECT_EQ(Score(Draws({"38149", "00007"}), s, "DCC*657"), (Tally{0, 1}));
  // 大小单双: (2 + 9) mod 10 = 1 gives 56789.
  s.play = 3;
  EXPECT_EQ(Score(Draws({"38149", "00005"}), s, "DCC*657"), (Tally{1, 0}));
  EXPECT_EQ(Score(Draws({"38149", "00004"}), s, "DCC*657"), (Tally{0, 1}));
  // The position decides which digit is judged.
  s.position = 1;
  EXPECT_EQ(Score(Draws({"38149", "50004"}), s, "DCC*657"), (Tally{1, 0}));
}

TEST(ScoreCandidate, TwoStarGroupNeedsTwoDifferentDigits) {
  const std::string code = plan::EvaluateFormula("38149", 4, "DCC*657").prediction.str();  // 3140
  ASSERT_EQ(code, "3140");
  SearchSettings s{SearchKind::TwoStar, 4, 1, 0, kPlayTwoStarGroup};
  EXPECT_EQ(Score(Draws({"38149", "04433"}), s, "DCC*657"), (Tally{0, 1}));
  EXPECT_EQ(Score(Draws({"38149", "04431"}), s, "DCC*657"), (Tally{1, 0}));
  EXPECT_EQ(Score(Draws({"38149", "04435"}), s, "DCC*657"), (Tally{0, 1}));  // 5 not in 3140
}

TEST(ScoreCandidate, TwoStarStraightCompanionOfZeroIsFormulaOne) {
  // An empty formula evaluates to 0, so S1 = 01765 starts with 0 and S2 comes
  // from companion formula 1, DCC*657: 31408 on 38149.
  SearchSettings s{SearchKind::TwoStar, 5, 1, 0, kPlayTwoStarStraight};
  EXPECT_EQ(Score(Draws({"38149", "00003"}), s, ""), (Tally{1, 0}));
  EXPECT_EQ(Score(Draws({"38149", "00009"}), s, ""), (Tally{0, 1}));
  EXPECT_EQ(Score(Draws({"38149", "00305"}), s, ""), (Tally{0, 1}));  // 十 only in S2
}

TEST(ScoreCandidate, UnscoredPlaysNeverHit) {
  const auto draws = Draws({"38149", "31408", "31408", "31408", "31408"});
  for (auto kind : {SearchKind::TwoStar, SearchKind::ThreeStar}) {
    for (int play : {0, 1, 2, 7, 12, 13}) {
      SearchSettings s{kind, 9, 1, 0, play};
      EXPECT_EQ(Score(draws, s, "DCC*657"), (Tally{0, 4})) << play;
    }
  }
}

TEST(ScoreCandidate, ThreeStarRules) {
  // 后三复式 accepts equal digits; 后三直选复式 judges in position order.
  SearchSettings s{SearchKind::ThreeStar, 4, 1, 0, kPlayThreeStarGroup};
  EXPECT_EQ(Score(Draws({"38149", "00333"}), s, "DCC*657"), (Tally{1, 0}));
  EXPECT_EQ(Score(Draws({"38149", "00335"}), s, "DCC*657"), (Tally{0, 1}));
  // Straight: S1 = 3140, S2 from companion 3 (CEE+741), S3 from the
  // companion of S2's first digit.
  s.play = kPlayThreeStarStraight;
  const auto s1 = plan::EvaluateFormula("38149", 4, "DCC*657").prediction;
  const auto s2 = plan::EvaluateFormula("38149", 4, plan::CompanionFormula(s1)).prediction;
  const auto s3 = plan::EvaluateFormula("38149", 4, plan::CompanionFormula(s2)).prediction;
  const std::string hit = std::string("00") + s1[1] + s2[1] + s3[1];
  EXPECT_EQ(Score(Draws({"38149", hit.c_str()}), s, "DCC*657"), (Tally{1, 0}));
  std::string shifted = std::string("00") + s3[1] + s1[1] + s2[1];
  if (!(s1.contains(shifted[2]) && s2.contains(shifted[3]) && s3.contains(shifted[4]))) {
    EXPECT_EQ(Score(Draws({"38149", shifted.c_str()}), s, "DCC*657"), (Tally{0, 1}));
  }
}

TEST(ScoreCandidate, EmptyCandidatesAreSkippedByThreeStarOnly) {
  const auto draws = Draws({"38149", "12345", "67890", "13579"});
  EXPECT_EQ(Score(draws, {SearchKind::ThreeStar, 5, 1, 0, kPlayThreeStarGroup}, ""), (Tally{0, 0}));
  const Tally position = Score(draws, {SearchKind::Position, 5, 1, 5, kPlayDigits}, "");
  EXPECT_EQ(position.hits + position.misses, 3);
  const Tally twoStar = Score(draws, {SearchKind::TwoStar, 5, 1, 0, kPlayTwoStarGroup}, "");
  EXPECT_EQ(twoStar.hits + twoStar.misses, 3);
}

TEST(ScoreCandidate, NoPeriodsMakesEveryPlanAMissOnce) {
  const auto draws = Draws({"38149", "12345", "67890"});
  EXPECT_EQ(Score(draws, {SearchKind::Position, 5, 0, 5, kPlayDigits}, "DCC*657"), (Tally{0, 3}));
  EXPECT_EQ(Score({}, {SearchKind::Position, 5, 3, 5, kPlayDigits}, "DCC*657"), (Tally{0, 0}));
}

TEST(ScoreCandidate, CommaSeparatedDrawsTakeThePlainPath) {
  auto draws = Draws({"38149", "1,2,3,4,1"});
  const SearchSettings s{SearchKind::Position, 5, 1, 5, kPlayDigits};
  EXPECT_FALSE(SearchSource(draws).values().has_value());
  EXPECT_EQ(ScoreCandidate(SearchSource(draws), s, "DCC*657"), (Tally{1, 0}));
}

// The fast replay, the plain one and the plain one through the literal
// reference evaluation score every kind and play alike.
TEST(ScoreCandidate, FastPlainAndReferenceAgree) {
  std::mt19937 random(7);
  const char* formulas[] = {"DCC*657",  "CED-762", "AB",          "E",
                            "",         "123",     "ABCDE*99999", "AABBCCDDEE+123456789",
                            "dDCC*657", "EEA+354 "};
  for (int round = 0; round < 60; ++round) {
    std::vector<plan::Draw> draws;
    const int n = static_cast<int>(random() % 40);
    for (int i = 0; i < n; ++i) {
      char digits[6];
      std::snprintf(digits, sizeof digits, "%05u", static_cast<unsigned>(random() % 100000));
      draws.push_back({"x", digits});
    }
    const SearchSource source(draws);
    for (auto kind : {SearchKind::Position, SearchKind::TwoStar, SearchKind::ThreeStar}) {
      const int plays = kind == SearchKind::Position ? 4 : 14;
      SearchSettings s{kind, static_cast<int>(random() % 10), static_cast<int>(random() % 11),
                       static_cast<int>(random() % 6), static_cast<int>(random() % plays)};
      if (kind == SearchKind::ThreeStar) s.play = 10 + static_cast<int>(random() % 2);
      for (const char* f : formulas) {
        const Tally fast = ScoreCandidate(source, s, f);
        ASSERT_EQ(fast, ScoreCandidatePlain(draws, s, f)) << f;
        ASSERT_EQ(fast, ScoreCandidatePlain(draws, s, f, &plan::ReferenceEvaluateFormula)) << f;
      }
    }
  }
}

}  // namespace
}  // namespace search
