#pragma once

#include <string>

namespace plan {

enum class PlanKind { Position = 1, TwoStar = 2, ThreeStar = 3 };

// Two-star play types (items of 组合框_二星选1) that predict and judge; every
// other two-star type predicts nothing and never hits.
inline constexpr int kTwoStarStraight = 8;   // 后二直选复式
inline constexpr int kTwoStarGroup = 9;      // 后二复式
inline constexpr int kTwoStarFrontBase = 3;  // 前二大底: the bet-count text is shown
inline constexpr int kTwoStarBackBase = 10;  // 后二大底
// Three-star play types (items of 组合框_三星选1) in effect.
inline constexpr int kThreeStarStraight = 10;  // 后三直选复式
inline constexpr int kThreeStarGroup = 11;     // 后三复式

// Position-plan methods (items of 组合框_定位选法1).
enum PositionMethod { kMethodDigits = 0, kMethodBigSmall = 1, kMethodOddEven = 2, kMethodBoth = 3 };

// The six texts a plan line is made of, editable by the user per kind.
struct ReportTexts {
  std::string name;
  std::string hit = "中了";
  std::string miss = "错了";
  std::string pending = "等待";
  std::string left = "（";
  std::string right = "）";
};

// Everything one plan run reads from its page. Counts of 0 (a combo box
// without selection) are valid here: the engine then behaves as the plain
// procedure says; refusing such runs is the handlers' business.
struct PlanSettings {
  PlanKind kind = PlanKind::Position;
  int position = 0;  // position plan: 1 万 .. 5 个, 0 none
  int method = kMethodDigits;
  int playType = -1;  // two-star 0-13, three-star 0-17
  int codeCount = 0;
  int periodCount = 0;
  std::string title;         // position name + method name, or the play type's item text
  std::string betCountText;  // shown by the two-star 大底 play types
  ReportTexts texts;
};

}  // namespace plan
