#include "search/candidate_score.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>

#include "plan/reference_formula.h"

namespace search {
namespace {

std::vector<lottery::Draw> Draws(std::initializer_list<const char*> digits) {
  std::vector<lottery::Draw> draws;
  int sequence = 1;
  for (const char* d : digits) {
    draws.push_back({"20140301-" + std::to_string(1000 + sequence++).substr(1), d});
  }
  return draws;
}

Tally Score(const std::vector<lottery::Draw>& draws, const SearchSettings& settings,
            std::string_view formula) {
  const Tally fast = CandidateScorer(SearchSource(draws), settings).Score(formula);
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

struct FastEvaluation {
  std::string prediction;
  std::uint64_t valueNumber;
};
FastEvaluation EvaluateFast(std::uint64_t formulaNumber, std::uint32_t drawNumber, int m) {
  const ValueText text = MakeValueText(formulaNumber, drawNumber);
  return {Digits(Predict(text, m)), text.Number()};
}

TEST(FastFormula, ValuesPredictionsAndRefusedInputs) {
  const DrawValue base = *ParseDrawValue("38149");
  const std::uint64_t number = FastFormula::Compile("DCC*657")->Number(base);
  const FastEvaluation first = EvaluateFast(number, base.number, 5);
  EXPECT_EQ(first.prediction, "31408");
  EXPECT_EQ(first.valueNumber, 31408605786u);
  EXPECT_EQ(EvaluateFast(number, base.number, 9).prediction, "314086572");
  // The value digits as the formula of a second evaluation: printf's
  // exponent enters the text in three digits.
  const FastEvaluation second = EvaluateFast(first.valueNumber, base.number, 5);
  EXPECT_EQ(second.prediction, "23964");
  EXPECT_EQ(second.valueNumber, 239641380426015u);
  EXPECT_EQ(Predict(MakeValueText(number, base.number), 4).mask, 0b11011u);  // 0 1 3 4

  const DrawValue zeros = *ParseDrawValue("00000");
  EXPECT_EQ(EvaluateFast(FastFormula::Compile("AAD*868")->Number(zeros), 0, 5).prediction, "01765");
  EXPECT_EQ(EvaluateFast(1, 1, 11).prediction.size(), 10u);
  EXPECT_EQ(EvaluateFast(1, 1, 0).prediction, "");
  EXPECT_EQ(Predict(MakeValueText(1, 1), -3).mask, 0u);
  EXPECT_FALSE(FastFormula::Compile("ABCDEABCDEABCDEABCDE").has_value());  // 20 places
  EXPECT_FALSE(ParseDrawValue("1234").has_value());
  EXPECT_FALSE(ParseDrawValue("1,2,3").has_value());
}

// Every way to the value text: exact below 10^13, exact below 2^53 with
// rounding, through double below 2^64, and wider.
TEST(FastFormula, ValueTextAtItsBoundaries) {
  const struct {
    std::uint64_t formula;
    std::uint32_t draw;
  } cases[] = {{0, 0},
               {5, 1},                 // 10
               {49999999, 1},          // 99999998: one part
               {50000000, 1},          // 10^8: two parts, the low one all zeros
               {50000, 1000},          // 10^8 again
               {500000000, 1},         // 10^9
               {4999999999999ULL, 1},  // 9999999999998
               {5000000000000ULL, 1},  // 10^13
               {2500000000000ULL, 2},  // 10^13 again, through the draw
               {1234567890123ULL, 7},
               {4503599627370495ULL, 1},  // 2^53 - 2
               {4503599627370496ULL, 1},  // 2^53
               {45035996273704961ULL, 1},
               {9223372036854775807ULL, 1},  // just below 2^64
               {9223372036854775808ULL, 1},  // 2^64
               {9999999999999999999ULL, 99999},
               {1000000000000000000ULL, 5},
               {500000000000050000ULL, 1},  // a tie of the 13-digit rounding
               {500000000000150000ULL, 1}};
  for (const auto& c : cases) {
    char draw[6];
    std::snprintf(draw, sizeof draw, "%05u", c.draw);
    const std::string formula = std::to_string(c.formula);
    const plan::Evaluation slow = plan::EvaluateFormula(draw, 10, formula);
    const FastEvaluation fast = EvaluateFast(c.formula, c.draw, 10);
    EXPECT_EQ(fast.prediction, slow.prediction.str()) << formula << " " << draw;
    EXPECT_EQ(std::to_string(fast.valueNumber), slow.valueDigits.str()) << formula << " " << draw;
  }
}

// The fast evaluation must agree with the plan engine on every formula it
// accepts: predictions in order, and the value digits as a number.
TEST(FastFormula, AgreesWithThePlanEngine) {
  std::mt19937 random(20140301);
  const std::string alphabet = "ABCDE0123456789*+- abe";
  std::vector<MaskPredictor> predictors;
  for (int m = 0; m < 12; ++m) predictors.emplace_back(m);
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
    ASSERT_EQ(fast.prediction, slow.prediction.str()) << draw << " " << formula << " " << m;
    ASSERT_EQ(std::to_string(fast.valueNumber), slow.valueDigits.str()) << draw << " " << formula;
    const MaskPredictor::Result mask =
        predictors[m](MakeValueText(compiled->Number(base), base.number));
    ASSERT_EQ(mask.mask, Predict(MakeValueText(compiled->Number(base), base.number), m).mask)
        << draw << " " << formula << " " << m;
    ASSERT_EQ(mask.first, m > 0 ? static_cast<unsigned>(slow.prediction[0] - '0') : 0u);
    const FastEvaluation fast2 = EvaluateFast(fast.valueNumber, base.number, 5);
    const plan::Evaluation slow2 = plan::EvaluateFormula(draw, 5, slow.valueDigits.view());
    ASSERT_EQ(fast2.prediction, slow2.prediction.str()) << draw << " " << formula;
    const LeadDigits lead = PredictLeadDigits(MakeValueText(fast.valueNumber, base.number));
    ASSERT_EQ(std::string({static_cast<char>('0' + lead.first), slow2.prediction[1],
                           static_cast<char>('0' + lead.third),
                           static_cast<char>('0' + lead.fourth), slow2.prediction[4]}),
              slow2.prediction.str());
  }
}

TEST(ScoreCandidate, StartIssueAtTheNewestDraw) {
  // Source: the draw before the start issue and the start issue itself.
  SearchSettings s{plan::PlanKind::Position, 5, 3, 5, plan::kMethodDigits};
  // 38149 with DCC*657 predicts 31408 (5 codes).
  EXPECT_EQ(Score(Draws({"38149", "00001"}), s, "DCC*657"), (Tally{1, 0}));
  EXPECT_EQ(RatePercent(Score(Draws({"38149", "00001"}), s, "DCC*657")), 100);
  EXPECT_EQ(Score(Draws({"38149", "00009"}), s, "DCC*657"), (Tally{0, 0}));  // unfinished
  s.periods = 1;
  EXPECT_EQ(Score(Draws({"38149", "00009"}), s, "DCC*657"), (Tally{0, 1}));
}

TEST(ScoreCandidate, APlanRunningPastTheNewestDrawIsNotCounted) {
  SearchSettings s{plan::PlanKind::Position, 1, 5, 5, plan::kMethodDigits};
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
  SearchSettings s{plan::PlanKind::Position, 4, 1, 5, 1};
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
  SearchSettings s{plan::PlanKind::TwoStar, 4, 1, 0, plan::kTwoStarGroup};
  EXPECT_EQ(Score(Draws({"38149", "04433"}), s, "DCC*657"), (Tally{0, 1}));
  EXPECT_EQ(Score(Draws({"38149", "04431"}), s, "DCC*657"), (Tally{1, 0}));
  EXPECT_EQ(Score(Draws({"38149", "04435"}), s, "DCC*657"), (Tally{0, 1}));  // 5 not in 3140
}

TEST(ScoreCandidate, TwoStarStraightCompanionOfZeroIsFormulaOne) {
  // An empty formula evaluates to 0, so S1 = 01765 starts with 0 and S2 comes
  // from companion formula 1, DCC*657: 31408 on 38149.
  SearchSettings s{plan::PlanKind::TwoStar, 5, 1, 0, plan::kTwoStarStraight};
  EXPECT_EQ(Score(Draws({"38149", "00003"}), s, ""), (Tally{1, 0}));
  EXPECT_EQ(Score(Draws({"38149", "00009"}), s, ""), (Tally{0, 1}));
  EXPECT_EQ(Score(Draws({"38149", "00305"}), s, ""), (Tally{0, 1}));  // 十 only in S2
}

TEST(ScoreCandidate, UnscoredPlaysNeverHit) {
  const auto draws = Draws({"38149", "31408", "31408", "31408", "31408"});
  for (auto kind : {plan::PlanKind::TwoStar, plan::PlanKind::ThreeStar}) {
    for (int play : {0, 1, 2, 7, 12, 13}) {
      SearchSettings s{kind, 9, 1, 0, play};
      EXPECT_EQ(Score(draws, s, "DCC*657"), (Tally{0, 4})) << play;
    }
  }
}

TEST(ScoreCandidate, ThreeStarRules) {
  // 后三复式 accepts equal digits; 后三直选复式 judges in position order.
  SearchSettings s{plan::PlanKind::ThreeStar, 4, 1, 0, plan::kThreeStarGroup};
  EXPECT_EQ(Score(Draws({"38149", "00333"}), s, "DCC*657"), (Tally{1, 0}));
  EXPECT_EQ(Score(Draws({"38149", "00335"}), s, "DCC*657"), (Tally{0, 1}));
  // Straight: S1 = 3140, S2 from companion 3 (CEE+741), S3 from the
  // companion of S2's first digit.
  s.play = plan::kThreeStarStraight;
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
  EXPECT_EQ(Score(draws, {plan::PlanKind::ThreeStar, 5, 1, 0, plan::kThreeStarGroup}, ""),
            (Tally{0, 0}));
  const Tally position = Score(draws, {plan::PlanKind::Position, 5, 1, 5, plan::kMethodDigits}, "");
  EXPECT_EQ(position.hits + position.misses, 3);
  const Tally twoStar = Score(draws, {plan::PlanKind::TwoStar, 5, 1, 0, plan::kTwoStarGroup}, "");
  EXPECT_EQ(twoStar.hits + twoStar.misses, 3);
}

TEST(ScoreCandidate, NoPeriodsMakesEveryPlanAMissOnce) {
  const auto draws = Draws({"38149", "12345", "67890"});
  EXPECT_EQ(Score(draws, {plan::PlanKind::Position, 5, 0, 5, plan::kMethodDigits}, "DCC*657"),
            (Tally{0, 3}));
  EXPECT_EQ(Score({}, {plan::PlanKind::Position, 5, 3, 5, plan::kMethodDigits}, "DCC*657"),
            (Tally{0, 0}));
}

TEST(ScoreCandidate, CommaSeparatedDrawsTakeThePlainPath) {
  auto draws = Draws({"38149", "1,2,3,4,1"});
  const SearchSettings s{plan::PlanKind::Position, 5, 1, 5, plan::kMethodDigits};
  EXPECT_FALSE(SearchSource(draws).values().has_value());
  EXPECT_EQ(CandidateScorer(SearchSource(draws), s).Score("DCC*657"), (Tally{1, 0}));
}

// The fast replay, the plain one and the plain one through the literal
// reference evaluation score every kind and play alike: short and long
// sources (plans near the newest draw, whole windows), few and many codes
// (completion from the fill sequences), any number of periods.
TEST(ScoreCandidate, FastPlainAndReferenceAgree) {
  std::mt19937 random(7);
  const char* formulas[] = {"DCC*657",  "CED-762", "AB",          "E",
                            "",         "123",     "ABCDE*99999", "AABBCCDDEE+123456789",
                            "dDCC*657", "EEA+354 "};
  const struct {
    plan::PlanKind kind;
    int play;
  } plays[] = {{plan::PlanKind::Position, 0},
               {plan::PlanKind::Position, 1},
               {plan::PlanKind::Position, 2},
               {plan::PlanKind::Position, 3},
               {plan::PlanKind::TwoStar, plan::kTwoStarGroup},
               {plan::PlanKind::TwoStar, plan::kTwoStarStraight},
               {plan::PlanKind::TwoStar, 3},
               {plan::PlanKind::ThreeStar, plan::kThreeStarGroup},
               {plan::PlanKind::ThreeStar, plan::kThreeStarStraight},
               {plan::PlanKind::ThreeStar, 16}};
  for (int round = 0; round < 40; ++round) {
    std::vector<lottery::Draw> draws;
    const int n = static_cast<int>(random() % (round % 2 ? 90 : 12));
    for (int i = 0; i < n; ++i) {
      char digits[6];
      std::snprintf(digits, sizeof digits, "%05u", static_cast<unsigned>(random() % 100000));
      draws.push_back({"x", digits});
    }
    const SearchSource source(draws);
    for (const auto& play : plays) {
      const int periods = round == 5 ? 17 : static_cast<int>(random() % 11);
      const SearchSettings s{play.kind, static_cast<int>(random() % 12), periods,
                             static_cast<int>(random() % 6), play.play};
      const CandidateScorer scorer(source, s);
      for (const char* f : formulas) {
        const Tally fast = scorer.Score(f);
        ASSERT_EQ(fast, ScoreCandidatePlain(draws, s, f)) << f;
        ASSERT_EQ(fast, ScoreCandidatePlain(draws, s, f, &plan::ReferenceEvaluateFormula)) << f;
      }
    }
  }
}

// The runs come from the very replay the search counts, on every path: the
// lane-wide one, the one plan at a time (class plays, long formulas) and the
// plain one (a draw that is not five digits).
TEST(ScoreCandidate, StreaksComeFromTheSearchesReplay) {
  std::mt19937 random(3);
  std::vector<lottery::Draw> draws;
  for (int i = 0; i < 3000; ++i) {
    char digits[6];
    std::snprintf(digits, sizeof digits, "%05u", static_cast<unsigned>(random() % 100000));
    draws.push_back({"x", digits});
  }
  auto comma = draws;
  comma.resize(400);
  comma[7].code = "1,2,3,4,5";
  const std::atomic<bool> go{false};
  for (const auto& source : {draws, comma}) {
    for (const SearchSettings& s : {SearchSettings{plan::PlanKind::Position, 5, 3, 5, 0},
                                    SearchSettings{plan::PlanKind::Position, 4, 2, 1, 3},
                                    SearchSettings{plan::PlanKind::TwoStar, 8, 3, 0, 8},
                                    SearchSettings{plan::PlanKind::ThreeStar, 8, 3, 0, 11}}) {
      const CandidateScorer scorer(SearchSource(source), s);
      for (const char* f : {"DCC*657", "AABBCCDDEE+123456789", "", "E"}) {
        const auto streaks = scorer.ScoreStreaks(f, go);
        ASSERT_TRUE(streaks.has_value());
        EXPECT_EQ(streaks->tally, scorer.Score(f)) << f;
      }
    }
  }
}

TEST(ScoreCandidate, AStopEndsALongReplayUnfinished) {
  std::vector<lottery::Draw> draws(20000, lottery::Draw{"x", "38149"});
  const std::atomic<bool> stop{true};
  for (const auto& source : {draws, [&] {
                               auto comma = draws;
                               comma[0].code = "3,8,1,4,9";
                               return comma;
                             }()}) {
    for (int play : {0, 1}) {
      const CandidateScorer scorer(SearchSource(source),
                                   SearchSettings{plan::PlanKind::Position, 5, 1, 5, play});
      EXPECT_FALSE(scorer.ScoreStreaks("DCC*657", stop).has_value()) << play;
    }
  }
}

}  // namespace
}  // namespace search
