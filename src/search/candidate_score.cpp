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
  auto at = [&](std::size_t i) { return i < second.size() ? second[i] - '0' : 0; };
  if (play == 1) return plan::Digits(at(2) % 2 ? plan::kBig.digits : plan::kSmall.digits);
  if (play == 2) return plan::Digits(at(3) % 2 ? plan::kOdd.digits : plan::kEven.digits);
  int w = (at(0) + at(2)) % 10;
  if (w == 0) w = 1;
  if (w == 1 || w == 5 || w == 9) return plan::Digits(plan::kBig.digits);
  if (w == 2 || w == 6) return plan::Digits(plan::kSmall.digits);
  if (w == 3 || w == 7) return plan::Digits(plan::kOdd.digits);
  return plan::Digits(plan::kEven.digits);
}

TextSets PlainSets(const SearchSettings& s, std::string_view base, std::string_view formula,
                   EvaluateFunction evaluate) {
  TextSets sets;
  const int m = s.codeCount;
  switch (s.kind) {
    case SearchKind::Position: {
      if (s.play < kPlayDigits || s.play > 3) break;
      const plan::Evaluation first = evaluate(base, m, formula);
      sets.first = s.play == kPlayDigits
                       ? first.prediction
                       : ClassDigits(s.play, evaluate(base, 5, first.valueDigits).prediction);
      break;
    }
    case SearchKind::TwoStar:
      if (s.play == kPlayTwoStarGroup || s.play == kPlayTwoStarStraight) {
        sets.first = evaluate(base, m, formula).prediction;
        if (s.play == kPlayTwoStarStraight) {
          sets.second = evaluate(base, m, plan::CompanionFormula(sets.first)).prediction;
        }
      }
      break;
    case SearchKind::ThreeStar:
      if (s.play == kPlayThreeStarGroup || s.play == kPlayThreeStarStraight) {
        sets.first = evaluate(base, m, formula).prediction;
        if (s.play == kPlayThreeStarStraight) {
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
    case SearchKind::Position:
      return Occurs(sets.first, DrawPart(draw, s.position));
    case SearchKind::TwoStar: {
      const auto d4 = DrawPart(draw, 4), d5 = DrawPart(draw, 5);
      if (s.play == kPlayTwoStarGroup)
        return Occurs(sets.first, d4) && Occurs(sets.first, d5) && d4 != d5;
      if (s.play == kPlayTwoStarStraight) return Occurs(sets.first, d4) && Occurs(sets.second, d5);
      return false;
    }
    case SearchKind::ThreeStar: {
      if (draw.size() < 5) return false;
      const auto d1 = draw.substr(2, 1), d2 = draw.substr(3, 1), d3 = draw.substr(4, 1);
      if (s.play == kPlayThreeStarGroup) {
        return Occurs(sets.first, d1) && Occurs(sets.first, d2) && Occurs(sets.first, d3);
      }
      if (s.play == kPlayThreeStarStraight) {
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
  constexpr std::uint16_t kBigMask = 0x3E0, kSmallMask = 0x01F, kOddMask = 0x2AA, kEvenMask = 0x155;
  if (play == 1) return e.third % 2 ? kBigMask : kSmallMask;
  if (play == 2) return e.fourth % 2 ? kOddMask : kEvenMask;
  unsigned w = (e.first + e.third) % 10;
  if (w == 0) w = 1;
  if (w == 1 || w == 5 || w == 9) return kBigMask;
  if (w == 2 || w == 6) return kSmallMask;
  if (w == 3 || w == 7) return kOddMask;
  return kEvenMask;
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
    case SearchKind::Position:
      if (s.play == kPlayDigits) way_ = Way::Codes;
      if (s.play >= 1 && s.play <= 3) way_ = Way::Class;
      break;
    case SearchKind::TwoStar:
      if (s.play == kPlayTwoStarGroup) way_ = Way::Codes;
      if (s.play == kPlayTwoStarStraight) way_ = Way::Straight;
      break;
    case SearchKind::ThreeStar:
      if (s.play == kPlayThreeStarGroup) way_ = Way::Codes;
      if (s.play == kPlayThreeStarStraight) way_ = Way::Straight;
      break;
  }
  if (!source_.values()) return;
  const std::vector<DrawValue>& draws = *source_.values();

  hitBits_.reserve(draws.size() + kPadding);
  for (const DrawValue& draw : draws) {
    const auto& d = draw.digits;
    std::uint32_t bits = kNever;
    switch (s.kind) {
      case SearchKind::Position:
        if (s.position >= 1 && s.position <= 5) bits = 1u << d[s.position - 1];
        break;
      case SearchKind::TwoStar:
        if (s.play == kPlayTwoStarStraight) bits = 1u << d[3] | 1u << (10 + d[4]);
        if (s.play == kPlayTwoStarGroup && d[3] != d[4]) bits = 1u << d[3] | 1u << d[4];
        break;
      case SearchKind::ThreeStar:
        bits = s.play == kPlayThreeStarStraight ? 1u << d[2] | 1u << (10 + d[3]) | 1u << (20 + d[4])
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
  if (settings_.kind == SearchKind::ThreeStar && formula.empty()) return {};
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
  if (settings.kind == SearchKind::ThreeStar && formula.empty()) return {};
  return Replay(
      source.size(), settings.periods,
      [&](std::size_t b) { return PlainSets(settings, source[b].digits, formula, evaluate); },
      [&](const TextSets& sets, std::size_t i) {
        return PlainHit(settings, sets, source[i].digits);
      });
}

}  // namespace search
