#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "plan/digits.h"
#include "plan/plan_settings.h"

namespace plan {

// What one formula predicts from one base draw.
struct Evaluation {
  Digits prediction;   // distinct digits in evaluation order (not sorted)
  Digits valueDigits;  // the digits of the "%.13g" text of the value
};

// Applies formula to the five digits of a base draw: the letters A-E stand for
// the draw's digits, the decimal digits for themselves, everything else is
// ignored. The prediction holds codeCount digits (all ten when codeCount > 10,
// none when codeCount < 1), completed from the fill sequences when the value
// has too few distinct digits.
Evaluation EvaluateFormula(std::string_view drawDigits, int codeCount, std::string_view formula);

// The same evaluation without the vector instructions EvaluateFormula uses
// where the machine has them, so tests can hold both paths to one result.
Evaluation EvaluateFormulaPortably(std::string_view drawDigits, int codeCount,
                                   std::string_view formula);

// The nine companion formulas, numbered 1-9 (index 0 is formula 1).
inline constexpr std::array<std::string_view, 9> kCompanionFormulas = {
    "DCC*657", "CED-762", "CEE+741", "DDE*241 ", "BEB+065",
    "AAD*868", "EEA+354", "EDA-673", "ECC-733"};

// Completion order of a short prediction, chosen by its last digit.
inline constexpr std::array<std::string_view, 10> kFillSequences = {
    "1765094328", "2635094817", "2096173548", "4896351720", "4863251709",
    "5132097486", "5170948632", "8173209465", "9081726354", "2861735094"};

// The companion chosen by the first digit of a prediction; 0, a non-digit or
// an empty prediction choose formula 1.
std::string_view CompanionFormula(std::string_view prediction);

// Each character read as a digit (non-digits as 0), sorted ascending.
std::string SortDigits(std::string_view prediction);

// The four digit classes of the position plan; mask has bit d for digit d.
struct DigitClass {
  std::string_view name;
  std::string_view digits;
  std::uint16_t mask;
};
constexpr std::uint16_t DigitMask(std::string_view digits) {
  std::uint16_t mask = 0;
  for (char c : digits) mask = static_cast<std::uint16_t>(mask | 1u << (c - '0'));
  return mask;
}
inline constexpr DigitClass kBig{"大", "56789", DigitMask("56789")};
inline constexpr DigitClass kSmall{"小", "01234", DigitMask("01234")};
inline constexpr DigitClass kOdd{"单", "13579", DigitMask("13579")};
inline constexpr DigitClass kEven{"双", "02468", DigitMask("02468")};

// The class a class method (大小, 单双, 大小单双) picks from the first, third
// and fourth digits of the second evaluation's prediction (0 where missing).
constexpr const DigitClass& ClassOfMethod(int method, unsigned first, unsigned third,
                                          unsigned fourth) {
  if (method == kMethodBigSmall) return third % 2 != 0 ? kBig : kSmall;
  if (method == kMethodOddEven) return fourth % 2 != 0 ? kOdd : kEven;
  unsigned w = (first + third) % 10;
  if (w == 0) w = 1;
  if (w == 1 || w == 5 || w == 9) return kBig;
  if (w == 2 || w == 6) return kSmall;
  if (w == 3 || w == 7) return kOdd;
  return kEven;
}

}  // namespace plan
