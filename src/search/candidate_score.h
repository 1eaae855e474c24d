#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "plan/draw.h"
#include "plan/formula.h"
#include "search/fast_formula.h"

namespace search {

enum class SearchKind { Position = 1, TwoStar = 2, ThreeStar = 3 };

// Plays of 组合框_搜玩发2 that are scored; every other two- and three-star
// play never hits.
inline constexpr int kPlayDigits = 0;              // position: 定位胆
inline constexpr int kPlayTwoStarStraight = 8;     // 后二直选复式
inline constexpr int kPlayTwoStarGroup = 9;        // 后二复式
inline constexpr int kPlayThreeStarStraight = 10;  // 后三直选复式
inline constexpr int kPlayThreeStarGroup = 11;     // 后三复式

// What one search reads from the 搜公式 tab at its start.
struct SearchSettings {
  SearchKind kind = SearchKind::Position;
  int codeCount = 0;  // M
  int periods = 0;    // N
  int position = 0;   // p, position kind: 1 万 .. 5 个
  int play = 0;       // index in 组合框_搜玩发2
};

struct Tally {
  int hits = 0;
  int misses = 0;
  bool operator==(const Tally&) const = default;
};

// The integer part of hits * 100 / total, in integers as the plan report
// computes it; 0 when no plan finished.
int RatePercent(const Tally& tally);

// The plan source of one search (oldest first, see plan::BuildPlanSource),
// prepared once for every candidate.
class SearchSource {
 public:
  explicit SearchSource(std::vector<plan::Draw> draws);

  const std::vector<plan::Draw>& draws() const { return draws_; }
  // Set when every draw holds exactly five digits, the fast path's domain.
  const std::optional<std::vector<DrawValue>>& values() const { return values_; }

 private:
  std::vector<plan::Draw> draws_;
  std::optional<std::vector<DrawValue>> values_;
};

// Replays the plans of one candidate over the source and counts hits and
// misses; the plan running past the newest draw counts as neither.
Tally ScoreCandidate(const SearchSource& source, const SearchSettings& settings,
                     std::string_view formula);

// The same replay evaluating every plan through the given evaluation, as
// written: the path for draws or formulas the fast one does not cover, and
// the yardstick it is tested and measured against.
using EvaluateFunction = plan::Evaluation (*)(std::string_view, int, std::string_view);
Tally ScoreCandidatePlain(const std::vector<plan::Draw>& source, const SearchSettings& settings,
                          std::string_view formula,
                          EvaluateFunction evaluate = &plan::EvaluateFormula);

}  // namespace search
