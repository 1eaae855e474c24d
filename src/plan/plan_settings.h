#pragma once

#include <string>

namespace plan {

enum class PlanKind { Position = 1, TwoStar = 2, ThreeStar = 3 };
inline constexpr int kPlanKindCount = 3;

// Two-star play types: the items of 组合框_二星选1, and of 组合框_搜玩发2 once
// the search's two-star kind is chosen. Only the straight and the group play
// predict and judge; every other type predicts nothing and never hits.
inline constexpr int kTwoStarFrontStraight = 1;     // 前二直选复式
inline constexpr int kTwoStarFrontBase = 3;         // 前二大底: the bet-count text is shown
inline constexpr int kTwoStarFrontBigSmall = 4;     // 前二大小
inline constexpr int kTwoStarFrontOddEven = 5;      // 前二单双
inline constexpr int kTwoStarFrontBothClasses = 6;  // 前二大小单双
inline constexpr int kTwoStarStraight = 8;          // 后二直选复式
inline constexpr int kTwoStarGroup = 9;             // 后二复式
inline constexpr int kTwoStarBackBase = 10;         // 后二大底
inline constexpr int kTwoStarBigSmall = 11;         // 后二大小
inline constexpr int kTwoStarOddEven = 12;          // 后二单双
inline constexpr int kTwoStarBothClasses = 13;      // 后二大小单双
// Three-star play types (items of 组合框_三星选1 and of the search's list) in
// effect.
inline constexpr int kThreeStarStraight = 10;  // 后三直选复式
inline constexpr int kThreeStarGroup = 11;     // 后三复式

// Position-plan methods: the items of 组合框_定位选法1, and of 组合框_搜玩发2
// for the search's position kind.
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
// without selection) are valid here: no codes never hit, and no periods miss
// at once, one line per draw; refusing such runs is the handlers' business.
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
  int drawsPerDay = 0;  // of the lottery: the report's sequences wrap past it
};

}  // namespace plan
