#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "plan/draw.h"
#include "plan/formula.h"
#include "search/class_pick.h"
#include "search/fast_formula.h"
#include "search/lane_judge.h"
#include "search/plan_tally.h"
#include "search/value_text.h"

namespace search {

// What one search reads from the 搜公式 tab at its start.
struct SearchSettings {
  plan::PlanKind kind = plan::PlanKind::Position;
  int codeCount = 0;  // M
  int periods = 0;    // N
  int position = 0;   // p, position kind: 1 万 .. 5 个
  int play = 0;       // index in 组合框_搜玩发2: a method or a play type
};

// The plan source of one search (oldest first, see plan::BuildPlanSource),
// prepared once for every candidate.
class SearchSource {
 public:
  explicit SearchSource(std::vector<lottery::Draw> draws);

  const std::vector<lottery::Draw>& draws() const { return draws_; }
  // Set when every draw holds exactly five digits, the fast path's domain.
  const std::optional<std::vector<DrawValue>>& values() const { return values_; }

 private:
  std::vector<lottery::Draw> draws_;
  std::optional<std::vector<DrawValue>> values_;
};

// One search's scoring: the draws and settings prepared once (the bits a hit
// needs of each draw, the companion code sets of each base), so a candidate
// costs one evaluation per base judged lane-wide, or per plan on the other
// fast path (two for the class plays). Every way of scoring runs the same
// replay and hands its judged plans, in order, to a tally. The scorer may
// run on several threads at once.
class CandidateScorer {
 public:
  CandidateScorer(SearchSource source, SearchSettings settings);

  // Replays the plans of one candidate over the source and counts hits and
  // misses; the plan running past the newest draw counts as neither.
  Tally Score(std::string_view formula) const;

  // The same replay with its runs of hits and misses; nullopt when stop was
  // set before it ended (it is read every few thousand plans).
  std::optional<Streaks> ScoreStreaks(std::string_view formula,
                                      const std::atomic<bool>& stop) const;

 private:
  enum class Way { None, Codes, Class, Straight };
  template <typename Tallier>
  bool Replay(std::string_view formula, Tallier& tally, const std::atomic<bool>* stop) const;
  template <typename Tallier>
  bool ReplayFast(const FastFormula& formula, Tallier& tally, const std::atomic<bool>* stop) const;
  template <typename Tallier, typename FillMasks>
  bool ReplayBlocks(FillMasks fillMasks, Tallier& tally, const std::atomic<bool>* stop) const;
  template <typename Tallier>
  bool ReplayLanes(const LaneFormula& formula, Tallier& tally, const std::atomic<bool>* stop) const;
  template <typename Tallier>
  bool ReplayClasses(const LaneFormula& formula, Tallier& tally,
                     const std::atomic<bool>* stop) const;

  SearchSource source_;
  SearchSettings settings_;
  Way way_ = Way::None;
  MaskPredictor predict_;
  // Every play over five-digit draws is judged lane-wide with 1 .. 16
  // periods; the codes and straight plays are predicted so too, the class
  // plays by classes_, a block at a time.
  std::optional<LaneJudge> lanes_;
  std::optional<ClassPicker> classes_;
  // The class plays' N2 and digits of each base, a vector per field.
  std::vector<std::uint32_t> drawNumbers_;
  std::array<std::vector<std::uint32_t>, 5> drawDigits_;
  // Fast path: a draw is a hit for a plan whose masks (first code set at bit
  // 0, second at 10, third at 20) hold all of its hit bits; a few draws that
  // never hit follow the newest.
  std::vector<std::uint32_t> hitBits_;
  // Straight plays: per base and companion formula, the second and third
  // code sets at bits 10 and 20.
  std::vector<std::array<std::uint32_t, 9>> companions_;
};

// The same replay evaluating every plan through the given evaluation, as
// written: the path for draws or formulas the fast one does not cover, and
// the yardstick it is tested and measured against.
using EvaluateFunction = plan::Evaluation (*)(std::string_view, int, std::string_view);
Tally ScoreCandidatePlain(const std::vector<lottery::Draw>& source, const SearchSettings& settings,
                          std::string_view formula,
                          EvaluateFunction evaluate = &plan::EvaluateFormula);

}  // namespace search
