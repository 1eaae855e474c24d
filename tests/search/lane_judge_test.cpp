#include "search/lane_judge.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "search/value_text.h"

namespace search {
namespace {

std::vector<LaneIsa> SupportedIsas() {
  std::vector<LaneIsa> isas;
  for (LaneIsa isa : {LaneIsa::Baseline, LaneIsa::Avx2, LaneIsa::Avx512}) {
    if (LaneIsaSupported(isa)) isas.push_back(isa);
  }
  return isas;
}

const char* IsaName(LaneIsa isa) {
  return isa == LaneIsa::Avx512 ? "avx512" : isa == LaneIsa::Avx2 ? "avx2" : "baseline";
}

// Draws with every kind of value text: zeros, tiny numbers, random ones.
std::vector<DrawValue> Draws(std::mt19937& random, int n) {
  std::vector<DrawValue> draws;
  for (const char* d : {"00000", "00001", "10000", "00010", "99999", "50000"}) {
    draws.push_back(*ParseDrawValue(d));
  }
  while (static_cast<int>(draws.size()) < n) {
    char digits[6];
    std::snprintf(digits, sizeof digits, "%05u", static_cast<unsigned>(random() % 100000));
    draws.push_back(*ParseDrawValue(digits));
  }
  return draws;
}

// Formulas whose values run from 0 to just below 10^13.
std::vector<std::string> Formulas(std::mt19937& random) {
  std::vector<std::string> formulas = {"",        "0",        "1",    "7",        "E",
                                       "DCC*657", "ABC",      "AAAA", "50000500", "EEEEE*9",
                                       "A0B0C0",  "12345678", "B"};
  const std::string alphabet = "ABCDE0123456789*+-";
  while (formulas.size() < 80) {
    std::string f;
    const int length = 1 + static_cast<int>(random() % 8);
    for (int c = 0; c < length; ++c) f += alphabet[random() % alphabet.size()];
    formulas.push_back(f);
  }
  return formulas;
}

// Every kernel gives each base the code set and first code of the scalar
// prediction: values printed in full or with leading zeros, texts with too
// few distinct digits, any code count, any start and length of the bases.
TEST(SearchLanes, PredictsAsTheScalarPredictor) {
  std::mt19937 random(20140301);
  const auto draws = Draws(random, 300);
  const auto formulas = Formulas(random);
  for (LaneIsa isa : SupportedIsas()) {
    for (int m : {-1, 0, 1, 3, 5, 8, 10, 12}) {
      const LaneJudge lanes(draws, m, isa);
      const MaskPredictor predict(m);
      for (const auto& text : formulas) {
        const auto formula = FastFormula::Compile(text);
        const auto laneFormula = LaneFormula::From(*formula);
        ASSERT_TRUE(laneFormula.has_value()) << text;
        const std::size_t begin = random() % 40, count = 1 + random() % (draws.size() - begin);
        std::vector<std::uint32_t> masks(count + kLaneSlack), first(count + kLaneSlack);
        lanes.Predict(*laneFormula, begin, count, masks.data(), first.data());
        for (std::size_t i = 0; i < count; ++i) {
          const DrawValue& d = draws[begin + i];
          const auto expected = predict(MakeValueText(formula->Number(d), d.number));
          ASSERT_EQ(masks[i], expected.mask) << IsaName(isa) << " " << text << " m" << m;
          ASSERT_EQ(first[i], m > 0 ? expected.first : 0u) << IsaName(isa) << " " << text;
        }
      }
    }
  }
}

TEST(SearchLanes, TakesFormulasWhoseValuesStayBelowTenToTheThirteen) {
  // 50000500 x 99999 x 2 is just below 10^13; one more is not.
  EXPECT_TRUE(LaneFormula::From(*FastFormula::Compile("50000500")).has_value());
  EXPECT_FALSE(LaneFormula::From(*FastFormula::Compile("50000501")).has_value());
  // A letter counts as a 9: 9 x 10^6 fits, 9 x 10^7 does not.
  EXPECT_TRUE(LaneFormula::From(*FastFormula::Compile("E000000")).has_value());
  EXPECT_FALSE(LaneFormula::From(*FastFormula::Compile("E0000000")).has_value());
  EXPECT_FALSE(LaneFormula::From(*FastFormula::Compile("ABCDEABCDE")).has_value());
  const auto lanes = LaneFormula::From(*FastFormula::Compile("DCC*657"));
  ASSERT_TRUE(lanes.has_value());
  EXPECT_EQ(lanes->constant, 657u);
  EXPECT_EQ(lanes->weights, (std::array<std::uint32_t, 5>{0, 0, 11000, 100000, 0}));
}

// The window of a plan: the first draw after the base that the mask holds
// all hit bits of, else a miss and a step of N.
TEST(SearchLanes, JudgesEachWindowByItsFirstHit) {
  std::mt19937 random(5);
  const std::vector<DrawValue> none;
  for (LaneIsa isa : SupportedIsas()) {
    const LaneJudge lanes(none, 5, isa);
    for (int periods = 1; periods <= static_cast<int>(kLaneSlack); ++periods) {
      const std::size_t count = 1 + random() % 70;
      std::vector<std::uint32_t> masks(count + kLaneSlack), after(count + 2 * kLaneSlack);
      for (auto& m : masks) m = random() & 0x3ff;
      for (auto& bits : after) bits = 1u << (random() % 10) | (random() % 4 == 0 ? 1u << 31 : 0);
      std::vector<std::uint32_t> next(count + kLaneSlack), hit(count + kLaneSlack);
      lanes.Judge(masks.data(), after.data(), count, periods, next.data(), hit.data());
      for (std::size_t i = 0; i < count; ++i) {
        std::size_t step = static_cast<std::size_t>(periods);
        bool expectedHit = false;
        for (std::size_t k = 1; k <= static_cast<std::size_t>(periods); ++k) {
          if ((after[i + k - 1] & ~masks[i]) == 0) {
            step = k;
            expectedHit = true;
            break;
          }
        }
        ASSERT_EQ(hit[i], expectedHit ? 1u : 0u) << IsaName(isa) << " " << periods << " " << i;
        ASSERT_EQ(next[i], i + step) << IsaName(isa) << " " << periods << " " << i;
      }
    }
  }
}

}  // namespace
}  // namespace search
