#include "search/lane_judge.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "plan/value_rounding.h"

// The vector helpers below are always inlined into the kernel of one
// instruction set, so no vector crosses a call and the ABI notes are moot.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace search {
namespace {

constexpr std::uint32_t kTenThousand = 10000;
constexpr std::uint64_t kMaxTwiceDraw = 2 * 99999;
// The largest formula number whose value stays below 10^13 on every draw.
constexpr std::uint64_t kMaxLaneNumber = (plan::kTenPow13 - 1) / kMaxTwiceDraw;

// A lane's flag when the text had too few distinct digits; the last new one
// from bit 4 on.
constexpr std::uint32_t kShort = 1;

// All of a where m is set, else b; m holds whole lanes of ones or zeros.
template <typename U>
[[gnu::always_inline]] inline U Select(const U& m, const U& a, const U& b) {
  return (a & m) | (b & ~m);
}

// Vectors of L lanes of 32 bits: every field is kept that wide, as narrower
// ones would cost conversions the compiler does lane by lane.
template <int L>
struct Lanes;
template <>
struct Lanes<16> {
  typedef std::uint32_t U32 __attribute__((vector_size(64)));
};
template <>
struct Lanes<8> {
  typedef std::uint32_t U32 __attribute__((vector_size(32)));
};
template <>
struct Lanes<4> {
  typedef std::uint32_t U32 __attribute__((vector_size(16)));
};

template <typename V, typename T>
[[gnu::always_inline]] inline V Load(const T* from) {
  V v;
  std::memcpy(&v, from, sizeof v);
  return v;
}

template <typename V, typename T>
[[gnu::always_inline]] inline void Store(T* to, const V& v) {
  std::memcpy(to, &v, sizeof v);
}

// The digit scan of the portable kernels: the digits of a value, most
// significant first, folded into the first `wanted` distinct ones, the last
// new digit kept for a text with too few. `printed` marks (whole lanes of
// ones) where a digit is part of the text; once enough are seen nothing
// more is taken.
template <typename U>
struct DigitScan {
  U wanted;
  U seen{}, count{}, last{};

  [[gnu::always_inline]] void Take(const U& digit, const U& printed) {
    const U open = (U)(count < wanted) & printed;
    const U grown = seen | ((U{} + 1u) << digit & open);
    const U fresh = (U)(grown != seen);
    seen = grown;
    count -= fresh;
    last = Select(fresh, digit, last);
  }
};

// The four digits of x < 10^4, leading zeros included: x / 10^4 as a binary
// fraction of 28 bits, times ten for each digit (times five, the point moving
// one place left).
constexpr std::uint32_t kFourDigitScale = 26844;  // ceil(2^28 / 10^4)

template <typename U>
[[gnu::always_inline]] inline void FourDigits(const U& x, U* digits) {
  U f = x * kFourDigitScale;
  for (int i = 0; i < 4; ++i) {
    f *= 5u;
    digits[i] = f >> (27 - i);
    f &= (1u << (27 - i)) - 1;
  }
}

constexpr bool FourDigitsAreExact() {
  for (std::uint32_t x = 0; x < kTenThousand; ++x) {
    std::uint32_t f = x * kFourDigitScale;
    for (std::uint32_t i = 0, place = 1000; i < 4; ++i, place /= 10) {
      f *= 5u;
      if (f >> (27 - i) != x / place % 10) return false;
      f &= (1u << (27 - i)) - 1;
    }
  }
  return true;
}
static_assert(FourDigitsAreExact());

struct Inputs {
  const std::array<std::vector<std::uint32_t>, 5>& digits;
  const std::uint32_t* twiceHigh;
  const std::uint32_t* twiceLow;
};

// The lanes or-ed together.
template <typename U>
[[gnu::always_inline]] inline std::uint32_t AnyLane(const U& v) {
  std::uint32_t any = 0;
  for (std::size_t j = 0; j < sizeof(U) / sizeof(std::uint32_t); ++j) any |= v[j];
  return any;
}

// The value N1 x N2 x 2 of the bases b .. b+L-1 as thirteen digits, leading
// zeros included, and its parts below 10^4 (low), 10^8 (mid) and above.
template <typename U>
struct ValueDigits {
  U digits[13];
  U high, mid, low;
};

template <typename U>
[[gnu::always_inline]] inline void MakeValueDigits(const Inputs& in, const LaneFormula& f,
                                                   std::size_t b, ValueDigits<U>& v) {
  // In base 10^4: N1 = a 10^4 + c, N2 x 2 = e 10^4 + g.
  U n = U{} + f.constant;
  for (std::size_t k = 0; k < 5; ++k) {
    if (f.weights[k] == 0) continue;
    n += Load<U>(in.digits[k].data() + b) * f.weights[k];
  }
  const U a = n / kTenThousand, c = n - a * kTenThousand;
  const U e = Load<U>(in.twiceHigh + b);
  const U g = Load<U>(in.twiceLow + b);
  const U t0 = c * g;
  const U carry0 = t0 / kTenThousand;
  v.low = t0 - carry0 * kTenThousand;
  const U t1 = a * g + c * e + carry0;
  const U carry1 = t1 / kTenThousand;
  v.mid = t1 - carry1 * kTenThousand;
  v.high = a * e + carry1;  // below 10^5
  const U top = v.high / kTenThousand;
  v.digits[0] = top;
  FourDigits<U>(v.high - top * kTenThousand, v.digits + 1);
  FourDigits<U>(v.mid, v.digits + 5);
  FourDigits<U>(v.low, v.digits + 9);
}

// The text starts at the first non-zero digit (a value of 0 prints its
// last): the bound each of the thirteen digits needs of high, of mid when
// high is 0, and of low when both are (0: printed in any case).
struct PrintBound {
  std::uint32_t high, mid, low;
};
constexpr PrintBound kPrinted[13] = {
    {10000, ~0u, ~0u}, {1000, ~0u, ~0u}, {100, ~0u, ~0u}, {10, ~0u, ~0u}, {1, ~0u, ~0u},
    {1, 1000, ~0u},    {1, 100, ~0u},    {1, 10, ~0u},    {1, 1, ~0u},    {1, 1, 1000},
    {1, 1, 100},       {1, 1, 10},       {0, 0, 0}};

// The kernels' output per base: masks[i] the code set, first[i] its first
// code, flags[i] kShort with the last new digit when the text had too few
// distinct digits (masks[i] then holds them all); flagged[v] a bit for each
// lane of vector v that may have a flag.
template <int L, bool kFirst>
[[gnu::always_inline]] inline void PredictLanes(const Inputs& in, const LaneFormula& f, int wanted,
                                                std::size_t begin, std::size_t count,
                                                std::uint32_t* masks, std::uint32_t* first,
                                                std::uint32_t* flags, std::uint32_t* flagged) {
  using U = typename Lanes<L>::U32;
  for (std::size_t i = 0; i < count; i += L) {
    ValueDigits<U> v;
    MakeValueDigits(in, f, begin + i, v);
    U printed[13];
    for (int j = 0; j < 13; ++j) {
      const PrintBound& p = kPrinted[j];
      printed[j] = (U)(v.high >= p.high) | (U)(v.mid >= p.mid) | (U)(v.low >= p.low);
    }
    DigitScan<U> scan{U{} + static_cast<std::uint32_t>(wanted)};
    for (int j = 0; j < 13; ++j) scan.Take(v.digits[j], printed[j]);

    Store(masks + i, scan.seen);
    if constexpr (kFirst) {
      U lead = v.digits[12];
      for (int j = 11; j >= 0; --j) lead = Select(printed[j], v.digits[j], lead);
      Store(first + i, lead);
    }
    const U flag = (U)(scan.count < scan.wanted) & (kShort | scan.last << 4);
    Store(flags + i, flag);
    flagged[i / L] = AnyLane(flag) != 0 ? (1u << L) - 1 : 0;
  }
}

#if defined(__x86_64__)
#define LANZHOU_AVX512 "avx512f,avx512bw,avx512dq,avx512vl"

// Whether digit j is printed, worked out where it is needed: mask registers
// are few.
[[gnu::always_inline, gnu::target(LANZHOU_AVX512)]] inline __mmask16 PrintedAvx512(
    const ValueDigits<Lanes<16>::U32>& v, int j) {
  const PrintBound& p = kPrinted[j];
  return _mm512_cmpge_epu32_mask(__m512i(v.high), _mm512_set1_epi32(int(p.high))) |
         _mm512_cmpge_epu32_mask(__m512i(v.mid), _mm512_set1_epi32(int(p.mid))) |
         _mm512_cmpge_epu32_mask(__m512i(v.low), _mm512_set1_epi32(int(p.low)));
}

// The same with AVX-512's mask registers: shifts and moves under masks
// instead of masks spelled out as vectors. Every printed digit is or-ed into
// the seen set, and the result is that set while it holds no more than
// `wanted`.
template <bool kFirst>
[[gnu::always_inline, gnu::target(LANZHOU_AVX512)]] inline void PredictAvx512Lanes(
    const Inputs& in, const LaneFormula& f, int wanted, std::size_t begin, std::size_t count,
    std::uint32_t* masks, std::uint32_t* first, std::uint32_t* flags, std::uint32_t* flagged) {
  using U = Lanes<16>::U32;
  const __m512i one = _mm512_set1_epi32(1);
  const __m512i most = _mm512_set1_epi32(wanted);
  for (std::size_t i = 0; i < count; i += 16) {
    ValueDigits<U> v;
    MakeValueDigits(in, f, begin + i, v);
    __m512i seen = _mm512_setzero_si512(), distinct = seen, last = seen, result = seen;
    for (int j = 0; j < 13; ++j) {
      const __m512i digit = __m512i(v.digits[j]);
      const __m512i grown = seen | _mm512_maskz_sllv_epi32(PrintedAvx512(v, j), one, digit);
      const __mmask16 fresh = _mm512_cmpneq_epi32_mask(grown, seen);
      seen = grown;
      distinct = _mm512_mask_add_epi32(distinct, fresh, distinct, one);
      last = _mm512_mask_mov_epi32(last, fresh, digit);
      result = _mm512_mask_mov_epi32(result, _mm512_cmple_epu32_mask(distinct, most), grown);
    }

    _mm512_storeu_si512(masks + i, result);
    if constexpr (kFirst) {
      __m512i lead = __m512i(v.digits[12]);
      for (int j = 11; j >= 0; --j) {
        lead = _mm512_mask_mov_epi32(lead, PrintedAvx512(v, j), __m512i(v.digits[j]));
      }
      _mm512_storeu_si512(first + i, lead);
    }
    const __mmask16 short_ = _mm512_cmplt_epu32_mask(distinct, most);
    const __m512i flag = _mm512_maskz_mov_epi32(short_, __m512i((U{} + kShort) | U(last) << 4));
    _mm512_storeu_si512(flags + i, flag);
    flagged[i / 16] = short_;
  }
}
#endif

template <int L>
[[gnu::always_inline]] inline void JudgeLanes(const std::uint32_t* masks,
                                              const std::uint32_t* after, std::size_t count,
                                              std::uint32_t periods, std::uint32_t* next,
                                              std::uint32_t* hit) {
  using U = typename Lanes<L>::U32;
  U base;
  for (int j = 0; j < L; ++j) base[j] = static_cast<std::uint32_t>(j);
  for (std::size_t i = 0; i < count; i += L) {
    const U missing = ~Load<U>(masks + i);
    U step = U{} + periods, any{};
    for (std::uint32_t k = periods; k >= 1; --k) {
      const U hits = (U)((Load<U>(after + i + k - 1) & missing) == 0u);
      step = Select(hits, U{} + k, step);
      any |= hits;
    }
    Store(next + i, base + step);
    Store(hit + i, any & 1u);
    base += static_cast<std::uint32_t>(L);
  }
}

using PredictFunction = void (*)(const Inputs&, const LaneFormula&, int, std::size_t, std::size_t,
                                 std::uint32_t*, std::uint32_t*, std::uint32_t*, std::uint32_t*);
using JudgeFunction = void (*)(const std::uint32_t*, const std::uint32_t*, std::size_t,
                               std::uint32_t, std::uint32_t*, std::uint32_t*);

// One instance of each kernel per instruction set; the wider ones only run
// where the processor has them.
#define LANZHOU_LANE_KERNELS(NAME, TARGET, PREDICT, L)                                             \
  TARGET void Predict##NAME(const Inputs& in, const LaneFormula& f, int wanted, std::size_t begin, \
                            std::size_t count, std::uint32_t* masks, std::uint32_t* first,         \
                            std::uint32_t* flags, std::uint32_t* flagged) {                        \
    if (first != nullptr) {                                                                        \
      PREDICT<true>(in, f, wanted, begin, count, masks, first, flags, flagged);                    \
    } else {                                                                                       \
      PREDICT<false>(in, f, wanted, begin, count, masks, first, flags, flagged);                   \
    }                                                                                              \
  }                                                                                                \
  TARGET void Judge##NAME(const std::uint32_t* masks, const std::uint32_t* after,                  \
                          std::size_t count, std::uint32_t periods, std::uint32_t* next,           \
                          std::uint32_t* hit) {                                                    \
    JudgeLanes<L>(masks, after, count, periods, next, hit);                                        \
  }                                                                                                \
  constexpr std::size_t k##NAME##Lanes = L;

template <bool kFirst>
[[gnu::always_inline]] inline void PredictBaselineLanes(const Inputs& in, const LaneFormula& f,
                                                        int wanted, std::size_t begin,
                                                        std::size_t count, std::uint32_t* masks,
                                                        std::uint32_t* first, std::uint32_t* flags,
                                                        std::uint32_t* flagged) {
  PredictLanes<4, kFirst>(in, f, wanted, begin, count, masks, first, flags, flagged);
}
LANZHOU_LANE_KERNELS(Baseline, , PredictBaselineLanes, 4)
#if defined(__x86_64__)
template <bool kFirst>
[[gnu::always_inline, gnu::target("avx2")]] inline void PredictAvx2Lanes(
    const Inputs& in, const LaneFormula& f, int wanted, std::size_t begin, std::size_t count,
    std::uint32_t* masks, std::uint32_t* first, std::uint32_t* flags, std::uint32_t* flagged) {
  PredictLanes<8, kFirst>(in, f, wanted, begin, count, masks, first, flags, flagged);
}
LANZHOU_LANE_KERNELS(Avx2, [[gnu::target("avx2")]], PredictAvx2Lanes, 8)
LANZHOU_LANE_KERNELS(Avx512, [[gnu::target(LANZHOU_AVX512)]], PredictAvx512Lanes, 16)
#endif
#undef LANZHOU_LANE_KERNELS

PredictFunction PredictKernel(LaneIsa isa) {
#if defined(__x86_64__)
  if (isa == LaneIsa::Avx512) return &PredictAvx512;
  if (isa == LaneIsa::Avx2) return &PredictAvx2;
#endif
  (void)isa;
  return &PredictBaseline;
}

JudgeFunction JudgeKernel(LaneIsa isa) {
#if defined(__x86_64__)
  if (isa == LaneIsa::Avx512) return &JudgeAvx512;
  if (isa == LaneIsa::Avx2) return &JudgeAvx2;
#endif
  (void)isa;
  return &JudgeBaseline;
}

std::size_t LanesOf(LaneIsa isa) {
#if defined(__x86_64__)
  if (isa == LaneIsa::Avx512) return kAvx512Lanes;
  if (isa == LaneIsa::Avx2) return kAvx2Lanes;
#endif
  (void)isa;
  return kBaselineLanes;
}

// Bases predicted between two looks at the flags.
constexpr std::size_t kPart = 1024;

}  // namespace

std::optional<LaneFormula> LaneFormula::From(const FastFormula& formula) {
  std::uint64_t largest = formula.constant();
  for (const std::uint64_t w : formula.weights()) {
    if (w > kMaxLaneNumber) return std::nullopt;
    largest += 9 * w;
  }
  if (largest > kMaxLaneNumber) return std::nullopt;
  LaneFormula lanes;
  lanes.constant = static_cast<std::uint32_t>(formula.constant());
  for (std::size_t k = 0; k < 5; ++k) {
    lanes.weights[k] = static_cast<std::uint32_t>(formula.weights()[k]);
  }
  return lanes;
}

bool LaneIsaSupported(LaneIsa isa) {
#if defined(__x86_64__)
  if (isa == LaneIsa::Avx512) {
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
           __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512vl");
  }
  if (isa == LaneIsa::Avx2) return __builtin_cpu_supports("avx2");
#endif
  return isa == LaneIsa::Baseline;
}

LaneIsa BestLaneIsa() {
  static const LaneIsa best = [] {
    for (LaneIsa isa : {LaneIsa::Avx512, LaneIsa::Avx2}) {
      if (LaneIsaSupported(isa)) return isa;
    }
    return LaneIsa::Baseline;
  }();
  return best;
}

LaneJudge::LaneJudge(const std::vector<DrawValue>& draws, int codeCount, LaneIsa isa)
    : isa_(LaneIsaSupported(isa) ? isa : LaneIsa::Baseline),
      wanted_(codeCount > 10 ? 10 : codeCount),
      predict_(codeCount) {
  const std::size_t padded = draws.size() + kLaneSlack;
  for (auto& d : digits_) d.reserve(padded);
  twiceHigh_.reserve(padded);
  twiceLow_.reserve(padded);
  for (const DrawValue& draw : draws) {
    for (std::size_t k = 0; k < 5; ++k) digits_[k].push_back(draw.digits[k]);
    twiceHigh_.push_back(draw.number * 2 / kTenThousand);
    twiceLow_.push_back(draw.number * 2 % kTenThousand);
  }
  for (auto& d : digits_) d.resize(padded, 0);
  twiceHigh_.resize(padded, 0);
  twiceLow_.resize(padded, 0);
}

void LaneJudge::Predict(const LaneFormula& formula, std::size_t begin, std::size_t count,
                        std::uint32_t* masks, std::uint32_t* first) const {
  if (wanted_ < 1) {
    // No code: whole vectors of empty sets, as the kernels would write.
    const std::size_t whole = (count + kLaneSlack - 1) / kLaneSlack * kLaneSlack;
    std::fill(masks, masks + whole, 0u);
    if (first != nullptr) std::fill(first, first + whole, 0u);
    return;
  }
  std::uint32_t flags[kPart + kLaneSlack];
  std::uint32_t flagged[kPart / kBaselineLanes + 1];
  const std::size_t lanes = LanesOf(isa_);
  for (std::size_t done = 0; done < count; done += kPart) {
    const std::size_t part = std::min(count - done, kPart);
    PredictKernel(isa_)(Inputs{digits_, twiceHigh_.data(), twiceLow_.data()}, formula, wanted_,
                        begin + done, part, masks + done, first != nullptr ? first + done : nullptr,
                        flags, flagged);
    // The few texts with too few distinct digits are completed here.
    for (std::size_t v = 0; v * lanes < part; ++v) {
      for (std::uint32_t lanesLeft = flagged[v]; lanesLeft != 0; lanesLeft &= lanesLeft - 1) {
        const std::size_t j = v * lanes + static_cast<std::size_t>(std::countr_zero(lanesLeft));
        if (j < part && flags[j] != 0) {
          masks[done + j] = predict_.Complete(flags[j] >> 4, masks[done + j]);
        }
      }
    }
  }
}

void LaneJudge::Judge(const std::uint32_t* masks, const std::uint32_t* after, std::size_t count,
                      int periods, std::uint32_t* next, std::uint32_t* hit) const {
  JudgeKernel(isa_)(masks, after, count, static_cast<std::uint32_t>(periods), next, hit);
}

}  // namespace search
