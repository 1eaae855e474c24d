#include "search/candidate_score.h"

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

// The replay shared by both paths: a plan starts at base b, the first hit in
// the next N draws makes the hit draw the next base, N misses make the
// window's last draw the next base, and a window past the newest draw ends
// the replay uncounted. At most n plans, which only matters when N is 0.
template <typename MakeSets, typename IsHit>
Tally Replay(std::size_t n, int periods, MakeSets makeSets, IsHit isHit) {
  Tally tally;
  std::size_t b = 0;
  for (std::size_t plans = 0; plans < n; ++plans) {
    const auto sets = makeSets(b);
    bool hit = false;
    for (int k = 1; k <= periods; ++k) {
      if (b + k >= n) return tally;
      if (isHit(sets, b + k)) {
        ++tally.hits;
        b += k;
        hit = true;
        break;
      }
    }
    if (!hit) {
      ++tally.misses;
      b += periods > 0 ? static_cast<std::size_t>(periods) : 0;
    }
  }
  return tally;
}

// ---- the fast replay, on digits and masks ---------------------------------

constexpr std::uint32_t kNever = 1u << 31;  // a hit bit no plan mask holds

std::uint32_t ClassMask(int play, const LeadDigits& e) {
  return plan::ClassOfMethod(play, e.first, e.third, e.fourth).mask;
}

// CompanionFormula's choice by the first digit of a prediction, 0 (and an
// empty prediction) choosing formula 1.
std::size_t CompanionIndex(unsigned firstDigit) { return firstDigit == 0 ? 0 : firstDigit - 1; }

const std::array<FastFormula, 9>& FastCompanions() {
  static const std::array<FastFormula, 9> companions = [] {
    std::array<FastFormula, 9> compiled;
    for (std::size_t i = 0; i < 9; ++i)
      compiled[i] = *FastFormula::Compile(plan::kCompanionFormulas[i]);
    return compiled;
  }();
  return companions;
}

// Draws past the newest one read by a window test, never hit.
constexpr std::size_t kPadding = 16;

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
template <typename PlanMask>
Tally ReplayMasks(const std::vector<std::uint32_t>& hitBits, int periods, PlanMask planMask) {
  const std::uint32_t* bits = hitBits.data();
  const std::size_t n = hitBits.size() - kPadding;
  if (periods < 1 || static_cast<std::size_t>(periods) > kPadding) {
    return Replay(n, periods, planMask, [bits](std::uint32_t mask, std::size_t i) {
      return (mask & bits[i]) == bits[i];
    });
  }
  const auto window = static_cast<std::size_t>(periods);
  Tally tally;
  std::size_t b = 0;
  while (b + window < n) {
    const unsigned word = HitWord(bits + b + 1, planMask(b), window);
    const bool hit = word != 0;
    tally.hits += hit;
    tally.misses += !hit;
    b += hit ? static_cast<std::size_t>(__builtin_ctz(word)) + 1 : window;
  }
  // The last plans run up to the newest draw, the last one perhaps past it.
  while (b < n) {
    const unsigned word = HitWord(bits + b + 1, planMask(b), window);
    const std::size_t left = n - 1 - b;  // draws after the base
    if (word != 0 && static_cast<std::size_t>(__builtin_ctz(word)) < left) {
      ++tally.hits;
      b += static_cast<std::size_t>(__builtin_ctz(word)) + 1;
    } else if (left >= window) {
      ++tally.misses;
      b += window;
    } else {
      break;
    }
  }
  return tally;
}

}  // namespace

int RatePercent(const Tally& tally) {
  const long long total = static_cast<long long>(tally.hits) + tally.misses;
  return total == 0 ? 0 : static_cast<int>(tally.hits * 100LL / total);
}

SearchSource::SearchSource(std::vector<plan::Draw> draws) : draws_(std::move(draws)) {
  std::vector<DrawValue> values;
  values.reserve(draws_.size());
  for (const auto& draw : draws_) {
    auto value = ParseDrawValue(draw.digits);
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

  if (way_ != Way::Straight) return;
  // The companions depend on the base draw and the first digit only.
  companions_.reserve(draws.size());
  for (const DrawValue& draw : draws) {
    std::array<std::uint32_t, 9> sets{};
    for (std::size_t c = 0; c < 9; ++c) {
      const auto second = predict_(MakeValueText(FastCompanions()[c].Number(draw), draw.number));
      const auto third = predict_(
          MakeValueText(FastCompanions()[CompanionIndex(second.first)].Number(draw), draw.number));
      sets[c] = std::uint32_t{second.mask} << 10 | std::uint32_t{third.mask} << 20;
    }
    companions_.push_back(sets);
  }
}

Tally CandidateScorer::Score(std::string_view formula) const {
  // The three-star search passes over empty candidates; the others replay
  // them like any formula.
  if (settings_.kind == plan::PlanKind::ThreeStar && formula.empty()) return {};
  if (source_.values()) {
    if (auto compiled = FastFormula::Compile(formula)) return ScoreFast(*compiled);
  }
  return ScoreCandidatePlain(source_.draws(), settings_, formula);
}

Tally CandidateScorer::ScoreFast(const FastFormula& formula) const {
  const std::vector<DrawValue>& draws = *source_.values();
  const int periods = settings_.periods;
  switch (way_) {
    case Way::None:
      return ReplayMasks(hitBits_, periods, [](std::size_t) { return 0u; });
    case Way::Codes:
      return ReplayMasks(hitBits_, periods, [&](std::size_t b) -> std::uint32_t {
        return predict_(MakeValueText(formula.Number(draws[b]), draws[b].number)).mask;
      });
    case Way::Class: {
      // The second evaluation's formula is the first one's value digits.
      const int play = settings_.play;
      return ReplayMasks(hitBits_, periods, [&](std::size_t b) {
        const DrawValue& base = draws[b];
        const ValueText first = MakeValueText(formula.Number(base), base.number);
        return ClassMask(play, PredictLeadDigits(MakeValueText(first.Number(), base.number)));
      });
    }
    case Way::Straight:
      return ReplayMasks(hitBits_, periods, [&](std::size_t b) {
        const auto first = predict_(MakeValueText(formula.Number(draws[b]), draws[b].number));
        return first.mask | companions_[b][CompanionIndex(first.first)];
      });
  }
  return {};
}

Tally ScoreCandidatePlain(const std::vector<plan::Draw>& source, const SearchSettings& settings,
                          std::string_view formula, EvaluateFunction evaluate) {
  if (settings.kind == plan::PlanKind::ThreeStar && formula.empty()) return {};
  return Replay(
      source.size(), settings.periods,
      [&](std::size_t b) { return PlainSets(settings, source[b].digits, formula, evaluate); },
      [&](const TextSets& sets, std::size_t i) {
        return PlainHit(settings, sets, source[i].digits);
      });
}

}  // namespace search
