#include "search/class_pick.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

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

// The first value nearest to making the second one `target`.
std::uint64_t FirstValueFor(std::uint64_t target, std::uint32_t drawNumber) {
  return target / (2 * std::uint64_t{drawNumber});
}

TEST(ClassPicker, AgreesWithThePlanEngine) {
  std::mt19937_64 random(11);
  const ClassPicker pickers[] = {ClassPicker(plan::kMethodBigSmall),
                                 ClassPicker(plan::kMethodOddEven), ClassPicker(plan::kMethodBoth)};
  const int plays[] = {plan::kMethodBigSmall, plan::kMethodOddEven, plan::kMethodBoth};
  auto check = [&](std::uint64_t firstValue, std::uint32_t drawNumber) {
    for (int k = 0; k < 3; ++k) {
      ASSERT_EQ(pickers[k].Mask(firstValue, drawNumber),
                EngineClass(plays[k], firstValue, drawNumber))
          << firstValue << " x " << drawNumber << ", play " << plays[k];
    }
  };
  for (int i = 0; i < 100000; ++i) {
    const auto drawNumber = static_cast<std::uint32_t>(random() % 100000);
    // Values of every length, the first values below 10^13.
    const std::uint64_t firstValue = random() % (std::uint64_t{1} << (random() % 44));
    check(firstValue, drawNumber);
  }
  // Second values whose digits 9 to 13 are 99999: rounding to 13 digits may
  // carry into the top eight. Then ties, few distinct digits, and zero.
  for (int i = 0; i < 20000; ++i) {
    const auto drawNumber = static_cast<std::uint32_t>(1 + random() % 99999);
    const std::uint64_t top = 10000000 + random() % 90000000;
    const int below = static_cast<int>(random() % 6);  // digits after the thirteenth
    std::uint64_t target = top * 100000 + 99999;
    for (int k = 0; k < below; ++k) target = target * 10 + random() % 10;
    check(FirstValueFor(target, drawNumber), drawNumber);
    check(FirstValueFor(target, drawNumber) + 1, drawNumber);
  }
  for (std::uint64_t firstValue : {0ULL, 1ULL, 5ULL, 11111111ULL, 121212121212ULL, 9999999999999ULL,
                                   2500000000000ULL, 1250000000000ULL}) {
    for (std::uint32_t drawNumber : {0u, 1u, 2u, 4u, 5u, 11111u, 50000u, 99999u}) {
      check(firstValue, drawNumber);
    }
  }
}

TEST(ClassPicker, ABlockIsEachBaseInTurn) {
  const ClassPicker picker(plan::kMethodBoth);
  const std::uint64_t firstValues[] = {0, 123456789, 9999999999999, 31415926535};
  const std::uint32_t drawNumbers[] = {12345, 0, 99999, 27182};
  std::uint32_t masks[4];
  picker.Masks(firstValues, drawNumbers, 4, masks);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(masks[i], picker.Mask(firstValues[i], drawNumbers[i]));
}

}  // namespace
}  // namespace search
