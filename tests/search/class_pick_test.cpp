#include "search/class_pick.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "plan/formula.h"
#include "plan/plan_settings.h"

namespace search {
namespace {

// The class as the plan engine gives it: the second evaluation's formula is
// the first value's digits, its prediction of five digits picks the class.
std::uint32_t EngineClass(int play, std::uint64_t firstValue, std::uint32_t drawNumber) {
  char draw[6];
  std::snprintf(draw, sizeof draw, "%05u", drawNumber);
  const plan::Digits p = plan::EvaluateFormula(draw, 5, std::to_string(firstValue)).prediction;
  auto at = [&](std::size_t i) { return i < p.size() ? unsigned(p[i] - '0') : 0u; };
  return plan::ClassOfMethod(play, at(0), at(2), at(3)).mask;
}

// The largest number of a formula whose first value stays below 10^13.
constexpr std::uint32_t kLargestNumber = 50000000;

// Whether rounding the second value to 13 digits carries into its top eight
// digits (its digits 9 to 13 are 99999 and what follows rounds up).
bool Carries(std::uint32_t formulaNumber, std::uint32_t drawNumber) {
  const double first = double(formulaNumber) * drawNumber * 2;
  const auto second = static_cast<std::uint64_t>(first * drawNumber * 2);
  int length = 1;
  std::uint64_t power = 10;
  for (; length < 19 && second >= power; power *= 10) ++length;
  if (length < 14) return false;
  std::uint64_t unit = 1, half = 5;
  for (int k = 0; k < length - 8; ++k) unit *= 10;
  for (int k = 0; k < length - 14; ++k) half *= 10;
  return second % unit >= unit - half;
}

// Formula and draw numbers of every kind: random ones of every size; a few
// dozen whose second value's rounding carries into its top eight digits,
// found by trying; few distinct digits, and zero.
struct Cases {
  std::vector<std::uint32_t> formulaNumbers;
  std::vector<std::uint32_t> drawNumbers;
  void Add(std::uint32_t formulaNumber, std::uint32_t drawNumber) {
    formulaNumbers.push_back(formulaNumber);
    drawNumbers.push_back(drawNumber);
  }
};

Cases MakeCases() {
  Cases cases;
  std::mt19937 random(11);
  for (int i = 0; i < 100000; ++i) {
    const std::uint32_t number = random() % (1u << (random() % 26));
    cases.Add(std::min(number, kLargestNumber), random() % 100000);
  }
  for (int found = 0; found < 40;) {
    const std::uint32_t number = 1000000 + random() % (kLargestNumber - 1000000);
    const std::uint32_t drawNumber = 1000 + random() % 99000;
    if (!Carries(number, drawNumber)) continue;
    cases.Add(number, drawNumber);
    ++found;
  }
  for (std::uint32_t number : {0u, 1u, 5u, 11111u, 1212121u, 2500000u, kLargestNumber}) {
    for (std::uint32_t drawNumber : {0u, 1u, 2u, 4u, 5u, 11111u, 50000u, 99999u})
      cases.Add(number, drawNumber);
  }
  return cases;
}

// One base at a time and in blocks, on every instruction set the machine has.
TEST(ClassPicker, AgreesWithThePlanEngine) {
  const Cases cases = MakeCases();
  const std::size_t n = cases.formulaNumbers.size();
  for (int play : {plan::kMethodBigSmall, plan::kMethodOddEven, plan::kMethodBoth}) {
    for (LaneIsa isa : {LaneIsa::Baseline, LaneIsa::Avx2, LaneIsa::Avx512}) {
      if (!LaneIsaSupported(isa)) continue;
      const ClassPicker picker(play, isa);
      // Whole vectors are read and written past the last case.
      std::vector<std::uint32_t> formulaNumbers = cases.formulaNumbers;
      std::vector<std::uint32_t> drawNumbers = cases.drawNumbers;
      formulaNumbers.resize(n + kClassPadding);
      drawNumbers.resize(n + kClassPadding);
      std::vector<std::uint32_t> masks(n + kClassPadding);
      picker.Masks(formulaNumbers.data(), drawNumbers.data(), n, masks.data());
      for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t drawNumber = cases.drawNumbers[i];
        const std::uint64_t firstValue = std::uint64_t{cases.formulaNumbers[i]} * 2 * drawNumber;
        const std::uint32_t expected = EngineClass(play, firstValue, drawNumber);
        ASSERT_EQ(masks[i], expected) << firstValue << " x " << drawNumber << ", play " << play
                                      << ", isa " << static_cast<int>(isa);
        ASSERT_EQ(picker.Mask(firstValue, drawNumber), expected)
            << firstValue << " x " << drawNumber;
      }
    }
  }
}

}  // namespace
}  // namespace search
