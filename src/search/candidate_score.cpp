#include "search/candidate_score.h"

#include <array>

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

struct MaskSets {
  std::uint16_t first = 0, second = 0, third = 0;
};

std::uint16_t ClassMask(int play, const CodeSet& e) {
  constexpr std::uint16_t kBigMask = 0x3E0, kSmallMask = 0x01F, kOddMask = 0x2AA, kEvenMask = 0x155;
  if (play == 1) return e.At(2) % 2 ? kBigMask : kSmallMask;
  if (play == 2) return e.At(3) % 2 ? kOddMask : kEvenMask;
  int w = (e.At(0) + e.At(2)) % 10;
  if (w == 0) w = 1;
  if (w == 1 || w == 5 || w == 9) return kBigMask;
  if (w == 2 || w == 6) return kSmallMask;
  if (w == 3 || w == 7) return kOddMask;
  return kEvenMask;
}

const std::array<FastFormula, 9>& FastCompanions() {
  static const std::array<FastFormula, 9> companions = [] {
    std::array<FastFormula, 9> compiled;
    for (std::size_t i = 0; i < 9; ++i)
      compiled[i] = *FastFormula::Compile(plan::kCompanionFormulas[i]);
    return compiled;
  }();
  return companions;
}

// CompanionFormula: the first digit chooses, 0 and an empty prediction choose 1.
const FastFormula& FastCompanion(const CodeSet& prediction) {
  const int d = prediction.size > 0 ? prediction.digits[0] : 0;
  return FastCompanions()[d == 0 ? 0 : d - 1];
}

Tally ScoreFast(const std::vector<DrawValue>& draws, const SearchSettings& s,
                const FastFormula& formula) {
  const int m = s.codeCount;
  const bool scored = (s.kind == SearchKind::Position && s.play >= kPlayDigits && s.play <= 3) ||
                      (s.kind == SearchKind::TwoStar &&
                       (s.play == kPlayTwoStarGroup || s.play == kPlayTwoStarStraight)) ||
                      (s.kind == SearchKind::ThreeStar &&
                       (s.play == kPlayThreeStarGroup || s.play == kPlayThreeStarStraight));

  auto makeSets = [&](std::size_t b) {
    MaskSets sets;
    if (!scored) return sets;
    const DrawValue& base = draws[b];
    const FastEvaluation first = EvaluateFast(formula.Number(base), base.number, m);
    sets.first = first.prediction.mask;
    if (s.kind == SearchKind::Position) {
      if (s.play != kPlayDigits) {
        sets.first = ClassMask(s.play, EvaluateFast(first.valueNumber, base.number, 5).prediction);
      }
    } else if (s.play == kPlayTwoStarStraight || s.play == kPlayThreeStarStraight) {
      const CodeSet second =
          EvaluateFast(FastCompanion(first.prediction).Number(base), base.number, m).prediction;
      sets.second = second.mask;
      if (s.play == kPlayThreeStarStraight) {
        sets.third =
            EvaluateFast(FastCompanion(second).Number(base), base.number, m).prediction.mask;
      }
    } else {
      sets.second = sets.third = sets.first;
    }
    return sets;
  };

  auto bit = [](std::uint16_t mask, int digit) { return (mask >> digit) & 1u; };
  const std::size_t n = draws.size();
  switch (s.kind) {
    case SearchKind::Position: {
      const int p = s.position - 1;
      if (p < 0 || p > 4) {
        return Replay(
            n, s.periods, [](std::size_t) { return MaskSets{}; },
            [](const MaskSets&, std::size_t) { return false; });
      }
      return Replay(n, s.periods, makeSets, [&](const MaskSets& sets, std::size_t i) {
        return bit(sets.first, draws[i].digits[p]);
      });
    }
    case SearchKind::TwoStar:
      return Replay(n, s.periods, makeSets, [&](const MaskSets& sets, std::size_t i) {
        const int d4 = draws[i].digits[3], d5 = draws[i].digits[4];
        if (s.play == kPlayTwoStarGroup)
          return d4 != d5 && bit(sets.first, d4) && bit(sets.first, d5);
        return bit(sets.first, d4) && bit(sets.second, d5);
      });
    case SearchKind::ThreeStar:
      return Replay(n, s.periods, makeSets, [&](const MaskSets& sets, std::size_t i) {
        const auto& d = draws[i].digits;
        return bit(sets.first, d[2]) && bit(sets.second, d[3]) && bit(sets.third, d[4]);
      });
  }
  return {};
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

Tally ScoreCandidate(const SearchSource& source, const SearchSettings& settings,
                     std::string_view formula) {
  // The three-star search passes over empty candidates; the others replay
  // them like any formula.
  if (settings.kind == SearchKind::ThreeStar && formula.empty()) return {};
  if (source.values()) {
    if (auto compiled = FastFormula::Compile(formula)) {
      return ScoreFast(*source.values(), settings, *compiled);
    }
  }
  return ScoreCandidatePlain(source.draws(), settings, formula);
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
