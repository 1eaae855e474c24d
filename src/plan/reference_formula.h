#pragma once

#include <string>
#include <string_view>

#include "plan/formula.h"

namespace plan {

// The evaluation done step by step on texts: letters replaced in a copy of
// the formula, the digits kept through a regular expression, atof, printf's
// "%.13g" with its exponent widened to three digits. Slow but plain to check;
// the fast EvaluateFormula is checked and measured against it.
Evaluation ReferenceEvaluateFormula(std::string_view drawDigits, int codeCount,
                                    std::string_view formula);

// DigitsOnly through PatternMatcher with "[0-9]".
std::string ReferenceDigitsOnly(std::string_view text);

}  // namespace plan
