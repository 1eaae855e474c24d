#include "plan/formula.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "plan/digits_only.h"
#include "plan/pattern_matcher.h"
#include "plan/reference_formula.h"

namespace plan {
namespace {

struct EvaluationCase {
  std::string draw;
  std::string formula;
  int codeCount;
  std::string valueDigits;
  std::string prediction;
};

using Evaluator = Evaluation (*)(std::string_view, int, std::string_view);

// Each test runs on both paths: the one this machine picks and the portable
// one every machine has.
class FormulaEvaluation : public testing::TestWithParam<Evaluator> {
 protected:
  Evaluation Evaluate(std::string_view draw, int codeCount, std::string_view formula) const {
    return GetParam()(draw, codeCount, formula);
  }
};

INSTANTIATE_TEST_SUITE_P(Paths, FormulaEvaluation,
                         testing::Values(EvaluateFormula, EvaluateFormulaPortably),
                         [](const testing::TestParamInfo<Evaluator>& path) {
                           return path.index == 0 ? "Fastest" : "Portable";
                         });

TEST_P(FormulaEvaluation, PredictionIsTheValuesDistinctDigitsThenTheFill) {
  const EvaluationCase cases[] = {
      {"38149", "DCC*657", 5, "31408605786", "31408"},
      {"38149", "DCC*657", 9, "31408605786", "314086572"},
      {"00000", "AAD*868", 5, "0", "01765"},
      // 2396413804260228 is written 2.39641380426e+015.
      {"38149", "31408605786", 5, "239641380426015", "23964"},
  };
  for (const auto& c : cases) {
    Evaluation e = Evaluate(c.draw, c.codeCount, c.formula);
    EXPECT_EQ(e.valueDigits.str(), c.valueDigits) << c.draw << " " << c.formula;
    EXPECT_EQ(e.prediction.str(), c.prediction) << c.draw << " " << c.formula;
  }
}

TEST_P(FormulaEvaluation, OnlyUpperCaseLettersAndDigitsCount) {
  for (std::string draw : {"38149", "52917", "00001", "99999"}) {
    std::string expected = Evaluate(draw, 7, "DCC*657").prediction.str();
    for (std::string formula : {"DCC657", "dDCC*657", "D C C * 6 5 7", "D中C文C657"}) {
      EXPECT_EQ(Evaluate(draw, 7, formula).prediction.str(), expected) << formula;
    }
  }
}

TEST_P(FormulaEvaluation, LiteralFormulaStillDependsOnTheDraw) {
  EXPECT_EQ(Evaluate("00001", 10, "657").valueDigits.str(), "1314");
  EXPECT_EQ(Evaluate("00002", 10, "657").valueDigits.str(), "2628");
}

TEST_P(FormulaEvaluation, CodeCountBeyondTenGivesAllTenDigits) {
  auto e = Evaluate("38149", 11, "DCC*657");
  EXPECT_EQ(e.prediction.size(), 10u);
  EXPECT_EQ(SortDigits(e.prediction.view()), "0123456789");
  EXPECT_TRUE(Evaluate("38149", 0, "DCC*657").prediction.empty());
}

TEST_P(FormulaEvaluation, DrawNotFiveCharactersDropsTheLetters) {
  // Only the literal 657 and the number the draw text denotes (12) remain.
  auto e = Evaluate("12", 5, "DCC*657");
  EXPECT_EQ(e.valueDigits.str(), "15768");
  EXPECT_EQ(Evaluate("", 3, "DCC*657").valueDigits.str(), "0");
}

TEST_P(FormulaEvaluation, ExponentWrittenWithThreeDigits) {
  // 9999999999999 * 99999 * 2 = 1999979999999800002 -> 1.99998e+018
  auto e = Evaluate("99999", 10, "9999999999999");
  EXPECT_EQ(e.valueDigits.str(), "199998018");
  // A value past 2^64 goes through printf: 1e+25 -> digits 1 and 025.
  EXPECT_EQ(Evaluate("50000", 3, "100000000000000000000").valueDigits.str(), "1025");
}

TEST_P(FormulaEvaluation, TiesRoundToEvenLikePrintf) {
  // Exact values whose dropped digits are exactly half: 10000000000005000
  // keeps its even 13th digit, 10000000000015000 rounds its odd one up.
  EXPECT_EQ(Evaluate("00001", 10, "5000000000002500").valueDigits.str(), "1016");
  EXPECT_EQ(Evaluate("00001", 10, "5000000000007500").valueDigits.str(), "1000000000002016");
  for (std::string formula : {"5000000000002500", "5000000000007500"}) {
    EXPECT_EQ(Evaluate("00001", 10, formula).valueDigits.str(),
              ReferenceEvaluateFormula("00001", 10, formula).valueDigits.str());
  }
}

TEST_P(FormulaEvaluation, NineteenAndTwentyDigitFormulasAgreeWithReference) {
  for (std::string formula : {"9999999999999999999", "99999999999999999999", "1000000000000000000",
                              "10000000000000000000", "000000000000000000000123",
                              "ABCDE99999999999999", "ABCDE999999999999999"}) {
    for (std::string draw : {"38149", "00001", "99999"}) {
      Evaluation fast = Evaluate(draw, 10, formula);
      Evaluation slow = ReferenceEvaluateFormula(draw, 10, formula);
      EXPECT_EQ(fast.valueDigits.str(), slow.valueDigits.str()) << draw << " " << formula;
      EXPECT_EQ(fast.prediction.str(), slow.prediction.str()) << draw << " " << formula;
    }
  }
}

// The fast evaluation must agree with the step-by-step one everywhere,
// including values past 2^53 and the exponent form.
TEST_P(FormulaEvaluation, AgreesWithReferenceOnRandomFormulas) {
  std::mt19937 random(20140301);
  const std::string alphabet = "ABCDE0123456789*+- ab";
  for (int i = 0; i < 20000; ++i) {
    std::string draw;
    for (int k = 0; k < 5; ++k) draw.push_back(static_cast<char>('0' + random() % 10));
    std::string formula;
    int length = 1 + static_cast<int>(random() % 24);
    for (int k = 0; k < length; ++k) formula.push_back(alphabet[random() % alphabet.size()]);
    int n = static_cast<int>(random() % 12);
    Evaluation fast = Evaluate(draw, n, formula);
    Evaluation slow = ReferenceEvaluateFormula(draw, n, formula);
    ASSERT_EQ(fast.valueDigits.str(), slow.valueDigits.str()) << draw << " " << formula;
    ASSERT_EQ(fast.prediction.str(), slow.prediction.str()) << draw << " " << formula;
    // The position plan's second evaluation takes the value digits as formula.
    Evaluation fast2 = Evaluate(draw, 5, fast.valueDigits.view());
    Evaluation slow2 = ReferenceEvaluateFormula(draw, 5, slow.valueDigits.view());
    ASSERT_EQ(fast2.valueDigits.str(), slow2.valueDigits.str()) << draw << " " << formula;
    ASSERT_EQ(fast2.prediction.str(), slow2.prediction.str()) << draw << " " << formula;
  }
}

// Values on both sides of the places where the evaluation changes method:
// 2^53 (doubles stop being exact integers), 10^13 (the exponent form), 2^63
// and 2^64 (integer conversion), 10^19 and 10^20 digits in the formula.
TEST_P(FormulaEvaluation, AgreesWithReferenceAroundValueBoundaries) {
  const double targets[] = {9007199254740992.0, 1e13, 1e16, 9223372036854775808.0,
                            18446744073709551616.0};
  std::mt19937 random(1453);
  for (double target : targets) {
    for (int i = 0; i < 200; ++i) {
      std::string draw;
      for (int k = 0; k < 5; ++k) draw.push_back(static_cast<char>('0' + random() % 10));
      double drawNumber = std::stod(draw);
      if (drawNumber == 0) continue;
      // A formula number whose value lands within a few units of the target.
      auto middle = static_cast<unsigned long long>(target / (2 * drawNumber));
      for (unsigned long long delta = 0; delta < 6; ++delta) {
        std::string formula = std::to_string(middle + delta - 3);
        for (int n : {5, 10}) {
          Evaluation fast = Evaluate(draw, n, formula);
          Evaluation slow = ReferenceEvaluateFormula(draw, n, formula);
          ASSERT_EQ(fast.valueDigits.str(), slow.valueDigits.str()) << draw << " " << formula;
          ASSERT_EQ(fast.prediction.str(), slow.prediction.str()) << draw << " " << formula;
        }
      }
    }
  }
}

TEST_P(FormulaEvaluation, ProductsHalfwayBetweenDoublesRoundToEven) {
  // M * N2 lies exactly halfway between two doubles above 2^53, with one to
  // nine bits beyond the 53 kept: the double product rounds to the even one.
  const std::pair<std::string, std::string> cases[] = {
      {"81647", "116718463007"},  {"61033", "361985711782"},   {"48733", "1302306385740"},
      {"71273", "1037525209000"}, {"95839", "2731212135408"},  {"36635", "10379035538272"},
      {"99869", "6602573419456"}, {"50231", "23942572139392"}, {"91283", "34595254517504"},
  };
  for (const auto& [draw, formula] : cases) {
    EXPECT_EQ(Evaluate(draw, 10, formula).valueDigits.str(),
              ReferenceEvaluateFormula(draw, 10, formula).valueDigits.str())
        << draw << " " << formula;
  }
}

TEST_P(FormulaEvaluation, DoubleRoundingOfTheProductShowsInTheThirteenthDigit) {
  // M * N2 * 2 exactly and as doubles round to different 13-digit texts
  // (exactly 637012375898850000 from 63000 * 5055653776975 * 2, which is
  // 6.370123758988e+17, becomes 637012375898850048 in double precision).
  struct Case {
    std::string draw, formula, valueDigits;
  };
  const Case cases[] = {
      {"63000", "5055653776975", "6370123758989017"},
      {"40548", "4032116908604", "3269885528202017"},
      {"70573", "6006964603377", "8478590259082017"},
      {"72465", "4095507967357", "593561969709017"},
      {"89731", "390136783671", "7001472747116016"},
  };
  for (const auto& c : cases) {
    Evaluation fast = Evaluate(c.draw, 10, c.formula);
    Evaluation slow = ReferenceEvaluateFormula(c.draw, 10, c.formula);
    EXPECT_EQ(fast.valueDigits.str(), c.valueDigits) << c.draw << " " << c.formula;
    EXPECT_EQ(fast.valueDigits.str(), slow.valueDigits.str()) << c.draw << " " << c.formula;
    EXPECT_EQ(fast.prediction.str(), slow.prediction.str()) << c.draw << " " << c.formula;
  }
}

TEST_P(FormulaEvaluation, DigitFormulasOfEveryLengthAgreeWithReference) {
  // Digit-only formulas are read eight characters at a time; one letter or
  // neighbour of the digits in the code table anywhere sends them the long way.
  std::mt19937 random(16);
  for (std::size_t length = 1; length <= 20; ++length) {
    for (int round = 0; round < 20; ++round) {
      std::string digits;
      for (std::size_t k = 0; k < length; ++k)
        digits.push_back(static_cast<char>('0' + random() % 10));
      std::vector<std::string> formulas = {digits};
      for (char odd : {'/', ':', 'C'}) {
        std::string formula = digits;
        formula[random() % length] = odd;
        formulas.push_back(formula);
      }
      std::string draw = std::to_string(10000 + random() % 90000);
      for (const auto& formula : formulas) {
        Evaluation fast = Evaluate(draw, 6, formula);
        Evaluation slow = ReferenceEvaluateFormula(draw, 6, formula);
        ASSERT_EQ(fast.valueDigits.str(), slow.valueDigits.str()) << draw << " " << formula;
        ASSERT_EQ(fast.prediction.str(), slow.prediction.str()) << draw << " " << formula;
      }
    }
  }
}

TEST_P(FormulaEvaluation, FiveCharacterDrawsWithNonDigitsAgreeWithReference) {
  // Characters next to the digits in the code table, a sign, an exponent,
  // blanks and bytes above 0x7F: only digit characters replace letters, and
  // N2 is what atof reads.
  for (std::string draw :
       {"/3814", "3814:", "38/49", "38:49", "-1234", "+1234", " 1234", "1e308", "12.45", "12a45",
        "\xff"
        "1234",
        "0x1A2",
        "\xb0\xa1"
        "123",
        "99999"}) {
    for (std::string formula : {"DCC*657", "ABCDE", "657", "EEEEEEEEEEEEEEEEEEEEE"}) {
      Evaluation fast = Evaluate(draw, 10, formula);
      Evaluation slow = ReferenceEvaluateFormula(draw, 10, formula);
      EXPECT_EQ(fast.valueDigits.str(), slow.valueDigits.str()) << draw << " " << formula;
      EXPECT_EQ(fast.prediction.str(), slow.prediction.str()) << draw << " " << formula;
    }
  }
}

TEST(CompanionFormula, ChosenByFirstDigit) {
  EXPECT_EQ(CompanionFormula("31408657"), "CEE+741");
  EXPECT_EQ(CompanionFormula("15239807"), "DCC*657");
  EXPECT_EQ(CompanionFormula("0123"), "DCC*657");
  EXPECT_EQ(CompanionFormula(""), "DCC*657");
  EXPECT_EQ(CompanionFormula("4"), "DDE*241 ");
  EXPECT_EQ(CompanionFormula("9"), "ECC-733");
}

TEST(SortDigits, SortsAndReadsNonDigitsAsZero) {
  EXPECT_EQ(SortDigits("31408"), "01348");
  EXPECT_EQ(SortDigits("a3"), "03");
  EXPECT_EQ(SortDigits(""), "");
}

// Every character against every length of texts filling both words, with
// characters kept past the length by a shrink.
TEST(Digits, ContainsSeesOnlyTheCharactersWithinItsLength) {
  // sv literals keep their whole length: the last text holds a NUL.
  using namespace std::string_view_literals;
  for (std::string_view text : {"0123456789012345"sv, "9988776655443322"sv, "0101010101010101"sv,
                                "\x01\x00\xff\x80"
                                "0123456789ab"sv}) {
    for (std::size_t size = 0; size <= text.size(); ++size) {
      Digits digits(text);
      digits.resize(size);
      const std::string_view within = text.substr(0, size);
      for (int c = 0; c < 256; ++c) {
        const char character = static_cast<char>(c);
        ASSERT_EQ(digits.contains(character), within.find(character) != std::string_view::npos)
            << "text " << text << ", size " << size << ", character " << c;
      }
    }
  }
}

TEST(DigitsOnly, KeepsAsciiDigitsOnly) {
  const std::pair<std::string, std::string> cases[] = {
      {"20140301-023", "20140301023"},
      {" \"3,8,1,4,9\" ", "38149"},
      {"", ""},
      {"１２3", "3"},  // full-width digits are dropped
  };
  for (const auto& [text, digits] : cases) {
    EXPECT_EQ(DigitsOnly(text), digits) << text;
    EXPECT_EQ(ReferenceDigitsOnly(text), digits) << text;
  }
}

TEST(PatternMatcher, NoMatchIsStillSuccess) {
  PatternMatcher matcher;
  EXPECT_TRUE(matcher.Execute("[0-9]", "abc"));
  EXPECT_EQ(matcher.MatchCount(), 0);
  EXPECT_EQ(matcher.SubMatchCount(), 0);
}

TEST(PatternMatcher, GroupsByNumber) {
  PatternMatcher matcher;
  ASSERT_TRUE(matcher.Execute("(x)(y)", "--xy--"));
  EXPECT_EQ(matcher.MatchCount(), 1);
  EXPECT_EQ(matcher.SubMatchText(1, 2), "y");
  EXPECT_EQ(matcher.SubMatchCount(), 2);
  int position = -1;
  EXPECT_EQ(matcher.MatchText(1, &position), "xy");
  EXPECT_EQ(position, 2);
  EXPECT_EQ(matcher.Pattern(), "(x)(y)");
}

TEST(PatternMatcher, InvalidPatternFails) {
  PatternMatcher matcher;
  EXPECT_FALSE(matcher.Execute("([0-9]", "123"));
  EXPECT_EQ(matcher.MatchCount(), 0);
  EXPECT_EQ(matcher.Pattern(), "");
}

TEST(PatternMatcher, SettingsAndReplace) {
  PatternMatcher matcher;
  ASSERT_TRUE(matcher.Execute("ab", "AB ab"));  // case-insensitive by default
  EXPECT_EQ(matcher.MatchCount(), 2);
  ASSERT_TRUE(matcher.Execute("ab", "AB ab", true));
  EXPECT_EQ(matcher.MatchCount(), 1);
  ASSERT_TRUE(matcher.Execute("^x", "x\nx"));  // multiline by default
  EXPECT_EQ(matcher.MatchCount(), 2);
  ASSERT_TRUE(matcher.Execute("^x", "x\nx", false, false));
  EXPECT_EQ(matcher.MatchCount(), 1);
  ASSERT_TRUE(matcher.Execute("a.b", "a\nb"));  // a dot never matches a line end
  EXPECT_EQ(matcher.MatchCount(), 0);
  ASSERT_TRUE(matcher.Execute("[0-9]", "a1b2", false, true, false));
  EXPECT_EQ(matcher.MatchCount(), 1);
  EXPECT_EQ(matcher.Replace("#"), "a#b2");
  ASSERT_TRUE(matcher.Execute("([0-9])", "a1b2"));
  EXPECT_EQ(matcher.Replace("<$1>"), "a<1>b<2>");
}

TEST(PatternMatcher, CopySharesMatchesAndOutlivesOriginal) {
  auto original = std::make_unique<PatternMatcher>();
  ASSERT_TRUE(original->Execute("[0-9]+", "ab 123 cd 45"));
  PatternMatcher copy = *original;
  original.reset();
  EXPECT_EQ(copy.MatchCount(), 2);
  EXPECT_EQ(copy.MatchText(2), "45");
}

}  // namespace
}  // namespace plan
