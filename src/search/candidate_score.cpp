#include "search/candidate_score.h"

#include <algorithm>
#include <array>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace search {
namespace {

// ---- the plain replay, on texts -------------------------------------------

struct TextSets {
  plan::Digits first, second, third;
};

// 组合框_搜玩发2's class plays read a second evaluation whose formula is the
// first one's value digits.
plan::Digits ClassDigits(int play, const plan::Digits& second) {
  auto at = [&](std::size_t i) { return i < second.size() ? unsigned(second[i] - '0') : 0u; };
  return plan::Digits(plan::ClassOfMethod(play, at(0), at(2), at(3)).digits);
}

TextSets PlainSets(const SearchSettings& s, std::string_view base, std::string_view formula,
                   EvaluateFunction evaluate) {
  TextSets sets;
  const int m = s.codeCount;
  switch (s.kind) {
    case plan::PlanKind::Position: {
      if (s.play < plan::kMethodDigits || s.play > plan::kMethodBoth) break;
      const plan::Evaluation first = evaluate(base, m, formula);
      sets.first = s.play == plan::kMethodDigits
                       ? first.prediction
                       : ClassDigits(s.play, evaluate(base, 5, first.valueDigits).prediction);
      break;
    }
    case plan::PlanKind::TwoStar:
      if (s.play == plan::kTwoStarGroup || s.play == plan::kTwoStarStraight) {
        sets.first = evaluate(base, m, formula).prediction;
        if (s.play == plan::kTwoStarStraight) {
          sets.second = evaluate(base, m, plan::CompanionFormula(sets.first)).prediction;
        }
      }
      break;
    case plan::PlanKind::ThreeStar:
      if (s.play == plan::kThreeStarGroup || s.play == plan::kThreeStarStraight) {
        sets.first = evaluate(base, m, formula).prediction;
        if (s.play == plan::kThreeStarStraight) {
          sets.second = evaluate(base, m, plan::CompanionFormula(sets.first)).prediction;
          sets.third = evaluate(base, m, plan::CompanionFormula(sets.second)).prediction;
        }
      }
      break;
  }
  return sets;
}

// Part n (1-based) of a draw: its n-th character when it has five, else the
// n-th piece between commas.
std::string_view DrawPart(std::string_view digits, int n) {
  if (digits.size() == 5) return n >= 1 && n <= 5 ? digits.substr(n - 1, 1) : std::string_view();
  for (int i = 1; i < n; ++i) {
    const auto comma = digits.find(',');
    if (comma == std::string_view::npos) return {};
    digits.remove_prefix(comma + 1);
  }
  return n >= 1 ? digits.substr(0, digits.find(',')) : std::string_view();
}

bool Occurs(const plan::Digits& set, std::string_view part) {
  return !part.empty() && set.view().find(part) != std::string_view::npos;
}

bool PlainHit(const SearchSettings& s, const TextSets& sets, std::string_view draw) {
  switch (s.kind) {
    case plan::PlanKind::Position:
      return Occurs(sets.first, DrawPart(draw, s.position));
    case plan::PlanKind::TwoStar: {
      const auto d4 = DrawPart(draw, 4), d5 = DrawPart(draw, 5);
      if (s.play == plan::kTwoStarGroup)
        return Occurs(sets.first, d4) && Occurs(sets.first, d5) && d4 != d5;
      if (s.play == plan::kTwoStarStraight)
        return Occurs(sets.first, d4) && Occurs(sets.second, d5);
      return false;
    }
    case plan::PlanKind::ThreeStar: {
      if (draw.size() < 5) return false;
      const auto d1 = draw.substr(2, 1), d2 = draw.substr(3, 1), d3 = draw.substr(4, 1);
      if (s.play == plan::kThreeStarGroup) {
        return Occurs(sets.first, d1) && Occurs(sets.first, d2) && Occurs(sets.first, d3);
      }
      if (s.play == plan::kThreeStarStraight) {
        return Occurs(sets.first, d1) && Occurs(sets.second, d2) && Occurs(sets.third, d3);
      }
      return false;
    }
  }
  return false;
}

// A stop request is read every so many plans (or bases judged lane-wide):
// microseconds of work on the fast paths, a millisecond or so on the plain.
constexpr std::size_t kStopInterval = 4096;

bool Stopped(const std::atomic<bool>* stop) {
  return stop != nullptr && stop->load(std::memory_order_relaxed);
}

// The replay every path runs: a plan starts at base b, the first hit in the
// next N draws makes the hit draw the next base, N misses make the window's
// last draw the next base, and a window past the newest draw ends the replay
// uncounted. At most n plans, which only matters when N is 0. Each judged
// plan goes to the tally in order; false when stopped on the way.
template <typename MakeSets, typename IsHit, typename Tallier>
bool Replay(std::size_t n, int periods, MakeSets makeSets, IsHit isHit, Tallier& tally,
            const std::atomic<bool>* stop) {
  std::size_t b = 0;
  for (std::size_t plans = 0; plans < n; ++plans) {
    if (plans % kStopInterval == kStopInterval - 1 && Stopped(stop)) return false;
    const auto sets = makeSets(b);
    bool hit = false;
    for (int k = 1; k <= periods; ++k) {
      if (b + k >= n) return true;
      if (isHit(sets, b + k)) {
        b += k;
        hit = true;
        break;
      }
    }
    tally.Add(hit);
    if (!hit) b += periods > 0 ? static_cast<std::size_t>(periods) : 0;
  }
  return true;
}

template <typename Tallier>
bool ReplayPlain(const std::vector<lottery::Draw>& source, const SearchSettings& settings,
                 std::string_view formula, EvaluateFunction evaluate, Tallier& tally,
                 const std::atomic<bool>* stop) {
  if (settings.kind == plan::PlanKind::ThreeStar && formula.empty()) return true;
  return Replay(
      source.size(), settings.periods,
      [&](std::size_t b) { return PlainSets(settings, source[b].code, formula, evaluate); },
      [&](const TextSets& sets, std::size_t i) { return PlainHit(settings, sets, source[i].code); },
      tally, stop);
}

// ---- the fast replay, on digits and masks ---------------------------------

constexpr std::uint32_t kNever = 1u << 31;  // a hit bit no plan mask holds

std::uint32_t ClassMask(int play, const LeadDigits& e) {
  return plan::ClassOfMethod(play, e.first, e.third, e.fourth).mask;
}

// CompanionFormula's choice by the first digit of a prediction, 0 (and an
// empty prediction) choosing formula 1.
std::size_t CompanionIndex(unsigned firstDigit) { return firstDigit == 0 ? 0 : firstDigit - 1; }

// The nine companion formulas, whose values all stay below 10^13.
const std::array<LaneFormula, 9>& LaneCompanions() {
  static const std::array<LaneFormula, 9> companions = [] {
    std::array<LaneFormula, 9> compiled;
    for (std::size_t i = 0; i < 9; ++i)
      compiled[i] = *LaneFormula::From(*FastFormula::Compile(plan::kCompanionFormulas[i]));
    return compiled;
  }();
  return companions;
}

// Draws past the newest one read by a window test, never hit: room for the
// longest window the fast paths judge past a whole vector of bases.
constexpr std::size_t kLongestWindow = 16;
constexpr std::size_t kPadding = kLongestWindow + 2 * kLaneSlack;
// Bases judged lane-wide at a time, small enough for the first-level cache.
constexpr std::size_t kLaneBlock = 1024;

// Bit k-1 set when the draw k after the base is a hit, k = 1 .. window.
inline unsigned HitWord(const std::uint32_t* after, std::uint32_t mask, std::size_t window) {
  unsigned word = 0;
#if defined(__SSE2__)
  // Four draws at a time: a hit lacks none of its bits in the mask.
  const __m128i missing = _mm_set1_epi32(static_cast<int>(~mask));
  for (std::size_t k = 0; k < window; k += 4) {
    const __m128i bits = _mm_loadu_si128(reinterpret_cast<const __m128i*>(after + k));
    const __m128i hit = _mm_cmpeq_epi32(_mm_and_si128(bits, missing), _mm_setzero_si128());
    word |= static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(hit))) << k;
  }
#else
  for (std::size_t k = 0; k < window; ++k) {
    word |= static_cast<unsigned>((mask & after[k]) == after[k]) << k;
  }
#endif
  return word & ((1u << window) - 1);
}

// Replay over hit bits (n draws and the padding), the plan mask of base b
// made by planMask(b). A plan whose window lies inside the source is judged
// without branching on the (random) draws.
template <typename PlanMask, typename Tallier>
bool ReplayMasks(const std::vector<std::uint32_t>& hitBits, int periods, PlanMask planMask,
                 Tallier& tally, const std::atomic<bool>* stop) {
  const std::uint32_t* bits = hitBits.data();
  const std::size_t n = hitBits.size() - kPadding;
  if (periods < 1 || static_cast<std::size_t>(periods) > kLongestWindow) {
    return Replay(
        n, periods, planMask,
        [bits](std::uint32_t mask, std::size_t i) { return (mask & bits[i]) == bits[i]; }, tally,
        stop);
  }
  const auto window = static_cast<std::size_t>(periods);
  std::size_t b = 0;
  std::size_t plans = 0;
  while (b + window < n) {
    if (++plans % kStopInterval == 0 && Stopped(stop)) return false;
    const unsigned word = HitWord(bits + b + 1, planMask(b), window);
    const bool hit = word != 0;
    tally.Add(hit);
    b += hit ? static_cast<std::size_t>(__builtin_ctz(word)) + 1 : window;
  }
  // The last plans run up to the newest draw, the last one perhaps past it.
  while (b < n) {
    const unsigned word = HitWord(bits + b + 1, planMask(b), window);
    const std::size_t left = n - 1 - b;  // draws after the base
    if (word != 0 && static_cast<std::size_t>(__builtin_ctz(word)) < left) {
      tally.Add(true);
      b += static_cast<std::size_t>(__builtin_ctz(word)) + 1;
    } else if (left >= window) {
      tally.Add(false);
      b += window;
    } else {
      break;
    }
  }
  return true;
}

}  // namespace

SearchSource::SearchSource(std::vector<lottery::Draw> draws) : draws_(std::move(draws)) {
  std::vector<DrawValue> values;
  values.reserve(draws_.size());
  for (const auto& draw : draws_) {
    auto value = ParseDrawValue(draw.code);
    if (!value) return;
    values.push_back(*value);
  }
  values_ = std::move(values);
}

CandidateScorer::CandidateScorer(SearchSource source, SearchSettings settings)
    : source_(std::move(source)), settings_(settings), predict_(settings.codeCount) {
  const SearchSettings& s = settings_;
  switch (s.kind) {
    case plan::PlanKind::Position:
      if (s.play == plan::kMethodDigits) way_ = Way::Codes;
      if (s.play >= plan::kMethodBigSmall && s.play <= plan::kMethodBoth) way_ = Way::Class;
      break;
    case plan::PlanKind::TwoStar:
      if (s.play == plan::kTwoStarGroup) way_ = Way::Codes;
      if (s.play == plan::kTwoStarStraight) way_ = Way::Straight;
      break;
    case plan::PlanKind::ThreeStar:
      if (s.play == plan::kThreeStarGroup) way_ = Way::Codes;
      if (s.play == plan::kThreeStarStraight) way_ = Way::Straight;
      break;
  }
  if (!source_.values()) return;
  const std::vector<DrawValue>& draws = *source_.values();

  hitBits_.reserve(draws.size() + kPadding);
  for (const DrawValue& draw : draws) {
    const auto& d = draw.digits;
    std::uint32_t bits = kNever;
    switch (s.kind) {
      case plan::PlanKind::Position:
        if (s.position >= 1 && s.position <= 5) bits = 1u << d[s.position - 1];
        break;
      case plan::PlanKind::TwoStar:
        if (s.play == plan::kTwoStarStraight) bits = 1u << d[3] | 1u << (10 + d[4]);
        if (s.play == plan::kTwoStarGroup && d[3] != d[4]) bits = 1u << d[3] | 1u << d[4];
        break;
      case plan::PlanKind::ThreeStar:
        bits = s.play == plan::kThreeStarStraight
                   ? 1u << d[2] | 1u << (10 + d[3]) | 1u << (20 + d[4])
                   : 1u << d[2] | 1u << d[3] | 1u << d[4];
        break;
    }
    hitBits_.push_back(bits);
  }
  hitBits_.resize(draws.size() + kPadding, kNever);

  if (way_ == Way::None) return;
  lanes_.emplace(draws, s.codeCount);
  if (way_ == Way::Class) {
    classes_.emplace(s.play);
    for (const DrawValue& draw : draws) {
      drawNumbers_.push_back(draw.number);
      for (std::size_t k = 0; k < 5; ++k) drawDigits_[k].push_back(draw.digits[k]);
    }
    drawNumbers_.resize(draws.size() + kClassPadding);
  }
  if (way_ != Way::Straight) return;
  // The companions depend on the base draw and the first digit only: the
  // nine formulas predicted for every base, a block at a time.
  companions_.resize(draws.size());
  constexpr std::size_t kStride = kLaneBlock + kLaneSlack;
  std::vector<std::uint32_t> masks(9 * kStride), first(9 * kStride);
  for (std::size_t begin = 0; begin < draws.size(); begin += kLaneBlock) {
    const std::size_t count = std::min(kLaneBlock, draws.size() - begin);
    for (std::size_t c = 0; c < 9; ++c) {
      lanes_->Predict(LaneCompanions()[c], begin, count, &masks[c * kStride], &first[c * kStride]);
    }
    for (std::size_t i = 0; i < count; ++i) {
      for (std::size_t c = 0; c < 9; ++c) {
        const std::uint32_t third = masks[CompanionIndex(first[c * kStride + i]) * kStride + i];
        companions_[begin + i][c] = masks[c * kStride + i] << 10 | third << 20;
      }
    }
  }
}

Tally CandidateScorer::Score(std::string_view formula) const {
  Tally tally;
  Replay(formula, tally, nullptr);
  return tally;
}

std::optional<Streaks> CandidateScorer::ScoreStreaks(std::string_view formula,
                                                     const std::atomic<bool>& stop) const {
  StreakTally tally;
  if (!Replay(formula, tally, &stop)) return std::nullopt;
  return tally.Figures();
}

template <typename Tallier>
bool CandidateScorer::Replay(std::string_view formula, Tallier& tally,
                             const std::atomic<bool>* stop) const {
  // The three-star search passes over empty candidates; the others replay
  // them like any formula.
  if (settings_.kind == plan::PlanKind::ThreeStar && formula.empty()) return true;
  if (source_.values()) {
    if (auto compiled = FastFormula::Compile(formula)) {
      const int periods = settings_.periods;
      if (lanes_ && periods >= 1 && static_cast<std::size_t>(periods) <= kLongestWindow) {
        // A lane formula's first value stays below 10^13 on every draw.
        if (auto lanes = LaneFormula::From(*compiled)) {
          if (way_ == Way::Class) return ReplayClasses(*lanes, tally, stop);
          return ReplayLanes(*lanes, tally, stop);
        }
      }
      return ReplayFast(*compiled, tally, stop);
    }
  }
  return ReplayPlain(source_.draws(), settings_, formula, &plan::EvaluateFormula, tally, stop);
}

template <typename Tallier>
bool CandidateScorer::ReplayFast(const FastFormula& formula, Tallier& tally,
                                 const std::atomic<bool>* stop) const {
  const std::vector<DrawValue>& draws = *source_.values();
  const int periods = settings_.periods;
  switch (way_) {
    case Way::None:
      return ReplayMasks(
          hitBits_, periods, [](std::size_t) { return 0u; }, tally, stop);
    case Way::Codes:
      return ReplayMasks(
          hitBits_, periods,
          [&](std::size_t b) -> std::uint32_t {
            return predict_(MakeValueText(formula.Number(draws[b]), draws[b].number)).mask;
          },
          tally, stop);
    case Way::Class: {
      // The second evaluation's formula is the first one's value digits.
      const int play = settings_.play;
      return ReplayMasks(
          hitBits_, periods,
          [&](std::size_t b) {
            const DrawValue& base = draws[b];
            const ValueText first = MakeValueText(formula.Number(base), base.number);
            return ClassMask(play, PredictLeadDigits(MakeValueText(first.Number(), base.number)));
          },
          tally, stop);
    }
    case Way::Straight:
      return ReplayMasks(
          hitBits_, periods,
          [&](std::size_t b) {
            const auto first = predict_(MakeValueText(formula.Number(draws[b]), draws[b].number));
            return first.mask | companions_[b][CompanionIndex(first.first)];
          },
          tally, stop);
  }
  return true;
}

// Plans handed to a tally 64 at a time, the word kept in registers.
template <typename Tallier>
class OutcomeWord {
 public:
  explicit OutcomeWord(Tallier& tally) : tally_(tally) {}
  void Add(std::uint32_t hit) {
    word_ |= std::uint64_t{hit} << filled_;
    if (++filled_ == 64) Flush();
  }
  void Flush() {
    if (filled_ != 0) tally_.AddOutcomes(word_, filled_);
    word_ = 0;
    filled_ = 0;
  }

 private:
  Tallier& tally_;
  std::uint64_t word_ = 0;
  unsigned filled_ = 0;
};

// Every base's plan judged a block at a time, then the replay walks from
// base to base. fillMasks(begin, count, masks) gives the plan masks of the
// bases begin .. begin+count-1.
template <typename Tallier, typename FillMasks>
bool CandidateScorer::ReplayBlocks(FillMasks fillMasks, Tallier& tally,
                                   const std::atomic<bool>* stop) const {
  const std::size_t n = hitBits_.size() - kPadding;
  const auto window = static_cast<std::size_t>(settings_.periods);
  const std::size_t whole = n > window ? n - window : 0;  // bases whose window fits
  std::uint32_t masks[kLaneBlock + kLaneSlack];
  std::uint32_t next[kLaneBlock + kLaneSlack];
  std::uint32_t hit[kLaneBlock + kLaneSlack];
  OutcomeWord<Tallier> outcomes(tally);
  std::size_t b = 0;
  for (std::size_t begin = 0; begin < n; begin += kLaneBlock) {
    if (Stopped(stop)) return false;
    const std::size_t count = std::min(kLaneBlock, n - begin);
    fillMasks(begin, count, masks);
    lanes_->Judge(masks, hitBits_.data() + begin + 1, count, settings_.periods, next, hit);
    // The walk within the block, base r of the block being base begin + r.
    std::size_t r = b - begin;
    for (const std::size_t judged = std::min(count, whole - std::min(whole, begin)); r < judged;
         r = next[r]) {
      outcomes.Add(hit[r]);
    }
    // Past the last whole window only hits are judged: a miss there would
    // need draws after the newest.
    for (; r < count; r = next[r]) {
      if (!hit[r]) {
        outcomes.Flush();
        return true;
      }
      outcomes.Add(1);
    }
    b = begin + r;
  }
  outcomes.Flush();
  return true;
}

template <typename Tallier>
bool CandidateScorer::ReplayLanes(const LaneFormula& formula, Tallier& tally,
                                  const std::atomic<bool>* stop) const {
  if (way_ != Way::Straight) {
    return ReplayBlocks(
        [&](std::size_t begin, std::size_t count, std::uint32_t* masks) {
          lanes_->Predict(formula, begin, count, masks, nullptr);
        },
        tally, stop);
  }
  return ReplayBlocks(
      [&](std::size_t begin, std::size_t count, std::uint32_t* masks) {
        std::uint32_t first[kLaneBlock + kLaneSlack];
        lanes_->Predict(formula, begin, count, masks, first);
        for (std::size_t i = 0; i < count; ++i)
          masks[i] |= companions_[begin + i][CompanionIndex(first[i])];
      },
      tally, stop);
}

// The class of every base at once: no base waits on the replay reaching it,
// so their work overlaps.
template <typename Tallier>
bool CandidateScorer::ReplayClasses(const LaneFormula& formula, Tallier& tally,
                                    const std::atomic<bool>* stop) const {
  return ReplayBlocks(
      [&](std::size_t begin, std::size_t count, std::uint32_t* masks) {
        // The formula's number on each base, a letter at a time so the
        // loops run on whole vectors.
        std::uint32_t numbers[kLaneBlock + kClassPadding] = {};
        std::fill(numbers, numbers + count, formula.constant);
        for (std::size_t k = 0; k < 5; ++k) {
          const std::uint32_t weight = formula.weights[k];
          if (weight == 0) continue;
          const std::uint32_t* digits = drawDigits_[k].data() + begin;
          for (std::size_t i = 0; i < count; ++i) numbers[i] += weight * digits[i];
        }
        classes_->Masks(numbers, drawNumbers_.data() + begin, count, masks);
        // The judge reads whole vectors.
        std::fill(masks + count, masks + count + kLaneSlack, 0u);
      },
      tally, stop);
}

Tally ScoreCandidatePlain(const std::vector<lottery::Draw>& source, const SearchSettings& settings,
                          std::string_view formula, EvaluateFunction evaluate) {
  Tally tally;
  ReplayPlain(source, settings, formula, evaluate, tally, nullptr);
  return tally;
}

}  // namespace search
