#include "plan/plan_rules.h"

#include "plan/formula.h"

namespace plan {
namespace {

int DigitAt(const Digits& digits, std::size_t index) {
  return index < digits.size() ? digits[index] - '0' : 0;
}

// The class of a class method, read from a second evaluation that takes the
// first one's value digits as its formula.
const DigitClass& ClassOf(int method, const Digits& second) {
  auto at = [&](std::size_t i) { return static_cast<unsigned>(DigitAt(second, i)); };
  return ClassOfMethod(method, at(0), at(2), at(3));
}

bool Contains(const Digits& prediction, std::string_view judged) {
  return !judged.empty() && prediction.view().find(judged) != std::string_view::npos;
}

// 十 and 个 of a draw: characters 4 and 5 of a five-character text, otherwise
// parts 4 and 5 of the text split at ",".
bool TwoStarParts(std::string_view digits, std::string_view& tens, std::string_view& units) {
  if (digits.size() == 5) {
    tens = digits.substr(3, 1);
    units = digits.substr(4, 1);
    return true;
  }
  std::string_view parts[5];
  for (int i = 0; i < 5; ++i) {
    auto comma = digits.find(',');
    parts[i] = digits.substr(0, comma);
    if (comma == std::string_view::npos) {
      if (i < 4) return false;
      digits = {};
    } else {
      digits.remove_prefix(comma + 1);
    }
  }
  tens = parts[3];
  units = parts[4];
  return true;
}

}  // namespace

WindowPrediction PredictWindow(const PlanSettings& settings, std::string_view baseDigits,
                               std::string_view formula) {
  WindowPrediction result;
  int n = settings.codeCount;
  switch (settings.kind) {
    case PlanKind::Position: {
      Evaluation first = EvaluateFormula(baseDigits, n, formula);
      if (settings.method >= kMethodBigSmall && settings.method <= kMethodBoth) {
        Evaluation second = EvaluateFormula(baseDigits, 5, first.valueDigits.view());
        const DigitClass& digitClass = ClassOf(settings.method, second.prediction);
        result.first = Digits(digitClass.digits);
        result.className = digitClass.name;
      } else {
        result.first = first.prediction;
      }
      break;
    }
    case PlanKind::TwoStar:
      if (settings.playType == kTwoStarGroup) {
        result.first = EvaluateFormula(baseDigits, n, formula).prediction;
        result.second = result.first;
      } else if (settings.playType == kTwoStarStraight) {
        result.first = EvaluateFormula(baseDigits, n, formula).prediction;
        result.second = EvaluateFormula(baseDigits, n, CompanionFormula(result.first)).prediction;
      }
      break;
    case PlanKind::ThreeStar:
      if (settings.playType == kThreeStarGroup) {
        result.first = EvaluateFormula(baseDigits, n, formula).prediction;
        result.second = result.first;
        result.third = result.first;
      } else if (settings.playType == kThreeStarStraight) {
        result.first = EvaluateFormula(baseDigits, n, formula).prediction;
        result.second = EvaluateFormula(baseDigits, n, CompanionFormula(result.first)).prediction;
        result.third = EvaluateFormula(baseDigits, n, CompanionFormula(result.second)).prediction;
      }
      break;
  }
  return result;
}

std::string JudgedDigits(const PlanSettings& settings, std::string_view drawDigits) {
  switch (settings.kind) {
    case PlanKind::Position: {
      auto p = static_cast<std::size_t>(settings.position);
      if (settings.position < 1 || p > drawDigits.size()) return {};
      return std::string(1, drawDigits[p - 1]);
    }
    case PlanKind::TwoStar: {
      std::string_view tens, units;
      if (!TwoStarParts(drawDigits, tens, units)) return {};
      return std::string(tens) + std::string(units);
    }
    case PlanKind::ThreeStar:
      return drawDigits.size() > 2 ? std::string(drawDigits.substr(2, 3)) : std::string();
  }
  return {};
}

bool IsHit(const PlanSettings& settings, const WindowPrediction& prediction,
           std::string_view drawDigits) {
  switch (settings.kind) {
    case PlanKind::Position: {
      auto p = static_cast<std::size_t>(settings.position);
      if (settings.position < 1 || p > drawDigits.size()) return false;
      return prediction.first.contains(drawDigits[p - 1]);
    }
    case PlanKind::TwoStar: {
      if (settings.playType != kTwoStarStraight && settings.playType != kTwoStarGroup) return false;
      std::string_view tens, units;
      if (!TwoStarParts(drawDigits, tens, units)) return false;
      if (settings.playType == kTwoStarStraight) {
        return Contains(prediction.first, tens) && Contains(prediction.second, units);
      }
      return Contains(prediction.first, tens) && Contains(prediction.first, units) && tens != units;
    }
    case PlanKind::ThreeStar: {
      if (drawDigits.size() < 5) return false;
      char x = drawDigits[2], y = drawDigits[3], z = drawDigits[4];
      if (settings.playType == kThreeStarStraight) {
        return prediction.first.contains(x) && prediction.second.contains(y) &&
               prediction.third.contains(z);
      }
      if (settings.playType == kThreeStarGroup) {
        return prediction.first.contains(x) && prediction.first.contains(y) &&
               prediction.first.contains(z);
      }
      return false;
    }
  }
  return false;
}

std::string ShownPrediction(const PlanSettings& settings, const WindowPrediction& prediction) {
  std::string first = SortDigits(prediction.first.view());
  switch (settings.kind) {
    case PlanKind::Position:
      return prediction.className.empty() ? first : std::string(prediction.className);
    case PlanKind::TwoStar:
      switch (settings.playType) {
        case kTwoStarFrontStraight:
        case kTwoStarStraight:
          return first + "*" + SortDigits(prediction.second.view());
        case kTwoStarFrontBase:
        case kTwoStarBackBase:
          return settings.betCountText;
        case kTwoStarFrontBigSmall:
        case kTwoStarFrontOddEven:
        case kTwoStarFrontBothClasses:
        case kTwoStarBigSmall:
        case kTwoStarOddEven:
        case kTwoStarBothClasses:
          return first + SortDigits(prediction.second.view());
        default:
          return first;
      }
    case PlanKind::ThreeStar:
      if (settings.playType == kThreeStarStraight) {
        return first + "*" + SortDigits(prediction.second.view()) + "*" +
               SortDigits(prediction.third.view());
      }
      return first;
  }
  return first;
}

}  // namespace plan
