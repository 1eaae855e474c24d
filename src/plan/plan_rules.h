#pragma once

#include <string>
#include <string_view>

#include "plan/digits.h"
#include "plan/plan_settings.h"

namespace plan {

// What a plan window predicts from its base draw. Unused parts stay empty.
struct WindowPrediction {
  Digits first;                // P1 (position plan: the digits of the class for methods 1-3)
  Digits second;               // P2
  Digits third;                // P3
  std::string_view className;  // position plan methods 1-3: 大, 小, 单 or 双
};

WindowPrediction PredictWindow(const PlanSettings& settings, std::string_view baseDigits,
                               std::string_view formula);

// The digits of a draw that a plan kind judges: the one position of the
// position plan, 十 and 个 for two-star, 百 十 个 for three-star, written
// without separators ("" when the draw text has no such position).
std::string JudgedDigits(const PlanSettings& settings, std::string_view drawDigits);

bool IsHit(const PlanSettings& settings, const WindowPrediction& prediction,
           std::string_view drawDigits);

// The middle part of a plan line: sorted predictions, a class name or the
// bet-count text.
std::string ShownPrediction(const PlanSettings& settings, const WindowPrediction& prediction);

}  // namespace plan
